#pragma once

#include "cloud/Atualizacao.h"
#include "foundation/Settings.h"
#include "sale/Produto_Core.h"
#include "sale/Venda_Core.h"

#include <QWidget>

#include <functional>

class QLabel;
class QStackedWidget;
class Badge;
class CircleButton;
class TAtualizacao;
class TDModule;
class TLogin_Tab;
class TLista_Tab;
class TVendas_Tab;
class TProdutos_Lista;
class TSincronia_Tela;
class TWeb_Tab;

// The terminal's only main window: borderless, full screen, with the login, sale,
// sales-list and web tabs in one tab control whose headers are hidden. It is a frame
// that holds the run's state; the sign-in box and the sale tab live in their own classes.
class TPrincipal : public QWidget {
public:
    explicit TPrincipal(TDModule& DModule, QWidget* parent = nullptr);
    ~TPrincipal() override;

    static QString Titulo() { return QStringLiteral("Balcona - [Posto de Vendas]"); }

    // The run's state: preferences and identity, the open sale and its card payments,
    // the product being entered, and whether the cloud account answered at the last
    // sign-in.
    TSettings Config;
    TVenda Venda;
    // The open sale's card payments, kept across checkout windows until the sale screen
    // is cleared.
    TDSet_Cartao DSet_Cartao;
    TProdutoEntrada Produto;
    bool ConexaoWeb = false;
    // The cloud account's API base, built when the window is first shown.
    QString WebAPI_URL;
    // This program's version (YYYYMMDD), against which the update site is asked.
    qint32 App_Versao = App_Versao_Programa;

    TDModule& DModule() { return m_dm; }
    TVendas_Tab& Vendas() { return *m_vendas; }
    TLogin_Tab& Login() { return *m_login; }
    TLista_Tab& Lista() { return *m_lista; }
    TSincronia_Tela& Sincronia() { return *m_sincronia; }
    TAtualizacao& Atualizacao() { return *m_atualizacao; }
    // The browser panel of the web tab.
    TWeb_Tab& Web() { return *m_web; }
    // The product list window, created at start and kept for the whole run.
    TProdutos_Lista& Produtos_Lista();

    // Settings file, with the controls it touches.
    void IniFile_Read();
    void IniFile_Salva();

    // Tabs.
    void Mostrar_Aba(QWidget* aba); // slides the tab in, then runs the tab change
    void TbCtrl_PrincipalChange();
    QWidget* Aba_Atual() const;

    // Title bar.
    void Img_CloseClick();
    void Img_VoltarClick();
    void Img_VendasClick();
    void Img_ConfigClick();
    void Venda_Alert();
    void Sincronia_Alert();
    void Sincronia_Animacao(bool ligada);
    bool Sincronia_Animando() const;
    void Mostrar_Logado(); // the user and company lines of the title bar
    void Sair();           // sign out

    // Prepares the sale screen after a sign-in (com_remetente) or a synchronisation.
    void Inicia_TelaVenda(bool com_remetente);

    // The window-wide keys, chosen by the active tab.
    void FormKeyUp(int key);
    // A control that acted on a key press: the window skips that key's release.
    void Ignorar_Soltura(int key) { m_ignorar_soltura = key; }

    // Calls into what later parts of the system build; each does nothing until set.
    struct Ganchos {
        std::function<void()> Finalizacao;   // checkout
        std::function<void()> Cancelar_Item; // item cancellation (barcode preset or empty)
        std::function<void(const QString&)> Cancelar_Item_CBarra;
        std::function<void()> Sincronia;       // synchronisation button
        std::function<void()> Desconto_Item;   // discount on the selected item
        std::function<void()> Desconto_Geral;  // discount on the whole sale
        std::function<void()> Devolucao;       // returns window
        std::function<void()> Configuracoes;   // settings screen
        std::function<void()> Lista_Atualizar; // refresh the sales list and its preview
        std::function<void()> Lista_Reiniciar; // reset the list's day range and search
        std::function<void()> Atualizar_App;   // download and install a newer version
        // After a sale is concluded: upload it (false: the upload failed and said so),
        // print its receipt, open its order page.
        std::function<bool(qint32)> Venda_Enviar;
        std::function<void(qint32)> Venda_Imprimir;
        std::function<void(qint32)> Venda_Pedido;
    } Ganchos_;

    QStackedWidget* TbCtrl_Principal = nullptr;
    QWidget* Tab_Login = nullptr;
    QWidget* Tab_Vendas = nullptr;
    QWidget* Tab_Lista = nullptr;
    QWidget* Tab_WebBrozer = nullptr;

    QWidget* Rct_Title = nullptr;
    QWidget* Circ_AppLogo = nullptr;
    QWidget* Lyt_Logado = nullptr;
    QWidget* Lyt_User_Name = nullptr;
    QLabel* Lab_User_Name = nullptr;
    QLabel* Lab_Emp_Name = nullptr;
    CircleButton* Circ_Vendas = nullptr;
    Badge* Circ_Vendas_Alert = nullptr;
    CircleButton* Circ_Update = nullptr;
    Badge* Circ_Update_Alert = nullptr;
    CircleButton* Circ_Voltar = nullptr;
    CircleButton* Circ_Config = nullptr;
    CircleButton* Circ_Minimize = nullptr;
    CircleButton* Circ_Close = nullptr;

    QWidget* Rct_Update = nullptr;
    QLabel* Lab_Update_Info = nullptr;
    QWidget* Rct_VideoAula = nullptr;
    QWidget* Rct_Atalho_App = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void Criar_Barra_Titulo();
    void Criar_Painel_Update();
    void Criar_Abas_Laterais();
    void Estacionar_Painel_Update();
    void Posicionar_Abas_Laterais();
    void Abrir_Ajuda();
    void Abrir_Calculadora();

    TDModule& m_dm;
    TLogin_Tab* m_login = nullptr;
    TLista_Tab* m_lista = nullptr;
    TVendas_Tab* m_vendas = nullptr;
    TProdutos_Lista* m_produtos = nullptr;
    TSincronia_Tela* m_sincronia = nullptr;
    TAtualizacao* m_atualizacao = nullptr;
    TWeb_Tab* m_web = nullptr;
    int m_ignorar_soltura = 0;
    bool m_shown = false;
};
