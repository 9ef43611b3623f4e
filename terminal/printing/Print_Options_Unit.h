#pragma once

#include <QDialog>
#include <QPixmap>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSequentialAnimationGroup;
class QSpinBox;
class QStackedWidget;
class QTextBrowser;
class Switch;

// "Opções de Impressão": the operator picks what to print for the sale selected in the
// sales list, or edits the printer profile of each kind of print. A card slides in from
// the right over a translucent black backdrop. A new screen for every print request.
class TPrint_Options : public QDialog {
public:
    explicit TPrint_Options(const QString& Sistema_DirName, QWidget* parent = nullptr);

    // The sales list's print button: frees the previous screen, shows a new one modally
    // and returns its choice (0 receipt, 1 purchase order, 2 management report).
    static std::optional<int> Escolher(std::unique_ptr<TPrint_Options>& tela,
                                       const QString& Sistema_DirName, QWidget* parent);

    // The choice made; none until "IMPRIMIR" with an entry selected.
    std::optional<int> ResultPrint;

    QWidget* Lyt_Cupom = nullptr;
    QStackedWidget* TbCtrl_Print = nullptr;
    QWidget* Tab_Opcoes = nullptr;
    QWidget* Tab_Config = nullptr;

    // Options tab.
    QListWidget* Lbx_Options = nullptr;
    QPushButton* Rct_BtOk = nullptr;     // "IMPRIMIR"
    QPushButton* Rct_BtCancel = nullptr; // "CANCELAR"
    QPushButton* Rectangle2 = nullptr;   // the profile of the selected entry
    QLabel* Image4 = nullptr;
    QTextBrowser* WBrowser_Print = nullptr; // "Relatorio.html" of the program folder

    // Settings tab.
    QLabel* Lab_Config_Titulo = nullptr;
    QComboBox* Cbx_Impress_Nome = nullptr;
    QLabel* Lab_Impress_Porta = nullptr;
    QComboBox* Cbx_Impress_Porta = nullptr;
    QSpinBox* Spn_Impress_Linha = nullptr;
    QSpinBox* Spn_Impress_MgEsq = nullptr;
    QSpinBox* Spn_Impress_Colunas = nullptr;
    QSpinBox* Spn_Impress_Fonte = nullptr;
    Switch* Swth_Impess_Gaveta = nullptr;
    Switch* Swth_Impess_Papel = nullptr;
    Switch* Swth_Impess_CBarra = nullptr;
    QPlainTextEdit* Mem_Mensagem = nullptr;
    QPushButton* Rectangle3 = nullptr; // "SALVAR"
    QPushButton* Rectangle4 = nullptr; // "VOLTAR"

    void Rct_BtOkClick();
    void Rct_BtCancelClick();
    void Rectangle2Click(); // opens the profile on the settings tab
    void Rectangle3Click(); // saves it
    void Rectangle4Click(); // back without saving
    void Cbx_Impress_NomeChange();

    // The profile of the selected entry: "001".."003", "000" with none selected.
    QString Perfil_NNN() const;
    // Where the card rests once it has slid in.
    QPoint Posicao_Final() const;
    bool Deslizando() const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* Criar_Opcoes();
    QWidget* Criar_Config();
    void FormShow();
    void Botao_Cores(QPushButton* botao, bool sob_mouse);

    QString m_dir;
    QPixmap m_fundo; // the window underneath, seen through the backdrop
    QSequentialAnimationGroup* m_entrada = nullptr;
};
