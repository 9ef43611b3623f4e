// Signing in against the cloud account and synchronising the catalogue, on the main
// window, with the simulator of the account.

#include "cloud/Tarvel_Sincronia_Donwload_Unit.h"
#include "foundation/DModule_Unit.h"
#include "foundation/Database.h"
#include "foundation/IniFile.h"
#include "foundation/MessageBox.h"
#include "sale/Login_Tab_Unit.h"
#include "sale/Principal_Unit.h"
#include "sale/Sincronia_Tela_Unit.h"
#include "sale/Vendas_Tab_Unit.h"
#include "widgets/CircleButton.h"

#include "support/CloudSim.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

class Nuvem : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::clearShown();
        sim.usar();
        // The installation's folder of the reply dump, under a home of the test's own.
        m_home = qgetenv("HOME");
        qputenv("HOME", dir.path().toUtf8());
        QDir().mkpath(dir.path() + "Tarvel");
        QFile::copy(QStringLiteral(ONDAVIA_PROGRAM_DIR "/dbase.s3db"), dir.file("dbase.s3db"));
        QFile::setPermissions(dir.file("dbase.s3db"), QFile::ReadOwner | QFile::WriteOwner);
        dm = std::make_unique<TDModule>(dir.path());
        dm->DataModuleCreate();
        w = std::make_unique<TPrincipal>(*dm);
        w->resize(1366, 768);
        w->show();
        QApplication::setActiveWindow(w.get());
    }
    void TearDown() override {
        // A run still going must not outlive the window it reports to.
        QTRY_VERIFY_WITH_TIMEOUT(!Tarvel_Sincronia_Donwload::Ativa(), 30000);
        w.reset();
        dm.reset();
        MessageBox::clearShown();
        qputenv("HOME", m_home);
    }

    void entrar(const QString& email = CloudSim::EMAIL, const QString& senha = CloudSim::SENHA) {
        w->Login().Email_Definir(email);
        w->Login().Edt_Usuario_Password->setText(senha);
        w->Login().Login_Entrar();
    }

    // F5 opens the drop-down; Enter on its first entry starts the simple run.
    void sincronizar() {
        QTest::keyClick(w->Vendas().Edt_Prod_Busca, Qt::Key_F5);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!Tarvel_Sincronia_Donwload::Ativa(), 30000);
        qApp->processEvents();
    }

    QString sql(const QString& consulta) {
        db::Query q(dm->FDConnection1);
        q.setSql(consulta);
        q.open();
        return q.eof() ? QString() : q.field(0).asString();
    }

    QString empresa() const { return dir.path() + "11222333000181/"; }

    CloudSim sim;
    TestDir dir;
    QByteArray m_home;
    std::unique_ptr<TDModule> dm;
    std::unique_ptr<TPrincipal> w;
};

TEST_F(Nuvem, SignInOnline) {
    entrar();
    EXPECT_TRUE(w->ConexaoWeb);
    EXPECT_EQ(w->Aba_Atual(), w->Tab_Vendas);
    EXPECT_EQ(w->Lab_Emp_Name->text(),
              QString::fromUtf8("Mercadinho São José [11.222.333/0001-81]"));
    EXPECT_EQ(dm->FDConnection1.path(), empresa() + "dbase.s3db");
    EXPECT_EQ(w->Config.conf_venda_altvalor, 1);
    EXPECT_TRUE(w->Login().Email_Texto().isEmpty());
    EXPECT_TRUE(w->Login().Emails().contains(CloudSim::EMAIL));

    const QJsonArray logins = sim.requests("login");
    ASSERT_EQ(logins.size(), 1);
    const QJsonArray campos = logins[0].toObject()["fields"].toArray();
    QStringList nomes;
    for (const auto& c : campos)
        nomes << c.toArray()[0].toString();
    EXPECT_EQ(nomes, (QStringList{"usuario_email", "usuario_senha", "comando", "horario"}));

    // The first sign-in of the company asks for everything at the next synchronisation.
    IniFile ini(dir.file("confg.ini"));
    EXPECT_EQ(ini.ReadDateTime(CloudSim::EMAIL, "dt_sinc_update", {}),
              QDateTime(QDate(1982, 3, 15), QTime(0, 0)));
}

TEST_F(Nuvem, CloudDownFallsBackToTheSavedCredentials) {
    entrar(); // saves the credentials
    MessageBox::setNextAnswer(MessageBox::Ok);
    w->Img_CloseClick(); // sign out
    sim.falhar("login", "500");
    entrar();
    EXPECT_FALSE(w->ConexaoWeb);
    EXPECT_EQ(w->Aba_Atual(), w->Tab_Vendas);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("ResponseContent="));
    EXPECT_TRUE(MessageBox::shown().size() == 1); // only the sign-out question
}

TEST_F(Nuvem, WrongPasswordIsRefused) {
    entrar(CloudSim::EMAIL, "errada");
    EXPECT_EQ(w->Aba_Atual(), w->Tab_Login);
    EXPECT_EQ(w->Login().Lab_Login_Title->text(), QString::fromUtf8("Usuário Não Encontrado"));
}

TEST_F(Nuvem, SimpleSynchronisationFillsTheCatalogue) {
    entrar();
    sincronizar();
    EXPECT_NE(sql("select count(*) from produtos"), "0")
        << QGuiApplication::clipboard()->text().left(300).toStdString();
    EXPECT_NE(sql("select count(*) from clientes"), "0");
    EXPECT_TRUE(QFile::exists(dir.path() + "Tarvel/JSONText.txt"));
    EXPECT_EQ(sql("pragma integrity_check"), "ok");

    const QJsonArray pedidos = sim.requests("sincronia");
    ASSERT_EQ(pedidos.size(), 1);
    bool achou = false;
    for (const auto& c : pedidos[0].toObject()["fields"].toArray())
        if (c.toArray()[0].toString() == "dt_update") {
            EXPECT_EQ(c.toArray()[1].toString(), "1982-03-15 00:00:00");
            achou = true;
        }
    EXPECT_TRUE(achou);

    // The screen is back, and the product names fill the search box's list.
    TVendas_Tab& v = w->Vendas();
    EXPECT_FALSE(v.Mem_Update->isVisible());
    EXPECT_TRUE(v.Lbx_Cupom->isVisible());
    EXPECT_EQ(v.Lab_Cupom_Title->text(), "Produtos");
    EXPECT_GT(v.Edt_Prod_Busca->count(), 20);
    EXPECT_EQ(w->Circ_Update->fillColor(), QColor(0x32, 0xCD, 0x32));
    IniFile ini(dir.file("confg.ini"));
    EXPECT_GT(ini.ReadDateTime(CloudSim::EMAIL, "dt_sinc_update", {}),
              QDateTime::currentDateTime().addSecs(-60));
}

TEST_F(Nuvem, ANewerInstallerIsAnnounced) {
    entrar();
    sim.instalador("2999-01-01 00:00:00");
    sincronizar();
    EXPECT_TRUE(w->Sincronia_Animando());
    EXPECT_TRUE(w->findChild<QPushButton*>("Rct_Update_App")->styleSheet().contains("#FF0000"));

    // An installer older than the executable announces nothing.
    w->Sincronia_Animacao(false);
    sim.instalador("2001-01-01 00:00:00");
    sincronizar();
    EXPECT_FALSE(w->Sincronia_Animando());
}

TEST_F(Nuvem, FailedSynchronisationKeepsTheLastDate) {
    entrar();
    sim.falhar("sincronia", "json");
    sincronizar();
    TVendas_Tab& v = w->Vendas();
    EXPECT_EQ(v.Edt_Prod_Busca->currentText(), "Erro Inesperado!");
    EXPECT_TRUE(v.Lbx_Cupom->isVisible());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Line = 0"));
    IniFile ini(dir.file("confg.ini"));
    EXPECT_EQ(ini.ReadDateTime(CloudSim::EMAIL, "dt_sinc_update", {}),
              QDateTime(QDate(1982, 3, 15), QTime(0, 0)));
    EXPECT_EQ(sql("pragma integrity_check"), "ok");
}

TEST_F(Nuvem, OfflineSignInOffersNoSynchronisation) {
    entrar();
    MessageBox::setNextAnswer(MessageBox::Ok);
    w->Img_CloseClick();
    sim.falhar("login", "recusar");
    entrar();
    ASSERT_FALSE(w->ConexaoWeb);
    sincronizar();
    EXPECT_TRUE(sim.requests("sincronia").isEmpty());
}

TEST_F(Nuvem, FullSynchronisationAsksAboutUnsentSales) {
    entrar();
    sincronizar();
    dm->FDConnection1.exec(
        QStringLiteral(
            "insert into venda (id, venda_cod, Dt_Venda, concluido, venda_status) values "
            "(1, 'X', '%1', 1, 0)")
            .arg(QDate::currentDate().toString("yyyy-MM-dd")));
    MessageBox::clearShown();
    MessageBox::setNextAnswer(MessageBox::Cancel);
    w->Sincronia().Img_Update_Completa();
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_TRUE(MessageBox::shown()[0].startsWith(QString::fromUtf8("Existem venda não enviadas")));
    EXPECT_EQ(sql("select count(*) from venda"), "1");

    MessageBox::setNextAnswer(MessageBox::Ok);
    w->Sincronia().Img_Update_Completa();
    QTRY_VERIFY_WITH_TIMEOUT(!Tarvel_Sincronia_Donwload::Ativa(), 30000);
    qApp->processEvents();
    EXPECT_EQ(sql("select count(*) from venda"), "0");
    EXPECT_NE(sql("select count(*) from produtos"), "0");
    EXPECT_EQ(sql("pragma integrity_check"), "ok");
}

TEST_F(Nuvem, DropDownByKeys) {
    entrar();
    QTest::keyClick(w->Vendas().Edt_Prod_Busca, Qt::Key_F5);
    EXPECT_TRUE(w->Sincronia().Aberto());
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Img_Update_Simples");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Img_Update_Completa");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(w->Sincronia().Aberto());
    EXPECT_EQ(QApplication::focusWidget(), w->Vendas().Edt_Prod_Busca);
    EXPECT_TRUE(MessageBox::shown().isEmpty()); // Esc did not ask to close
}

} // namespace
