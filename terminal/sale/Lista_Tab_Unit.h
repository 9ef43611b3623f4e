#pragma once

#include "cloud/Vendas_Lista_Core.h"
#include "printing/Cupom_NaoFiscal.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QListView;
class QListWidget;
class QPushButton;
class QScrollArea;
class TPrincipal;
class TPrint_Options;
class VendasListaModel;

// The sales-list tab: the day's sales of this terminal not yet sent, in red, then those
// the cloud account holds, grouped by courier; beside them the receipt of the selected
// row. Every button has its key, and the arrows move the selection and the preview.
class TLista_Tab : public QWidget {
public:
    TLista_Tab(TPrincipal& principal, QWidget* tab);
    ~TLista_Tab() override;

    QDateEdit* Dt_Venda_Busca = nullptr;
    QComboBox* Edt_Venda_Busca = nullptr;
    QPushButton* Bt_Vendas_List = nullptr;
    QListView* Lbx_Vendas_Lista = nullptr;
    QPushButton* Rct_Bt_EdtVenda = nullptr;
    QPushButton* Rct_Bt_DelVenda = nullptr;
    QPushButton* Rct_Bt_Entregador = nullptr;
    QPushButton* Rct_Bt_PrintVenda = nullptr;
    QPushButton* Rct_Bt_UpLoad = nullptr;
    QScrollArea* VertScrollBox1 = nullptr;
    QFrame* Lyt_Cupom2 = nullptr;
    QListWidget* Lbx_Vendas_ListCup = nullptr;
    QPushButton* Circ_Cupom_Print = nullptr; // prints the receipt shown
    QLabel* Lab_Lista_Vazia = nullptr;

    void Venda_Lista_Listar();
    // The receipt of the row on screen; null (or a row with tag 0) empties the preview.
    void Venda_Lista_Visualizar(const TLista_Linha* linha);
    void Img_Bt_EdtVendaClick();
    void Rct_Bt_DelVendaClick();
    void Rct_Bt_EntregadorClick();
    void Rct_Bt_PrintVendaClick();
    void Venda_Lista_UpLoadBt();
    // The arrows then walk the list.
    void Focar_Lista();
    // The list's day back to today and its search text emptied.
    void Reiniciar();

    // The selected row, null when none.
    const TLista_Linha* Selecionada() const;
    const VendasListaModel& Modelo() const { return *m_modelo; }
    void Selecionar(int row);

    // The tab's keys on release; true when the key was the tab's.
    bool FormKeyUp(int key);

    // The purchase order of a local sale, opened on the web tab.
    void Imprime_Cupom_Pedido001(qint32 Venda_ID);
    // The prints the cloud account lays out, for the receipt routing and the report.
    TImpressao_Nuvem Impressao_Nuvem();

    // Composes the receipt of a row into the preview file and gives its lines; false when
    // there is nothing to show. Tests replace it.
    std::function<bool(const TLista_Linha& linha, QStringList& linhas)> Compor_Cupom;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Criar_Barra();
    void Criar_Visualizacao(QWidget* pai);
    void Linha_Atual_Mudou();

    TPrincipal& m_principal;
    VendasListaModel* m_modelo = nullptr;
    std::unique_ptr<TPrint_Options> m_print_options;
    bool m_listando = false;
};
