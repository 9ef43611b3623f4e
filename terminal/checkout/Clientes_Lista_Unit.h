#pragma once

#include "checkout/Clientes_Core.h"
#include "widgets/PainelModal.h"

#include <QString>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStackedWidget;
class QToolButton;
struct TSettings;
struct TVenda;
class TDModule;
class TClientes_Modelo;

namespace db {
class Connection;
}

// "Lista de Clientes": finds or registers the sale's customer. It hands back the CPF or
// CNPJ of the chosen or registered customer in CPF_CNPJ (empty when nothing was chosen).
// A customer registered here is also in Venda (Venda_Cliente_ID, Venda_Cliente_CPF) and
// the form's texts in Cliente_Digitado. Made once by the checkout and opened as often
// as needed; every opening starts on the list page.
class TClientes_Lista : public PainelModal {
public:
    TClientes_Lista(db::Connection& conexao, const TSettings& config, TVenda& venda,
                    QWidget* parent = nullptr);
    TClientes_Lista(TDModule& DModule, const TSettings& config, TVenda& venda,
                    QWidget* parent = nullptr);
    ~TClientes_Lista() override;

    QString CPF_CNPJ;
    QString Temp_Busca; // the search text at the last "VENDER"
    TCliente_Form Cliente_Digitado;

    // List page.
    QStackedWidget* TabControl1 = nullptr;
    QWidget* Tb_Lista = nullptr;
    QWidget* Tb_Cad = nullptr;
    QLabel* Lab_Subtitulo = nullptr;
    QLineEdit* Edt_Busca = nullptr;
    QPushButton* SpeedButton2 = nullptr;
    QListView* Lbx_Cupom = nullptr;
    QPushButton* Rct_BtVender = nullptr;
    QPushButton* Rct_BtCancel = nullptr;

    // Registration page.
    QLabel* Lab_Client_Title = nullptr;
    QLabel* Lab_Client_Alert = nullptr;
    QLineEdit* Edt_Client_CPF = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QComboBox* Cbx_Client_Nome = nullptr;
    QLineEdit* Edt_Client_CEP = nullptr;
    QToolButton* Image1 = nullptr;
    QDateEdit* Dt_Client_Nasc = nullptr;
    QLineEdit* Edt_Client_Fone = nullptr;
    QLineEdit* Edt_Client_End = nullptr;
    QLineEdit* Edt_Client_Num = nullptr;
    QLineEdit* Edt_Client_Bairro = nullptr;
    QComboBox* Cbx_Client_Estado = nullptr;
    QComboBox* Cbx_Client_Cidade = nullptr;
    QLineEdit* Edt_Client_Referencia = nullptr;
    QPushButton* Rec_Bt_Salvar = nullptr;
    QPushButton* Rct_Bt_Voltar = nullptr;

    void Cliente_Busca();
    void Rct_BtVenderClick();
    void Rct_BtCancelClick();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void Image1Click();
    // False when the document belongs to another customer (the field is then emptied).
    bool Edt_Client_CPFExit();
    void Edt_Client_FoneExit();
    void Edt_Client_CEPExit();
    void Abre_Cliente();
    void Lab_Bt_SalvarClick();
    void Lab_Bt_VoltarClick();

    // Esc: the list page closes, the registration page goes back to the list.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Mostrar_Pagina(QWidget* pagina);
    void Preencher_Listas();
    int Linha_Selecionada() const;
    void Selecionar_Linha(int linha);
    void Mover_Selecao(int passo);
    void Escolher();
    void Limpar_Cadastro();
    void Alerta_Normal();
    TCliente_Form Ler_Form() const;
    QWidget* Campo(Campo_Cliente campo) const;
    void Saiu_Do_Campo(QObject* campo);

    db::Connection& m_conexao;
    const TSettings& m_config;
    TVenda& m_venda;
    TClientes_Modelo* m_modelo = nullptr;
    QLabel* m_titulo = nullptr;
    qint32 m_carregado = 0; // the customer Abre_Cliente put into the form
    bool m_saindo = false;  // a field's exit is being handled
};
