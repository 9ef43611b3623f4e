#include "PrintSerial_Config.h"

#include "foundation/IniFile.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace PrintSerial {

QString Ini_Caminho() {
    return Platform::programDir() + Arquivo_Ini;
}

qint32 Inteiro_Na_Faixa(const QString& texto, Faixa faixa) {
    static const QRegularExpression numero(QStringLiteral("^([+-]?)0*([0-9]+)$"));
    const QRegularExpressionMatch m = numero.match(texto.trimmed());
    if (!m.hasMatch()) return faixa.min;
    const bool negativo = m.captured(1) == QLatin1String("-");
    const QString digitos = m.captured(2);
    // Beyond 18 digits the value is past either limit whatever it is.
    if (digitos.size() > 18) return negativo ? faixa.min : faixa.max;
    const qint64 v = (negativo ? -1 : 1) * digitos.toLongLong();
    if (v < faixa.min) return faixa.min;
    if (v > faixa.max) return faixa.max;
    return static_cast<qint32>(v);
}

namespace {

void criarPasta(const QString& iniPath) {
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
}

qint32 lerInteiro(const IniFile& ini, const QString& chave, qint32 atual, Faixa faixa) {
    if (!ini.ValueExists(Secao, chave)) return Inteiro_Na_Faixa(QString::number(atual), faixa);
    return Inteiro_Na_Faixa(ini.ReadString(Secao, chave, QString()), faixa);
}

} // namespace

TPrintSerial_Config Config_Ler(const QString& iniPath, const TPrintSerial_Config& atual) {
    criarPasta(iniPath);
    const IniFile ini(iniPath);
    TPrintSerial_Config c;
    c.ArquivoOLD = ini.ReadString(Secao, QStringLiteral("ArquivoOLD"), atual.ArquivoOLD);
    c.Visualizar = ini.ReadBool(Secao, QStringLiteral("Visualizar"), atual.Visualizar);
    c.CBarra = ini.ReadString(Secao, QStringLiteral("CBarra"), atual.CBarra);
    c.QRCode_Print = ini.ReadBool(Secao, QStringLiteral("QRCode_Print"), atual.QRCode_Print);
    c.PapelLargura = lerInteiro(ini, QStringLiteral("PapelLargura"), atual.PapelLargura, Faixa_Papel);
    c.PapelAltura = lerInteiro(ini, QStringLiteral("PapelAltura"), atual.PapelAltura, Faixa_Papel);
    c.FonteTamanho = lerInteiro(ini, QStringLiteral("FonteTamanho"), atual.FonteTamanho, Faixa_Fonte);
    c.MargemSup = lerInteiro(ini, QStringLiteral("MargemSup"), atual.MargemSup, Faixa_Margem);
    c.MargemInf = lerInteiro(ini, QStringLiteral("MargemInf"), atual.MargemInf, Faixa_Margem);
    c.MargemDir = lerInteiro(ini, QStringLiteral("MargemDir"), atual.MargemDir, Faixa_Margem);
    c.MargemEsq = lerInteiro(ini, QStringLiteral("MargemEsq"), atual.MargemEsq, Faixa_Margem);
    return c;
}

void Config_Salvar(const QString& iniPath, const TPrintSerial_Config& c) {
    criarPasta(iniPath);
    IniFile ini(iniPath);
    ini.WriteString(Secao, QStringLiteral("ArquivoOLD"), c.ArquivoOLD.trimmed());
    ini.WriteBool(Secao, QStringLiteral("Visualizar"), c.Visualizar);
    ini.WriteString(Secao, QStringLiteral("CBarra"), c.CBarra);
    ini.WriteBool(Secao, QStringLiteral("QRCode_Print"), c.QRCode_Print);
    ini.WriteInteger(Secao, QStringLiteral("PapelLargura"), c.PapelLargura);
    ini.WriteInteger(Secao, QStringLiteral("PapelAltura"), c.PapelAltura);
    ini.WriteInteger(Secao, QStringLiteral("FonteTamanho"), c.FonteTamanho);
    ini.WriteInteger(Secao, QStringLiteral("MargemSup"), c.MargemSup);
    ini.WriteInteger(Secao, QStringLiteral("MargemInf"), c.MargemInf);
    ini.WriteInteger(Secao, QStringLiteral("MargemDir"), c.MargemDir);
    ini.WriteInteger(Secao, QStringLiteral("MargemEsq"), c.MargemEsq);
}

} // namespace PrintSerial
