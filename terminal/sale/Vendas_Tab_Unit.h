#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QFrame;
class QImage;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class CupomModel;
class Switch;
class TPrincipal;
struct TSettings;
struct TVenda;
struct TProdutoEntrada;

// The sale tab: the product being entered, the search bar with its quantity and price
// boxes and quick options, and the item list with the sale's total. The operations of
// the sale's life run here and call the sale core for every statement.
class TVendas_Tab : public QWidget {
public:
    TVendas_Tab(TPrincipal& principal, QWidget* tab);

    // The sale's life.
    void Venda_Nova();
    void Venda_Abre(qint32 id);
    void Venda_Abre_Doc(const QString& venda_cod);
    void Venda_Limpar();
    void Venda_Finaliza();
    void Venda_Cancelar();
    void Venda_Excluir(qint32 id);

    // Product lookup and item entry.
    void Produto_Busca(const QString& texto);
    void Produto_Calc();
    void Produto_Insert();
    void Produto_Limpa();
    void Produto_Consulta();
    void Cupom_Busca();
    void Btn_Prod_DeleteClick();
    void Produto_BuscaIMG(const QString& cbarra, bool atualizar);
    void BuscaIMG(const QString& tabela, qint64 id, bool atualizar);

    // Asks the cloud account for a picture's address; set by the cloud services.
    std::function<QString(const QString& tabela, qint64 id)> DonwLoad_Imagens;

    // The screen.
    void Focar_Busca();
    void Limpar_Busca();
    void Aplicar_Opcoes(); // quantity and price boxes and the quick-option switches
    void Esconder_Opcoes();
    void Carregar_ProdList(const QStringList& nomes);
    double Entrada_Total() const; // the entry's line total, as shown
    // The synchronisation's memo in place of the item list, or the list back.
    void Mostrar_Memo(bool memo);
    qint64 Item_Selecionado() const; // id of the selected row, 0 when none

    // Controls, named as the system names them.
    QLabel* Circ_ProdIMG = nullptr;
    QLabel* Lab_Prod_Nome = nullptr;
    QLabel* Lab_Prod_CBarra = nullptr;
    QLabel* Lab_Prod_Medida = nullptr;
    QLabel* Lab_Prod_Unitario = nullptr;
    QLabel* Lab_Prod_Quant = nullptr;
    QLabel* Lab_Prod_Desc = nullptr;
    QLabel* Lab_Prod_Total = nullptr;
    QWidget* Lyt_Promo = nullptr;
    QLabel* Lab_Prod_Promo = nullptr;
    QComboBox* Edt_Prod_Busca = nullptr;
    QFrame* Rct_Prod_Qtd = nullptr;
    QLineEdit* Edt_Prod_Qtd = nullptr;
    QFrame* Rct_Prod_Valor = nullptr;
    QLineEdit* Edt_Prod_Valor = nullptr;
    QPushButton* Btn_Prod_Busca_Option = nullptr;
    QFrame* Lyt_Prod_Busca_Option = nullptr;
    Switch* Swt_prod_qtd = nullptr;
    Switch* Swt_prod_valor = nullptr;
    Switch* Swt_Buscar_Enter = nullptr;
    QWidget* Lyt_Cupom = nullptr;
    QLabel* Lab_Cupom_Title = nullptr;
    QLabel* Lab_Cupom_VendNum = nullptr;
    QListView* Lbx_Cupom = nullptr;
    QPlainTextEdit* Mem_Update = nullptr; // the synchronisation's progress, in the list's place
    QPushButton* Btn_Prod_Delete = nullptr;
    QLabel* Lab_Cupom_Total = nullptr;
    QLabel* Lab_Cupom_Desc = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Criar_Entrada();
    void Criar_Cupom();
    void Criar_Barra_Busca();
    void Criar_Opcoes();
    void Opcoes_Alternar();
    void Opcao_Mudou();
    void Selecionar_Linha(const QModelIndex& index);
    void Menu_Linha(const QPoint& pos);
    void Limpar_Rotulos_Entrada();
    void Focar_Caixa_Seguinte(); // quantity box, else price box
    bool Busca_Tecla(QEvent* event);
    bool Qtd_Tecla(QEvent* event);
    bool Valor_Tecla(QEvent* event);
    void Mostrar_Imagem(const QString& arquivo);
    void Mostrar_Imagem(const QImage& img);
    // The picture loaders: the file, or the cloud's picture when the file is missing or
    // a refresh is asked.
    void Carregar_Imagem(const QString& arquivo, const QString& tabela, qint64 id,
                         bool atualizar);

    TSettings& Config();
    TVenda& V();
    TProdutoEntrada& P();
    QString Mascara();

    TPrincipal& m_principal;
    CupomModel* m_cupom = nullptr;
    bool m_enterNaBusca = false; // the search box saw Enter go down
    bool m_voltar = false;       // Alt in the quantity or price box: the next Tab goes back
};
