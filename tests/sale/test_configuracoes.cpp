// The settings window on the main window: opened by F10, saved by Enter, cancelled by
// Esc, and the factory reset.

#include "checkout/Finalizacao_Unit.h"
#include "foundation/IniFile.h"
#include "foundation/MessageBox.h"
#include "sale/Configuracoes_Unit.h"
#include "sale/Login_Tab_Unit.h"
#include "sale/Principal_Unit.h"
#include "sale/Vendas_Tab_Unit.h"
#include "widgets/Switch.h"

#include "support/Balcao.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Presses F10 and runs `acao` on the settings window while it is open; a window still
// open afterwards is closed with Esc. True when the window opened.
bool configurar(Balcao& b, const std::function<void(TConfiguracoes&)>& acao) {
    bool aberto = false;
    QTimer::singleShot(0, [&] {
        auto* c = dynamic_cast<TConfiguracoes*>(QApplication::activeModalWidget());
        if (!c) return;
        aberto = true;
        acao(*c);
        if (c->isVisible()) QTest::keyClick(c->Cbx_TerminalTipo, Qt::Key_Escape);
    });
    b.teclar(Qt::Key_F10);
    return aberto;
}

QString conf(Balcao& b, const char* chave) {
    return IniFile(b.dir.file("confg.ini"))
        .ReadString(QStringLiteral("conf"), QString::fromLatin1(chave), QStringLiteral("?"));
}

void preferenciasDiferentes(TSettings& s) {
    s.conf_prod_img = true;
    s.conf_Buscar_Enter = false;
    s.conf_imprimir_pedido = true;
    s.conf_FormaPG_Car = false;
    s.conf_Cert_TLS11 = false;
    s.conf_ProtHTTP = QStringLiteral("http");
    s.conf_Buscar_OrderBy = QStringLiteral("estoque desc, produto");
}

TEST(Configuracoes, EnterSavesWhatTheWindowShows) {
    Balcao b(preferenciasDiferentes);
    ASSERT_TRUE(configurar(b, [](TConfiguracoes& c) {
        EXPECT_TRUE(c.Swt_prod_img->isChecked());
        EXPECT_FALSE(c.Swt_Buscar_Enter->isChecked());
        EXPECT_EQ(c.Cbx_TerminalTipo->currentText(), "CAIXA"); // stored "Caixa"
        EXPECT_EQ(c.Cbx_ProtHTTP->currentText(), "HTTPS");     // stored "http"
        EXPECT_EQ(c.Cbx_Buscar_OrderBy->currentText(), "Estoque");
        EXPECT_EQ(c.Cbx_Cupom_Mod->currentText(), "1 Linha");
        EXPECT_EQ(c.Cbx_Terminal_Mod->currentIndex(), -1); // stored empty
        EXPECT_EQ(c.Edt_Terminal_File->text(), "C:\\Tarvel\\Arquivo.txt");
        QTest::keyClick(c.Edt_Casa_Decimal, Qt::Key_Return);
        EXPECT_FALSE(c.isVisible());
    }));
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join("; ").toStdString();

    // Every switch as it was; the protocol and the sort order as the screen offers them.
    const struct {
        const char* chave;
        const char* valor;
    } esperado[] = {
        {"prod_qtd", "1"},
        {"prod_valor", "1"},
        {"prod_img", "1"},
        {"Buscar_Enter", "0"},
        {"imprimir_pedido", "1"},
        {"imprimir_venda", "0"},
        {"FormaPG_Din", "1"},
        {"FormaPG_Car", "0"},
        {"Cert_SSL2", "0"},
        {"Cert_TLS11", "0"},
        {"Cert_TLS13", "1"},
        {"ProtHTTP", "HTTPS"},
        {"Buscar_OrderBy", "estoque"},
        {"Terminal_Tipo", "CAIXA"},
        {"terminal_mod", ""},
        {"cupom_modelo", "1"},
        {"Casa_Decimal", "2"},
        {"MetdHTTP", "POST"},
    };
    for (const auto& e : esperado)
        EXPECT_EQ(conf(b, e.chave), QString::fromLatin1(e.valor)) << e.chave;
    EXPECT_EQ(b.w().Config.conf_ProtHTTP, "HTTPS");
}

// Changes reach the sale screen at once: the boxes, the decimals, and the checkout's
// payment rows.
TEST(Configuracoes, ChangesTakeEffectOnTheSaleScreen) {
    Balcao b;
    ASSERT_FALSE(b.w().Vendas().Rct_Prod_Qtd->isHidden());
    ASSERT_TRUE(configurar(b, [](TConfiguracoes& c) {
        c.Escolher_Arquivo = [](const QString&) { return QStringLiteral("/srv/consulta/p.txt"); };
        QTest::mouseClick(c.Edt_Terminal_File, Qt::LeftButton);
        EXPECT_EQ(c.Edt_Terminal_File->text(), QDir::toNativeSeparators("/srv/consulta/p.txt"));
        QTest::keyClick(c.Swt_prod_qtd, Qt::Key_Space);
        c.Swt_FormaPG_PIX->setChecked(false);
        c.Edt_Casa_Decimal->setValue(3);
        c.Cbx_Cupom_Mod->setCurrentIndex(1);
        QTest::keyClick(c.Cbx_TerminalTipo, Qt::Key_Enter);
    }));
    EXPECT_TRUE(b.w().Vendas().Rct_Prod_Qtd->isHidden());
    EXPECT_FALSE(b.w().Vendas().Rct_Prod_Valor->isHidden());
    EXPECT_EQ(b.w().Config.conf_Mask_Decimal, "0.000,");
    EXPECT_EQ(b.w().Config.conf_cupom_modelo, 2);
    EXPECT_EQ(conf(b, "terminal_file"), QDir::toNativeSeparators("/srv/consulta/p.txt"));

    b.teclar(Qt::Key_F2);
    b.w().Vendas().Produto_Busca(QStringLiteral("7891000100011"));
    b.w().Vendas().Produto_Insert();
    bool checado = false;
    QTimer::singleShot(0, [&] {
        auto* f = dynamic_cast<TFinalizacao*>(QApplication::activeModalWidget());
        if (!f) return;
        checado = true;
        EXPECT_TRUE(f->Lbx_Item_PIX->isHidden());
        EXPECT_FALSE(f->Lbx_Item_Din->isHidden());
        f->reject();
    });
    b.teclar(Qt::Key_F3);
    EXPECT_TRUE(checado);
}

TEST(Configuracoes, EscDropsTheChanges) {
    Balcao b;
    const QByteArray antes = b.dir.read("confg.ini");
    ASSERT_TRUE(configurar(b, [](TConfiguracoes& c) {
        c.Swt_prod_valor->setChecked(false);
        c.Spn_TerminalNum->setValue(4);
        QTest::keyClick(c.Spn_TerminalNum, Qt::Key_Escape);
        EXPECT_FALSE(c.isVisible());
    }));
    EXPECT_EQ(b.dir.read("confg.ini"), antes);
    EXPECT_TRUE(b.w().Config.conf_prod_valor);
    EXPECT_EQ(b.w().Config.conf_Terminal_Num, 1);
    EXPECT_FALSE(b.w().Vendas().Rct_Prod_Valor->isHidden());
}

// From the login tab nobody is signed in: the save keeps the saved credentials of the
// e-mail in the login box, so that an offline sign-in still works.
TEST(Configuracoes, SavingOnTheLoginTabKeepsTheSavedCredentials) {
    Balcao b;
    b.teclar(Qt::Key_Escape); // sign out
    ASSERT_TRUE(MessageBox::shown().contains("Deseja Finalizar o Sistema?"));
    ASSERT_EQ(b.w().Aba_Atual(), b.w().Tab_Login);
    ASSERT_EQ(b.w().Login().Email_Texto(), Balcao::EMAIL);
    ASSERT_TRUE(configurar(b, [](TConfiguracoes& c) {
        c.Swt_prod_img->setChecked(true);
        c.BtSalvar_Click();
    }));
    EXPECT_EQ(conf(b, "prod_img"), "1");

    b.w().Login().Edt_Usuario_Password->setText(QString::fromLatin1(Balcao::SENHA));
    b.w().Login().Login_Entrar();
    EXPECT_EQ(b.w().Aba_Atual(), b.w().Tab_Vendas);
    EXPECT_EQ(b.w().Config.Emp_Nome, QString::fromUtf8("Mercadinho São José"));
}

TEST(Configuracoes, FactoryResetLeavesAFreshTerminal) {
    Balcao b([](TSettings& s) {
        s.conf_prod_qtd = false;
        s.conf_Casa_Decimal = 3;
        s.conf_balanca_qtdcod = 6;
    });
    b.dir.write("Edt_Usuario_Email.items", "caixa@loja.com.br\r\noutro@loja.com.br\r\n");
    QDir().mkpath(b.pastaEmpresa() + "imagens");
    b.dir.write("11222333000181/imagens/1.png", "png");
    MessageBox::clearShown();

    MessageBox::setNextAnswer(MessageBox::Ok);
    ASSERT_TRUE(configurar(b, [](TConfiguracoes& c) {
        c.Rct_BtRestaurar->click();
        EXPECT_TRUE(c.Restaurado());
        EXPECT_FALSE(c.isVisible());
    }));
    // The question alone: nothing more runs after the reset.
    EXPECT_EQ(MessageBox::shown(), QStringList{Padrao_Fabrica_Pergunta()});
    EXPECT_FALSE(QDir(b.pastaEmpresa()).exists());
    EXPECT_FALSE(b.dir.exists("confg.ini"));
    EXPECT_TRUE(b.dir.exists("dbase.s3db"));
    EXPECT_TRUE(b.dir.exists("Edt_Usuario_Email.items"));
    EXPECT_FALSE(b.dm().FDConnection1.isOpen());
    EXPECT_FALSE(b.w().isVisible()); // the main window closed: the program ends

    // Started again: the login tab with the remembered e-mails and every default.
    TDModule dm(b.dir.path());
    dm.DataModuleCreate();
    TPrincipal w(dm);
    w.show();
    EXPECT_EQ(w.Aba_Atual(), w.Tab_Login);
    EXPECT_EQ(w.Login().Emails(), (QStringList{"caixa@loja.com.br", "outro@loja.com.br"}));
    EXPECT_TRUE(w.Login().Email_Texto().isEmpty());
    const TSettings padrao;
    EXPECT_TRUE(w.Config.conf_prod_qtd);
    EXPECT_EQ(w.Config.conf_Casa_Decimal, 2);
    EXPECT_EQ(w.Config.conf_Mask_Decimal, "0.00,");
    EXPECT_EQ(w.Config.conf_balanca_qtdcod, 7);
    EXPECT_EQ(w.Config.conf_balanca_tipo, padrao.conf_balanca_tipo);
    EXPECT_EQ(w.Config.conf_ProtHTTP, "http");
    EXPECT_EQ(w.Config.Dt_Sinc_Update, QDateTime(QDate(2022, 1, 1), QTime(0, 0)));
}

TEST(Configuracoes, FactoryResetAskedAndRefusedChangesNothing) {
    Balcao b;
    MessageBox::setNextAnswer(MessageBox::Cancel);
    ASSERT_TRUE(configurar(b, [](TConfiguracoes& c) {
        // The caption answers as the button does.
        QTest::mouseClick(c.Lab_Restaurar, Qt::LeftButton);
        EXPECT_TRUE(c.isVisible());
        EXPECT_FALSE(c.Restaurado());
    }));
    EXPECT_EQ(MessageBox::shown(), QStringList{Padrao_Fabrica_Pergunta()});
    EXPECT_TRUE(QFile::exists(b.pastaEmpresa() + "dbase.s3db"));
    EXPECT_TRUE(b.dir.exists("confg.ini"));
    EXPECT_TRUE(b.dm().FDConnection1.isOpen());
}

} // namespace
