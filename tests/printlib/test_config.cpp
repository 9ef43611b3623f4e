#include "Config_Unit.h"
#include "Preview_Unit.h"
#include "PrintSerial_Config.h"

#include "foundation/MessageBox.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace PrintSerial;

namespace {

class ConfigTest : public ::testing::Test {
protected:
    TestDir dir;
    QString ini() const { return dir.file(QStringLiteral("confg.ini")); }
    void SetUp() override { MessageBox::clearShown(); }

    // Runs `acao` inside the next modal window's event loop, then closes that window.
    template <class Janela>
    static void naJanela(std::function<void(Janela&)> acao, bool* visto = nullptr) {
        QTimer::singleShot(0, [acao, visto] {
            auto* j = qobject_cast<Janela*>(QApplication::activeModalWidget());
            if (!j) return;
            if (visto) *visto = true;
            acao(*j);
            j->reject();
        });
    }
};

} // namespace

TEST(ConfigIntegers, NumbersAreBroughtIntoTheirRange) {
    struct Caso {
        const char* texto;
        Faixa faixa;
        qint32 valor;
    } casos[] = {
        {"3", Faixa_Fonte, 6},
        {"30", Faixa_Fonte, 25},
        {" 12 ", Faixa_Fonte, 12},
        {"+8", Faixa_Fonte, 8},
        {"-5", Faixa_Margem, 0},
        {"1000000", Faixa_Margem, 999999},
        {"99999999999999999999999", Faixa_Papel, 999999},
        {"-99999999999999999999999", Faixa_Papel, 5},
        {"abc", Faixa_Fonte, 6},
        {"7,5", Faixa_Papel, 5},
        {"", Faixa_Margem, 0},
    };
    for (const Caso& c : casos) EXPECT_EQ(Inteiro_Na_Faixa(c.texto, c.faixa), c.valor) << c.texto;
}

TEST_F(ConfigTest, ReadKeepsMissingKeysAndSaveWritesTheWholeSection) {
    dir.write("confg.ini", "[conf]\r\nCasa_Decimal=2\r\n[printserialdll]\r\nFonteTamanho=3\r\n"
                           "QRCode_Print=0\r\nMargemEsq=x\r\n[IMPRESSAO]\r\nimpress_nome001=A\r\n");
    TPrintSerial_Config atual;
    atual.PapelLargura = 20;
    TPrintSerial_Config c = Config_Ler(ini(), atual);
    EXPECT_EQ(c.FonteTamanho, 6);
    EXPECT_FALSE(c.QRCode_Print);
    EXPECT_EQ(c.MargemEsq, 0);
    EXPECT_EQ(c.PapelLargura, 20); // missing: the value it had
    EXPECT_TRUE(c.Visualizar);

    c.ArquivoOLD = QStringLiteral("  /tmp/Pre Impressao.txt  ");
    c.CBarra = QStringLiteral("d'agua");
    Config_Salvar(ini(), c);
    // The terminal's own sections share the file and stay as they were.
    EXPECT_EQ(QString::fromUtf8(dir.read("confg.ini")),
              "[conf]\r\nCasa_Decimal=2\r\n[printserialdll]\r\nFonteTamanho=6\r\n"
              "QRCode_Print=0\r\nMargemEsq=0\r\nArquivoOLD=/tmp/Pre Impressao.txt\r\n"
              "Visualizar=1\r\nCBarra=d'agua\r\nPapelLargura=20\r\nPapelAltura=15\r\n"
              "MargemSup=1\r\nMargemInf=1\r\nMargemDir=1\r\n[IMPRESSAO]\r\nimpress_nome001=A\r\n");
}

TEST_F(ConfigTest, FreshInstallationShowsTheDefaults) {
    TConfig1 f(ini());
    f.show();
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Configuração da DLL"));
    EXPECT_EQ(f.width(), 412);
    EXPECT_EQ(f.Spn_PapelLargura->value(), 15);
    EXPECT_EQ(f.Spn_PapelAltura->value(), 15);
    EXPECT_EQ(f.Spn_FonteTamanho->value(), 7);
    for (QSpinBox* s : {f.Spn_MargemSup, f.Spn_MargemDir, f.Spn_MargemEsq, f.Spn_MargemInf})
        EXPECT_EQ(s->value(), 1) << s->objectName().toStdString();
    EXPECT_TRUE(f.Rad_Visualizar->isChecked());
    EXPECT_FALSE(f.Rad_Imprimir->isChecked());
    EXPECT_TRUE(f.QRCode_Print->isChecked());
    EXPECT_TRUE(f.Edt_Arquivo->text().isEmpty());
    EXPECT_FALSE(dir.exists("confg.ini")); // showing reads, never writes
}

TEST_F(ConfigTest, FontSizeThreeShowsSixAndSavesSix) {
    dir.write("confg.ini", "[PrintSerialDLL]\r\nFonteTamanho=3\r\nVisualizar=0\r\n");
    TConfig1 f(ini());
    f.show();
    EXPECT_EQ(f.Spn_FonteTamanho->value(), 6);
    EXPECT_TRUE(f.Rad_Imprimir->isChecked());
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    const QString texto = QString::fromUtf8(dir.read("confg.ini"));
    EXPECT_TRUE(texto.contains("FonteTamanho=6\r\n"));
    EXPECT_TRUE(texto.contains("Visualizar=0\r\n"));
}

TEST_F(ConfigTest, CancelLeavesTheFileAsItWas) {
    const QByteArray antes = "[PrintSerialDLL]\r\nPapelLargura=16\r\n";
    dir.write("confg.ini", antes);
    TConfig1 f(ini());
    f.show();
    f.Spn_PapelLargura->setValue(30);
    f.Rad_Imprimir->setChecked(true);
    f.Edt_Arquivo->setText(QStringLiteral("/tmp/outro.txt"));
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(dir.read("confg.ini"), antes);
}

TEST_F(ConfigTest, UnwritableFileIsReportedAndTheFormStaysOpen) {
    dir.write("confg.ini", "[PrintSerialDLL]\r\n");
    ReadOnly trava(ini());
    if (!trava.ok()) GTEST_SKIP() << "this file system cannot make a file read-only";
    TConfig1 f(ini());
    f.show();
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_TRUE(MessageBox::shown().constFirst().startsWith("Unable to write to"));
}

TEST_F(ConfigTest, FileChooserOffersTextFilesAndFillsTheField) {
    dir.write("cupom.txt", "x\r\n");
    TConfig1 f(ini());
    f.show();
    bool visto = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        visto = true;
        EXPECT_EQ(d->nameFilters(), QStringList{"Arquivo TXT (*.txt)"});
        d->selectFile(dir.file("cupom.txt"));
        static_cast<QDialog*>(d)->accept();
    });
    f.SpeedButton1->click();
    EXPECT_TRUE(visto);
    EXPECT_EQ(f.Edt_Arquivo->text(), dir.file("cupom.txt"));
}

TEST_F(ConfigTest, TestPrintTakesTheCodeFromTheLastQRTextNotTheBox) {
    QByteArray vinte;
    for (int i = 0; i < 20; ++i) vinte += "linha\r\n";
    dir.write("cupom.txt", vinte);
    struct Caso {
        const char* cbarra;
        bool caixa;
        bool rodape;
        double altura;
    } casos[] = {
        {"", true, false, 100},
        {"   ", true, false, 100},
        {"loja", false, true, 150},
    };
    for (const Caso& c : casos) {
        dir.write("confg.ini", QByteArray("[PrintSerialDLL]\r\nArquivoOLD=") +
                                   dir.file("cupom.txt").toUtf8() + "\r\nCBarra=" + c.cbarra +
                                   "\r\nQRCode_Print=" + (c.caixa ? "1" : "0") + "\r\n");
        const QByteArray antes = dir.read("confg.ini");
        TConfig1 f(ini());
        f.show();
        bool visto = false;
        naJanela<TPreview>(
            [&](TPreview& p) {
                EXPECT_EQ(p.Conteudo().Com_Rodape(), c.rodape) << c.cbarra;
                EXPECT_EQ(p.Conteudo().Tamanho(), QSizeF(75, c.altura)) << c.cbarra;
            },
            &visto);
        QTest::mouseClick(f.Button3, Qt::LeftButton);
        EXPECT_TRUE(visto) << c.cbarra;
        EXPECT_EQ(dir.read("confg.ini"), antes); // a test print saves nothing
    }
}

TEST_F(ConfigTest, TestPrintOfAMissingFileShowsNothing) {
    TConfig1 f(ini());
    f.show();
    for (const QString& arquivo : {QString(), dir.file("nao_existe.txt")}) {
        f.Edt_Arquivo->setText(arquivo);
        bool visto = false;
        naJanela<QDialog>([](QDialog&) {}, &visto);
        QTest::mouseClick(f.Button4, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_FALSE(visto);
    }
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}
