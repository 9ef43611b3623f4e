#pragma once

#include "PrintSerial_Config.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

// "Configuração da DLL": the print library's settings, with a test print of any text
// file. The settings program shows it as its main window.
class TConfig1 : public QDialog {
    Q_OBJECT
public:
    explicit TConfig1(const QString& iniPath = PrintSerial::Ini_Caminho(),
                      QWidget* parent = nullptr);

    static constexpr int Largura = 412;

    // The section into the controls, each missing key keeping the control's value.
    void IniFile_Abrir();
    // Every control into the section. Throws IniFileError when the file cannot be written.
    void IniFile_Salva();
    // What the controls hold.
    TPrintSerial_Config Config() const;
    void Config_Mostrar(const TPrintSerial_Config& config);

    void Button1Click();     // "Salvar"
    void Button2Click();     // "Cancelar"
    void Button3Click();     // test print
    void SpeedButton1Click(); // file chooser

    // The last QR text the library printed; the test print encodes it.
    QString Impressoras_CBarra;

    QLabel* Img_Logo = nullptr;
    QRadioButton* Rad_Imprimir = nullptr;
    QRadioButton* Rad_Visualizar = nullptr;
    QCheckBox* QRCode_Print = nullptr;
    QSpinBox* Spn_FonteTamanho = nullptr;
    QLineEdit* Edt_Arquivo = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QSpinBox* Spn_PapelLargura = nullptr;
    QSpinBox* Spn_PapelAltura = nullptr;
    QSpinBox* Spn_MargemSup = nullptr;
    QSpinBox* Spn_MargemDir = nullptr;
    QSpinBox* Spn_MargemEsq = nullptr;
    QSpinBox* Spn_MargemInf = nullptr;
    QPushButton* Button3 = nullptr; // "Testar Impressão TXT"
    QPushButton* Button4 = nullptr; // "Testar Impressão"
    QPushButton* Button2 = nullptr; // "Cancelar"
    QPushButton* Button1 = nullptr; // "Salvar"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QString m_iniPath;
};
