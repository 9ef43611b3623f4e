// How a print file leaves the terminal: the port print (file, pseudo-terminal, print
// queue), the print library, the text editor, and the choice among them.

#include "printing/Cupom_NaoFiscal.h"
#include "printing/Impressao_Canais.h"

#include "printing/Loja.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include "Tarvel_PrintSerial.h"

namespace {

const QByteArray Gaveta("\x1B\x70\x00\x19\xFA", 5);
const QByteArray Corte("\x1D\x56\x01", 3);

// A print file of two lines as the composers write it.
QString arquivo(const TestDir& d, const QByteArray& bytes = "Linha 1\r\nAção 2\r\n") {
    d.write("print.txt", bytes);
    return d.file("print.txt");
}

TEST(Canais, PortResolution) {
    const QString pasta = QStringLiteral("/prog/11222333000181/");
    const struct {
        QString porta, resolvida;
        bool visualizar;
    } cases[] = {
        {QStringLiteral("Arquivo"), pasta + QStringLiteral("Print_Relatorios.txt"), false},
        {QStringLiteral("ARQUIVO"), QStringLiteral("ARQUIVO"), false},
        {QStringLiteral("arquivo"), QStringLiteral("arquivo"), false},
        {QStringLiteral("Visualizar"), QStringLiteral("Visualizar"), true},
        {QStringLiteral("VISUALIZAR"), QStringLiteral("VISUALIZAR"), true},
        {QStringLiteral("Imprimir"), QStringLiteral("Imprimir"), false},
        {QStringLiteral("COM1"), QStringLiteral("COM1"), false},
    };
    for (const auto& c : cases) {
        const TPorta_Resolvida r = Porta_Resolver(c.porta, pasta);
        EXPECT_EQ(r.Porta, c.resolvida) << c.porta.toStdString();
        EXPECT_EQ(r.Visualizar, c.visualizar) << c.porta.toStdString();
    }
}

TEST(Canais, PortPrintToAFile) {
    const QByteArray linhas = "Linha 1\r\nA\xC3\xA7\xC3\xA3o 2\r\n";
    const struct {
        const char* nome;
        QByteArray arquivo;
        int salto;
        bool gaveta, corte;
        QByteArray esperado;
    } cases[] = {
        {"feed of 3 gives 4 empty lines", linhas, 3, false, false, linhas + "\r\n\r\n\r\n\r\n"},
        {"feed of 0 gives one", linhas, 0, false, false, linhas + "\r\n"},
        {"feed of -1 gives none", linhas, -1, false, false, linhas},
        {"LF line ends become CR LF", "Linha 1\nA\xC3\xA7\xC3\xA3o 2\n", -1, false, false, linhas},
        {"a byte-order mark is read and not copied", "\xEF\xBB\xBFLinha 1\r\nA\xC3\xA7\xC3\xA3o 2",
         -1, false, false, linhas},
        {"drawer and cut after the feed", linhas, 1, true, true,
         linhas + "\r\n\r\n" + Gaveta + Corte},
        {"cut alone", linhas, -1, false, true, linhas + Corte},
        {"an empty file sends the feed only", "", 0, false, false, "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nome);
        TestDir d;
        d.write("porta.txt", "older content that must go");
        EXPECT_TRUE(Impressao_Porta_Serial(arquivo(d, c.arquivo), d.file("porta.txt"), c.salto,
                                           c.gaveta, c.corte));
        EXPECT_EQ(d.read("porta.txt"), c.esperado);
    }
}

TEST(Canais, MissingFileSendsNothing) {
    TestDir d;
    EXPECT_FALSE(Impressao_Porta_Serial(d.file("nada.txt"), d.file("porta.txt"), 3, true, true));
    EXPECT_FALSE(d.exists("porta.txt"));
}

TEST(Canais, PortThatCannotBeOpened) {
    TestDir d;
    const QString arq = arquivo(d);
    // "LPT9" is a device: it is never created, so a machine without it refuses.
    if (QFileInfo::exists(QStringLiteral("/dev/lp8"))) GTEST_SKIP() << "this machine has LPT9";
    for (const QString& porta : {QStringLiteral("LPT9"), d.file("sem-pasta/porta.txt")}) {
        SCOPED_TRACE(porta.toStdString());
        try {
            Impressao_Porta_Serial(arq, porta, 3);
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Erro de E/S na porta \"") + porta +
                                               QStringLiteral("\": ")))
                << e.message().toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/dev/lp8")));
}

TEST(Canais, PortPrintToAPseudoTerminal) {
    if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty())
        GTEST_SKIP() << "socat is not installed (scripts/setup.sh installs it)";
    TestDir d;
    const QString tty = d.file("ttyV0"), recebido = d.file("recebido.bin");
    QProcess socat;
    socat.start(QStringLiteral("socat"),
                {QStringLiteral("-u"), QStringLiteral("PTY,raw,echo=0,link=") + tty,
                 QStringLiteral("CREATE:") + recebido});
    ASSERT_TRUE(socat.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(tty); }, 5000));

    EXPECT_TRUE(Impressao_Porta_Serial(arquivo(d), tty, 2, true, true));
    const QByteArray esperado =
        QByteArray("Linha 1\r\nA\xC3\xA7\xC3\xA3o 2\r\n") + "\r\n\r\n\r\n" + Gaveta + Corte;
    const bool chegou =
        QTest::qWaitFor([&] { return d.read("recebido.bin").size() >= esperado.size(); }, 5000);
    socat.kill();
    socat.waitForFinished(2000);
    EXPECT_TRUE(chegou);
    EXPECT_EQ(d.read("recebido.bin"), esperado);
}

// A stand-in for CUPS's "lp" first on the PATH: it keeps its arguments and what it read.
class FilaFalsa {
public:
    explicit FilaFalsa(int saida) : m_path(qgetenv("PATH")) {
        m_dir.write("lp", QStringLiteral("#!/bin/sh\necho \"$@\" > '%1args'\ncat > '%1entrada'\n"
                                         "echo 'lp: falha simulada' >&2\nexit %2\n")
                              .arg(m_dir.path())
                              .arg(saida)
                              .toUtf8());
        QFile::setPermissions(m_dir.file("lp"), QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", m_dir.path().toUtf8() + ":" + m_path);
    }
    ~FilaFalsa() { qputenv("PATH", m_path); }
    QString args() const { return QString::fromUtf8(m_dir.read("args")).trimmed(); }
    QByteArray entrada() const { return m_dir.read("entrada"); }

private:
    TestDir m_dir;
    QByteArray m_path;
};

TEST(Canais, SharedPrinterGoesToItsQueueAsRawText) {
    TestDir d;
    FilaFalsa lp(0);
    EXPECT_TRUE(Impressao_Porta_Serial(arquivo(d), QStringLiteral("\\\\127.0.0.1\\Balcao_Termica"),
                                       0, true, false));
    EXPECT_EQ(lp.args(), QStringLiteral("-d Balcao_Termica -o raw"));
    EXPECT_EQ(lp.entrada(), QByteArray("Linha 1\r\nA\xC3\xA7\xC3\xA3o 2\r\n\r\n") + Gaveta);
}

TEST(Canais, QueueThatRefusesGivesItsMessage) {
    TestDir d;
    FilaFalsa lp(1);
    try {
        Impressao_Porta_Serial(arquivo(d), QStringLiteral("\\\\servidor\\Fila"), 0);
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(
            e.message(),
            QStringLiteral("Erro de E/S na porta \"\\\\servidor\\Fila\": lp: falha simulada"));
    }
}

TEST(Canais, SendStepByPrinterType) {
    const struct {
        QString tipo;
        const char* canal; // "editor", "porta", "biblioteca" or "" for nothing
        bool gaveta;       // the drawer and cut follow the dot-matrix type only
    } cases[] = {
        {Impressora::Bloco_Notas, "editor", false},
        {Impressora::Matricial, "porta", true},
        {Impressora::Termica, "biblioteca", false},
        {Impressora::Epson_LX300, "porta", false},
        {Impressora::Deskjet, "", false},
        {Impressora::Sweda_SI300S, "", false},
        {Impressora::Bematech_MP4000, "", false},
        {Impressora::Epson_TMT20, "", false},
        {Impressora::Bematech_MP2500, "", false},
        {QStringLiteral("Mini-Impressora Termica"), "", false}, // accents count
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tipo.toStdString());
        Loja l;
        TEnvio_Impressao e;
        e.Tipo = c.tipo;
        e.Arquivo = arquivo(l.dir);
        e.Porta = l.dir.file("porta.txt");
        e.Salto = 0;
        e.Visualizar = true;
        e.QRCode = QStringLiteral("instagram.com/loja");
        e.Gaveta = e.Cortar = true;
        Impressao_Enviar(e);
        const QString canal = QLatin1String(c.canal);
        EXPECT_EQ(l.editor,
                  canal == QLatin1String("editor") ? QStringList{e.Arquivo} : QStringList());
        ASSERT_EQ(l.termica.size(), canal == QLatin1String("biblioteca") ? 1 : 0);
        if (!l.termica.isEmpty()) {
            EXPECT_EQ(l.termica[0].arquivo, e.Arquivo);
            EXPECT_EQ(l.termica[0].qrcode, e.QRCode);
            EXPECT_TRUE(l.termica[0].visualizar);
        }
        EXPECT_EQ(l.dir.exists("porta.txt"), canal == QLatin1String("porta"));
        if (canal == QLatin1String("porta")) {
            EXPECT_EQ(l.dir.read("porta.txt").endsWith(Gaveta + Corte), c.gaveta);
        }
    }
}

TEST(Canais, ReceiptToTheCompanysReportFile) {
    Loja l;
    l.sql(QStringLiteral("insert into venda (id, venda_cod, entrada, concluido) values"
                         " (1, 'V1', 10, 1)"));
    l.perfil("001", Impressora::Matricial, QStringLiteral("Arquivo"),
             [](TPerfil_Impressao& p) { p.impress_Salto = 2; });
    const QString relatorio = l.pasta() + QStringLiteral("Print_Relatorios.txt");
    for (int vez = 0; vez < 2; ++vez) { // replaced, not appended to
        Imprime_Cupom_NaoFiscal_LOCAL(l.dm, l.cfg, 1, true);
        const QStringList composto = l.preImpressao();
        // The composed feed (2 + 1) and the port's own (2 + 1).
        EXPECT_EQ(Loja::linhasDe(relatorio), composto + QStringList(3, QString()));
        EXPECT_EQ(composto.mid(composto.size() - 3), QStringList(3, QString()));
    }
}

TEST(Canais, UpperCaseArquivoIsAPlainFileName) {
    Loja l;
    l.sql(QStringLiteral("insert into venda (id, venda_cod, concluido) values (1, 'V1', 1)"));
    l.perfil("001", Impressora::Matricial, QStringLiteral("ARQUIVO"));
    const QString antes = QDir::currentPath();
    QDir::setCurrent(l.dir.path());
    Imprime_Cupom_NaoFiscal_LOCAL(l.dm, l.cfg, 1, true);
    QDir::setCurrent(antes);
    EXPECT_TRUE(l.dir.exists("ARQUIVO"));
    EXPECT_FALSE(QFileInfo::exists(l.pasta() + QStringLiteral("Print_Relatorios.txt")));
}

TEST(Canais, PortErrorEndsTheReceipt) {
    Loja l;
    l.sql(QStringLiteral("insert into venda (id, venda_cod, concluido) values (1, 'V1', 1)"));
    l.perfil("001", Impressora::Matricial, l.dir.file("sem-pasta/porta"));
    l.cfg.conf_cupom_copias = 2;
    EXPECT_THROW(Imprime_Cupom_NaoFiscal_LOCAL(l.dm, l.cfg, 1, true), FileError);
    // The second copy is never asked for.
    EXPECT_EQ(MessageBox::shown().size(), 1);
}

TEST(Canais, PrintLibraryIsLinkedIn) {
    // The library's own answer for a file that is not there: false, and no window.
    TestDir d;
    EXPECT_FALSE(Canais_Externos().Mini_Termica(d.file("nada.txt"), QString(), true));
    EXPECT_FALSE(Impressao_Mini_Termica(nullptr, nullptr, false));
}

} // namespace
