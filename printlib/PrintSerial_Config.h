#pragma once

#include <QString>

// The print library's settings, section "PrintSerialDLL" of the "confg.ini" beside the
// running executable. The defaults are those of a fresh installation.
struct TPrintSerial_Config {
    QString ArquivoOLD;        // last printed file, the test print's file
    bool Visualizar = true;    // test print: preview instead of printing
    QString CBarra;            // last QR text printed
    bool QRCode_Print = true;  // library print: print the QR footer
    qint32 PapelLargura = 15;  // page width, in units of 5 mm
    qint32 PapelAltura = 15;   // stored only: the height follows the lines
    qint32 FonteTamanho = 7;   // font size of the lines
    qint32 MargemSup = 1;      // margins, in units of 5 mm
    qint32 MargemInf = 1;
    qint32 MargemDir = 1;
    qint32 MargemEsq = 1;
};

namespace PrintSerial {

inline const QString Secao = QStringLiteral("PrintSerialDLL");
inline const QString Arquivo_Ini = QStringLiteral("confg.ini");

struct Faixa {
    qint32 min;
    qint32 max;
};
inline constexpr Faixa Faixa_Papel{5, 999999};
inline constexpr Faixa Faixa_Fonte{6, 25};
inline constexpr Faixa Faixa_Margem{0, 999999};

// "confg.ini" in the folder of the running executable.
QString Ini_Caminho();

// An integer setting's text as the form takes it: a number is brought into the range,
// anything else reads as the lower limit.
qint32 Inteiro_Na_Faixa(const QString& texto, Faixa faixa);

// Reads every key, each missing one keeping its value in `atual` (a missing file reads
// as empty). Creates the folder when it is missing.
TPrintSerial_Config Config_Ler(const QString& iniPath, const TPrintSerial_Config& atual = {});
// Writes every key in the file's order; "ArquivoOLD" trimmed of blanks. Creates the
// folder when it is missing. Throws IniFileError when the file cannot be written.
void Config_Salvar(const QString& iniPath, const TPrintSerial_Config& config);

} // namespace PrintSerial
