#pragma once

#include "checkout/Credito_Core.h"
#include "checkout/Finalizacao_Core.h"
#include "widgets/PainelModal.h"

#include <QList>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QPushButton;
class QStackedWidget;
class QWidget;
class TClientes_Lista;
class TPix_Pagina;
class TPrincipal;

// "Finalizar Venda": splits the open sale's total over the payment forms, picks the seller
// and the courier, checks the customer's credit and concludes the sale. A new window for
// every checkout; it reads and writes the sale screen's state.
class TFinalizacao : public PainelModal {
public:
    explicit TFinalizacao(TPrincipal& principal, QWidget* parent = nullptr);

    // Payment rows.
    QLabel* Lab_Cupom_Total = nullptr;
    QWidget* Lbx_Item_Din = nullptr;
    QWidget* Lbx_Item_PIX = nullptr;
    QWidget* Lbx_Item_Cart = nullptr;
    QWidget* Lbx_Item_Cheq = nullptr;
    QWidget* Lbx_Item_Rest = nullptr;
    QWidget* Lbx_Item_Troco = nullptr;
    QLineEdit* Edt_PG_Dinheiro = nullptr;
    QLineEdit* Edt_PG_PIX = nullptr;
    QLineEdit* Edt_PG_Cartao = nullptr;
    QLineEdit* Edt_PG_Cheque = nullptr;
    QLineEdit* Edt_PG_Restante = nullptr;
    QLineEdit* Edt_PG_Troco = nullptr;

    // Pages.
    QStackedWidget* TbCtrl_Pagamento = nullptr;
    QWidget* TbCtrl_Cliente = nullptr;
    QWidget* TbCtrl_Pag_Cartao = nullptr;
    QWidget* TbCtrl_Pag_Cheque = nullptr;
    QWidget* TbCtrl_Pag_Restante = nullptr;
    QWidget* TbCtrl_Pag_Pix = nullptr;

    // Customer page.
    QLabel* Lab_Client_Title = nullptr;
    QLabel* Lab_Client_Alert = nullptr;
    QLabel* Lab_Client_Nome = nullptr;
    QLabel* Lab_Client_CPF = nullptr;
    QLabel* Lab_Client_Nasc = nullptr;
    QLabel* Lab_Client_End = nullptr;
    QLabel* Lab_Client_Bairro = nullptr;
    QLabel* Lab_Client_CEP = nullptr;
    QLabel* Lab_Cred_Limite = nullptr;
    QLabel* Lab_Cred_Situacao = nullptr;
    QLabel* Lab_Cred_Restante = nullptr;
    QComboBox* Cbx_Vendedor = nullptr;
    QComboBox* Cbx_Entregador = nullptr;
    QPushButton* Img_Busca_Cliente = nullptr;
    // The last search's window, kept until the next search.
    TClientes_Lista* Clientes_Lista = nullptr;

    // Card page.
    QComboBox* Cbx_Cart_Forma = nullptr;
    QSpinBox* Spn_Cart_Parcelas = nullptr;
    QLineEdit* Edt_Cart_Valor = nullptr;
    QPushButton* Bt_Cart_Adicionar = nullptr;
    QLineEdit* Edt_Cart_Prorietario = nullptr;
    QComboBox* Cbx_Cart_Operad = nullptr;
    QListWidget* Lbx_Cartao = nullptr; // Delete removes the selected payment

    // Cheque page.
    QLineEdit* Edt_Cheq_Cliente = nullptr;
    QLineEdit* Edt_Cheq_CPF = nullptr;
    QComboBox* Cbx_Cheq_Banco = nullptr;
    QLineEdit* Edt_Cheq_Numero = nullptr;
    QLineEdit* Edt_Cheq_Agencia = nullptr;
    QLineEdit* Edt_Cheq_Conta = nullptr;
    QDateEdit* Dt_Cheq_Compensacao = nullptr;

    // Plan page.
    QComboBox* Cbx_Rest_Plano = nullptr;
    QLabel* Lab_Rest_MsgErro = nullptr;
    QDateEdit* Dt_Plano_Primeira = nullptr;
    QListWidget* Lbx_Rest_Plano = nullptr;

    QList<qint32> Vendedor_ID_Array;
    QList<qint32> Entregador_ID_Array;
    qint32 Vendedor_ID = 0;
    // The PIX page's content, with the charge's fields (`pix_ok` among them).
    TPix_Pagina* Pix = nullptr;
    double Total_Cartao = 0;
    // The sale screen's card payments.
    TDSet_Cartao& DSet_Cartao;

    void Venda_Finaliza_Calc();
    // The customer by document: the card, the sale's customer fields, then the credit check.
    void Abre_Cliente(const QString& cpf);
    // Updates the customer page; true when the sale may lend to this customer.
    bool Credito_Validar(const QString& ClieCPF);
    void Cbx_VendedorChange();
    // The customer window, for a customer already registered or a new one.
    void Img_Busca_ClienteClick();
    void Finaliza();
    void Pg_Cartao_Prepara();
    void Bt_Cart_AdicionarClick();
    void Cartao_List();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Criar_Pagamentos();
    void Fonte_Legivel();
    void Criar_Paginas();
    void Listas_Preencher();
    void Formas_Mostrar();
    void Mostrar_Pagina(Finaliza_Pagina pagina);
    Finaliza_Pagina Pagina_Atual() const;
    TFinaliza_Campos Campos() const;
    QLineEdit* Ultimo_Campo() const;
    void Focar_Pagina();
    void Plano_Escolhido();
    void Plano_List(); // the schedule of the sale's plan over the credit amount
    void Cliente_Cores(bool vermelho);
    bool Venda_Finaliza_Cupom();

    TPrincipal& m_principal;
    QList<QLineEdit*> m_campos;
    bool m_preparado = false;
};
