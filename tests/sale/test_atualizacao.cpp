// The program update on the main window: the version query to the update site (the
// simulator), the notice on the login tab, and the installer's download from a real FTP
// server on this machine.

#include "cloud/Atualizacao.h"
#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "sale/Atualizacao_Unit.h"
#include "sale/Login_Tab_Unit.h"
#include "sale/Principal_Unit.h"
#include "widgets/CircleButton.h"

#include "support/CloudSim.h"
#include "support/FtpServer.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QVariantAnimation>

#include <memory>

namespace {

const QString NOVA = QStringLiteral("20250417\r\n");

// The texts a label had each time it was painted: what the operator saw, in order.
class Pinturas : public QObject {
public:
    explicit Pinturas(QLabel* rotulo) : m_rotulo(rotulo) { rotulo->installEventFilter(this); }
    QStringList textos;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint &&
            (textos.isEmpty() || textos.last() != m_rotulo->text()))
            textos << m_rotulo->text();
        return false;
    }

private:
    QLabel* m_rotulo;
};

class Atualizacao : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::clearShown();
        qputenv("ONDAVIA_UPDATE_HOST", sim.host().toUtf8());
        dm = std::make_unique<TDModule>(dir.path());
        dm->DataModuleCreate();
    }
    void TearDown() override {
        w.reset();
        dm.reset();
        qputenv("ONDAVIA_UPDATE_HOST", "127.0.0.1:1");
        MessageBox::clearShown();
    }

    // The main window as the program starts it, the update site answering `resposta`.
    void abrir(const QByteArray& resposta, int status = 200) {
        sim.responder(QStringLiteral("versao"), resposta, status, QStringLiteral("text/html"));
        w = std::make_unique<TPrincipal>(*dm);
        w->resize(1366, 768);
        w->show();
    }
    bool avisou() const { return !w->Atualizacao().isHidden(); }
    QPushButton* app() const { return w->findChild<QPushButton*>("Rct_Update_App"); }
    QString instalador() const { return dir.file("Instalador.exe"); }

    // Every byte value, line ends of both kinds among them, so that a text-mode
    // transfer could not pass for a binary one.
    static QByteArray binario(int tamanho) {
        QByteArray b;
        for (int i = 0; i < tamanho; ++i)
            b.append(char((i * 7 + i / 256) & 0xFF));
        b.insert(100, "\r\n\n\r\x1a");
        return b;
    }

    CloudSim sim;
    TestDir dir;
    std::unique_ptr<TDModule> dm;
    std::unique_ptr<TPrincipal> w;
};

TEST_F(Atualizacao, NewerVersionOnlyIsAnnounced) {
    const struct {
        const char* resposta;
        int status;
        bool aviso;
    } casos[] = {
        {"20250416", 200, false}, // this program's own version
        {"20250415", 200, false},          {"20250417", 200, true},   {" 20250417 ", 200, true},
        {"\r\n20250417\r\n", 200, true},   {"20250417\n", 200, true}, {"", 200, false},
        {"2025-04-17", 200, false},        {"+20250417", 200, false}, {"20250417a", 200, false},
        {"99999999999", 200, false}, // beyond an integer
        {"<html>erro</html>", 200, false}, {"20250417", 500, false},
    };
    for (const auto& c : casos) {
        abrir(c.resposta, c.status);
        SCOPED_TRACE(c.resposta);
        EXPECT_EQ(avisou(), c.aviso);
        EXPECT_EQ(w->Login().Lyt_Login->isHidden(), c.aviso);
        EXPECT_EQ(w->Atualizacao().ColorAnim_Update2->state() == QAbstractAnimation::Running,
                  c.aviso);
        EXPECT_EQ(!w->Circ_Update_Alert->isHidden(), c.aviso);
        EXPECT_EQ(w->Lab_Update_Info->text(), c.aviso ? TAtualizacao::Texto_Aviso() : QString());
        if (c.aviso) {
            EXPECT_EQ(app()->toolTip(), TAtualizacao::Texto_Aviso());
            EXPECT_EQ(w->Atualizacao().Lab_BtUpdate->text(),
                      QString::fromUtf8("BAIXAR ATUALIZAÇÃO"));
            EXPECT_TRUE(w->Atualizacao().Progress_Update->isHidden());
            EXPECT_FALSE(w->Atualizacao().Rct_BtUptd_Cancel->isHidden());
        }
        w.reset();
    }
    EXPECT_EQ(sim.requests().size(), std::size(casos));
    EXPECT_EQ(sim.requests()[0].toObject()["path"].toString(), "/downloads/web_versao.php");
    EXPECT_EQ(sim.requests()[0].toObject()["method"].toString(), "GET");
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(Atualizacao, UnreachableSiteShowsNothing) {
    qputenv("ONDAVIA_UPDATE_HOST", "127.0.0.1:1");
    abrir(NOVA.toLatin1());
    EXPECT_FALSE(avisou());
    EXPECT_FALSE(w->Login().Lyt_Login->isHidden());
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(Atualizacao, DownloadLaterBringsTheSignInBack) {
    abrir(NOVA.toLatin1());
    ASSERT_TRUE(avisou());
    QTest::mouseClick(w->Atualizacao().Rct_BtUptd_Cancel, Qt::LeftButton);
    EXPECT_FALSE(avisou());
    EXPECT_FALSE(w->Login().Lyt_Login->isHidden());
    // The title bar keeps telling of the new version.
    EXPECT_FALSE(w->Circ_Update_Alert->isHidden());
}

TEST_F(Atualizacao, DownloadReplacesTheInstallerByteForByte) {
    FtpServer ftp;
    ftp.usar();
    const QByteArray servidor = binario(3 * 1024 * 1024 + 17);
    ftp.instalador(servidor);
    dir.write("Instalador.exe", "an older installer, longer than nothing at all");
    abrir(NOVA.toLatin1());
    ASSERT_TRUE(avisou());

    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    Pinturas pinturas(w->Atualizacao().Lab_BtUpdate);
    QTest::keyClick(w->Atualizacao().Rct_BtUpdate, Qt::Key_Return);

    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join("; ").toStdString();
    EXPECT_EQ(dir.read("Instalador.exe"), servidor);
    EXPECT_FALSE(dir.exists("Instalador.exe.part"));
    TAtualizacao& a = w->Atualizacao();
    EXPECT_EQ(a.Lab_BtUpdate->text(), "Download Finalizado");
    EXPECT_TRUE(a.Progress_Update->isHidden());
    EXPECT_EQ(a.Progress_Update->maximum(), servidor.size());
    EXPECT_EQ(a.Progress_Update->value(), servidor.size());
    EXPECT_FALSE(a.Rct_BtUptd_Cancel->isHidden());
    // The screen follows the download while it holds the window.
    EXPECT_EQ(pinturas.textos,
              (QStringList{"Iniciando Download", "Realizando Download", "Download Finalizado"}));
    // The notice stays until "BAIXAR DEPOIS".
    EXPECT_TRUE(avisou());
}

TEST_F(Atualizacao, SecondDownloadInTheSameRunDoesNothing) {
    FtpServer ftp;
    ftp.usar();
    ftp.instalador("first");
    abrir("20250416");
    w->Atualizacao().Atualizacao_Baixar();
    ASSERT_EQ(dir.read("Instalador.exe"), "first");

    QFile::remove(instalador());
    ftp.instalador("second");
    app()->click(); // "Atualizar App" of the synchronisation drop-down
    w->Login().findChild<QLabel*>("Img_Download")->linkActivated("#");
    EXPECT_FALSE(dir.exists("Instalador.exe"));
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

// Whatever goes wrong, the operator reads "connection error!", the installer that was
// there stays whole, and a later click tries again.
TEST_F(Atualizacao, FailedDownloadSaysConnectionError) {
    FtpServer ftp;
    const struct {
        const char* caso;
        std::function<void()> preparar;
    } casos[] = {
        {"refused", [] { qputenv("ONDAVIA_FTP_HOST", "127.0.0.1:1"); }},
        {"wrong password",
         [&] {
             ftp.usar();
             qputenv("ONDAVIA_FTP_PASSWORD", "errada");
         }},
        {"no installer on the server", [&] { ftp.usar(); }},
    };
    abrir("20250416");
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        dir.write("Instalador.exe", "older");
        MessageBox::clearShown();
        c.preparar();
        w->Atualizacao().Atualizacao_Baixar();
        EXPECT_EQ(MessageBox::shown(), QStringList{"connection error!"});
        EXPECT_EQ(dir.read("Instalador.exe"), "older");
        EXPECT_FALSE(dir.exists("Instalador.exe.part"));
        EXPECT_EQ(w->Atualizacao().Lab_BtUpdate->text(), QString::fromUtf8("BAIXAR ATUALIZAÇÃO"));
        EXPECT_TRUE(w->Atualizacao().Progress_Update->isHidden());
    }

    MessageBox::clearShown();
    ftp.instalador("from the server");
    w->Atualizacao().Atualizacao_Baixar();
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(dir.read("Instalador.exe"), "from the server");
}

} // namespace
