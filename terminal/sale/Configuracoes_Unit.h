#pragma once

#include "foundation/Configuracoes_Core.h"
#include "widgets/PainelModal.h"

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QVBoxLayout;
class Switch;
class TPrincipal;

// "Configurações": the terminal's preferences in one scrolling list of groups, and the
// factory reset. Enter saves, Esc cancels.
class TConfiguracoes : public PainelModal {
public:
    explicit TConfiguracoes(TPrincipal& principal);

    // The controls as the screen shows them, and back.
    TConfiguracoes_Tela Tela() const;
    void Tela_Mostrar(const TConfiguracoes_Tela& t);

    void BtSalvar_Click();
    void BtCancelar_Click();
    void BtRestaurar_Click();
    // True once the factory reset ran: the program is ending.
    bool Restaurado() const { return m_restaurado; }

    // The file-save dialog of "Pasta de Arquivo:"; replaced by tests. Returns the chosen
    // path, empty when the operator gave up.
    std::function<QString(const QString& atual)> Escolher_Arquivo;

    QScrollArea* VertScrollBox = nullptr;
    QComboBox* Cbx_TerminalTipo = nullptr;
    QSpinBox* Spn_TerminalNum = nullptr;
    Switch* Swt_prod_qtd = nullptr;
    Switch* Swt_prod_valor = nullptr;
    Switch* Swt_prod_img = nullptr;
    Switch* Swt_Buscar_Enter = nullptr;
    QComboBox* Cbx_DescTipo = nullptr;
    QDoubleSpinBox* Edt_DescOpcional = nullptr;
    QSpinBox* Edt_Casa_Decimal = nullptr;
    QComboBox* Cbx_Buscar_OrderBy = nullptr;
    Switch* Switch_sugerir_valor = nullptr;
    Switch* Swt_Cliente_Obriga = nullptr;
    Switch* Swt_Cliente_Lista = nullptr;
    Switch* Switch_enviar_venda = nullptr;
    Switch* Switch_imprimir_venda = nullptr;
    QComboBox* Cbx_Cupom_Mod = nullptr;
    QSpinBox* Spn_Cupom_Copias = nullptr;
    Switch* Switch_imprimir_pedido = nullptr;
    Switch* Swt_Listar_Excluidos = nullptr;
    Switch* Swt_FormaPG_Din = nullptr;
    Switch* Swt_FormaPG_PIX = nullptr;
    Switch* Swt_FormaPG_Car = nullptr;
    Switch* Swt_FormaPG_Che = nullptr;
    QComboBox* Cbx_balanca_tipo = nullptr;
    QSpinBox* spn_balanca_qtdcod = nullptr;
    QSpinBox* spn_balanca_qtdval = nullptr;
    QComboBox* Cbx_Terminal_Mod = nullptr;
    QLineEdit* Edt_Terminal_File = nullptr;
    Switch* Swt_Cert_SSL2 = nullptr;
    Switch* Swt_Cert_SSL3 = nullptr;
    Switch* Swt_Cert_TSL1 = nullptr;
    Switch* Swt_Cert_TSL11 = nullptr;
    Switch* Swt_Cert_TSL12 = nullptr;
    Switch* Swt_Cert_TSL13 = nullptr;
    QComboBox* Cbx_ProtHTTP = nullptr;
    QComboBox* Cbx_MetdHTTP = nullptr;
    QLabel* Lab_Restaurar = nullptr;
    QPushButton* Rct_BtRestaurar = nullptr;
    QPushButton* Rct_BtVender = nullptr; // "Salvar"
    QPushButton* Rct_BtCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QVBoxLayout* Grupo(const QString& titulo);
    Switch* Chave(QVBoxLayout* grupo, const char* nome, const QString& legenda);
    QComboBox* Lista(QVBoxLayout* grupo, const char* nome, const QString& legenda,
                     const QStringList& entradas);
    QSpinBox* Numero(QVBoxLayout* grupo, const char* nome, const QString& legenda,
                     Configuracoes::Faixa faixa);
    void Linha(QVBoxLayout* grupo, const QString& legenda, QWidget* controle);
    void Pasta_Arquivo();

    TPrincipal& m_principal;
    QWidget* m_lista = nullptr;
    QVBoxLayout* m_grupos = nullptr;
    bool m_restaurado = false;
};

// `Configuracoes_Abre`: a new settings window for each opening, shown modally. After a
// factory reset it ends the action (throws Abort), as the program is ending.
void Configuracoes_Abre(TPrincipal& principal);
