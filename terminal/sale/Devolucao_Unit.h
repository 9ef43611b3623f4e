#pragma once

#include "sale/Devolucao_Core.h"
#include "widgets/PainelModal.h"
#include "widgets/Soltura.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TPrincipal;

// "Devolução de mercadorias": the customer, the reason, the sale and the product of goods
// brought back. It stores nothing; "GERAR CRÉDITO" only acknowledges. Looking a product
// up opens a sale on the sale screen when none is open.
class TDevolucao : public PainelModal {
public:
    explicit TDevolucao(TPrincipal& principal, QWidget* parent = nullptr);

    TDevolucaoProduto Produto;

    QLineEdit* Edt_Client_CPF = nullptr;
    QComboBox* Cbx_Client_Nome = nullptr;
    QComboBox* Cbx_Motivo = nullptr;
    QLineEdit* Edt_Venda_Cod = nullptr;
    QLineEdit* Edt_Prod_CBarra = nullptr;
    QComboBox* Cbx_Prod_Nome = nullptr;
    QLineEdit* Edt_Prod_Unitario = nullptr;
    QSpinBox* Spn_Venda_Qtd = nullptr;
    QLineEdit* Edt_Prod_Total = nullptr;
    QLabel* Lab_Prod_Aviso = nullptr; // "A descrição retornou mais de um produto"
    QPushButton* Rct_BtGerar = nullptr;
    QPushButton* Rct_BtCancel = nullptr;

    void Produto_Busca(const QString& texto);
    void Produto_Calc();
    void Rct_BtGerarClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Caixa_Entrada(QObject* w) const;
    QString Mascara() const;

    TPrincipal& m_principal;
    Soltura m_soltura;
    bool m_calculando = false;
};

// F9: a new returns window; closing it gives the keys back to the search box.
void Devolucao_Abre(TPrincipal& principal);
