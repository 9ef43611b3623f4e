#include "Tarvel_PrintSerial.h"

#include "printlib/Ferramentas.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUuid>

namespace {

enum class Chamada { Dlopen, Link };

const char* nome(Chamada c) {
    return c == Chamada::Dlopen ? "dlopen" : "link";
}

// The C callers run from a copy in the test's folder, which is then the program folder
// of the call and holds its "confg.ini".
class ExportTest : public ::testing::Test {
protected:
    TestDir dir;

    QString copiar(const QString& origem) const {
        const QString destino = dir.file(QFileInfo(origem).fileName());
        QFile::remove(destino);
        EXPECT_TRUE(QFile::copy(origem, destino)) << origem.toStdString();
        return destino;
    }

    Ferramentas::Saida chamar(Chamada c, QStringList args,
                              QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QString programa;
        if (c == Chamada::Dlopen) {
            programa = copiar(QStringLiteral(PRINTLIB_C_DLOPEN));
            args = QStringList{QStringLiteral("--lib"), QStringLiteral(PRINTLIB_LIBRARY)} + args;
        } else {
            programa = copiar(QStringLiteral(PRINTLIB_C_LINK));
            copiar(QStringLiteral(PRINTLIB_LIBRARY)); // found beside it, through $ORIGIN
        }
        return Ferramentas::Rodar(programa, args, env);
    }

    void linhas(const QString& arquivo, const QStringList& l) const {
        dir.write(arquivo, (l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    }
};

} // namespace

TEST_F(ExportTest, MissingFileIsFalseAndTheSettingsAreLeftAlone) {
    const QString falta = dir.file("nao_existe.txt");
    for (Chamada c : {Chamada::Dlopen, Chamada::Link}) {
        const Ferramentas::Saida s = chamar(c, {falta, "x", "0", "-", "-", "1", dir.path(), "x", "1"});
        EXPECT_EQ(s.codigo, 0) << nome(c) << s.err.toStdString();
        EXPECT_EQ(s.out, "0\n0\n0\n") << nome(c);
        EXPECT_FALSE(dir.exists("confg.ini")) << nome(c);
    }
    // And from this program, bound at load time like the terminal.
    EXPECT_FALSE(Impressao_Mini_Termica(nullptr, nullptr, true));
    EXPECT_FALSE(Impressao_Mini_Termica(falta.toUtf8().constData(), "x", false));
}

TEST_F(ExportTest, APlainCProgramGetsAnApplicationForEachCall) {
    // No print server: each call makes its application, fails to print, ends it, and
    // says so; nothing is recorded.
    linhas("cupom.txt", {"LINHA 1", "LINHA 2"});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), dir.file("sem_servidor"));
    env.remove(QStringLiteral("PRINTER"));
    for (Chamada c : {Chamada::Dlopen, Chamada::Link}) {
        const QString f = dir.file("cupom.txt");
        const Ferramentas::Saida s = chamar(c, {f, "loja", "0", f, "loja", "0"}, env);
        EXPECT_EQ(s.codigo, 0) << nome(c) << s.err.toStdString();
        EXPECT_EQ(s.out, "0\n0\n") << nome(c);
        EXPECT_TRUE(s.err.contains("Nenhuma impressora")) << s.err.toStdString();
        EXPECT_FALSE(dir.exists("confg.ini")) << nome(c);
    }
}

TEST_F(ExportTest, TheTerminalDoesNotStartWithoutTheLibrary) {
    const QString ondavia = copiar(QStringLiteral(PRINTLIB_ONDAVIA));
    const Ferramentas::Saida s = Ferramentas::Rodar(ondavia, {});
    EXPECT_NE(s.codigo, 0);
    EXPECT_TRUE(s.err.contains("libTarvel_PrintSerial.so")) << s.err.toStdString();
}

namespace {

// The cups-pdf queue that is the default printer, or why there is none.
QString semCupsPdf() {
    if (!Ferramentas::Existe(QStringLiteral("lpstat")))
        return QStringLiteral("CUPS is not installed (scripts/setup.sh installs it)");
    const QString padrao = QString::fromUtf8(Ferramentas::Rodar(QStringLiteral("lpstat"), {"-d"}).out);
    const qsizetype dois = padrao.indexOf(QLatin1Char(':'));
    const QString fila = dois < 0 ? QString() : padrao.mid(dois + 1).trimmed();
    if (fila.isEmpty() || padrao.contains(QStringLiteral("no system default")))
        return QStringLiteral("CUPS is not running or has no default printer "
                              "(scripts/test.sh starts it with cups-pdf)");
    const QString v = QString::fromUtf8(Ferramentas::Rodar(QStringLiteral("lpstat"), {"-v", fila}).out);
    if (!v.contains(QStringLiteral("cups-pdf:")))
        return QStringLiteral("the default printer %1 is not a cups-pdf queue").arg(fila);
    return {};
}

// Where cups-pdf puts this user's files.
QString pastaCupsPdf() {
    QString saida = QStringLiteral("${HOME}/PDF");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray& l : conf.readAll().split('\n'))
            if (l.startsWith("Out ")) saida = QString::fromUtf8(l.mid(4)).trimmed();
    }
    saida.replace(QStringLiteral("${HOME}"), QDir::homePath());
    saida.replace(QStringLiteral("${USER}"), qEnvironmentVariable("USER", QStringLiteral("root")));
    return saida;
}

QString esperarPdf(const QString& pasta, const QString& marca) {
    const QDateTime limite = QDateTime::currentDateTime().addSecs(60);
    while (QDateTime::currentDateTime() < limite) {
        for (const QFileInfo& f : QDir(pasta).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
            if (f.fileName().contains(marca) && f.size() > 0) {
                QThread::msleep(300); // let cups-pdf finish writing
                return f.absoluteFilePath();
            }
        QThread::msleep(200);
    }
    return {};
}

} // namespace

TEST_F(ExportTest, RealPrintOnTheDefaultPrinter) {
    const QString porque = semCupsPdf();
    if (!porque.isEmpty()) GTEST_SKIP() << porque.toStdString();
    const QStringList cupom = {"      BALCONA - LOJA DO CENTRO", "CUPOM NAO FISCAL",
                               "1 AGUA MINERAL 500ML     2,50", "TOTAL R$              2,50",
                               "", "OBRIGADO PELA PREFERENCIA"};
    for (Chamada c : {Chamada::Dlopen, Chamada::Link}) {
        const QString marca = QStringLiteral("cupom%1").arg(
            QUuid::createUuid().toString(QUuid::Id128).left(12));
        linhas(marca + QStringLiteral(".txt"), cupom);
        const QString f = dir.file(marca + QStringLiteral(".txt"));
        const Ferramentas::Saida s = chamar(c, {f, "d'agua", "0"});
        ASSERT_EQ(s.out, "1\n") << nome(c) << s.err.toStdString();

        const QString pdf = esperarPdf(pastaCupsPdf(), marca);
        ASSERT_FALSE(pdf.isEmpty()) << "no cups-pdf file in " << pastaCupsPdf().toStdString();
        EXPECT_EQ(Ferramentas::Pdf_Linhas(pdf), Ferramentas::Simplificadas(cupom)) << nome(c);
        if (Ferramentas::Existe(QStringLiteral("zbarimg"))) {
            EXPECT_EQ(Ferramentas::Pdf_QRCodes(pdf), QStringList{"d'agua"}) << nome(c);
        }
        QFile::remove(pdf);

        const QString ini = QString::fromUtf8(dir.read("confg.ini"));
        EXPECT_TRUE(ini.contains("ArquivoOLD=" + f + "\r\n")) << ini.toStdString();
        EXPECT_TRUE(ini.contains("CBarra=d'agua\r\n")) << ini.toStdString();
    }
}
