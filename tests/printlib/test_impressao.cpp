#include "Preview_Unit.h"
#include "PrintSerial_Config.h"
#include "PrintSerial_Impressao.h"

#include "printlib/Ferramentas.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using PrintSerial::Impressao_Executar;

namespace {

class ImpressaoTest : public ::testing::Test {
protected:
    TestDir dir;
    QString ini() const { return dir.file(QStringLiteral("confg.ini")); }

    void linhas(const QString& nome, int n) const {
        QByteArray b;
        for (int i = 1; i <= n; ++i) b += "ITEM " + QByteArray::number(i) + " AGUA MINERAL\r\n";
        dir.write(nome, b);
    }

    // The call with the preview on; `acao` runs in the preview, which is then closed.
    bool comPreview(const QString& arquivo, const QString& qr,
                    std::function<void(TPreview&)> acao = {}) {
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* p = qobject_cast<TPreview*>(QApplication::activeModalWidget());
            if (!p) return;
            visto = true;
            if (acao) acao(*p);
            QTest::keyClick(p, Qt::Key_Escape);
        });
        const bool r = Impressao_Executar(arquivo, qr, true, ini());
        EXPECT_TRUE(visto);
        return r;
    }
};

} // namespace

TEST_F(ImpressaoTest, MissingFileNeitherReadsNorWritesTheSettings) {
    const QByteArray antes = "[PrintSerialDLL]\r\nFonteTamanho=3\r\n";
    for (const QString& arquivo : {QString(), dir.file("nao_existe.txt"), dir.path()}) {
        EXPECT_FALSE(Impressao_Executar(arquivo, "x", true, ini()));
        EXPECT_FALSE(dir.exists("confg.ini"));
    }
    dir.write("confg.ini", antes);
    EXPECT_FALSE(Impressao_Executar(dir.file("nao_existe.txt"), "x", false, ini()));
    EXPECT_EQ(dir.read("confg.ini"), antes);
}

TEST_F(ImpressaoTest, PreviewShowsThePageOfTheSettingsAndTheCallIsRecorded) {
    linhas("PreImpressao.txt", 20);
    dir.write("confg.ini", "[conf]\r\nimprimir_venda=1\r\n[PrintSerialDLL]\r\nFonteTamanho=3\r\n"
                           "PapelLargura=16\r\nArquivoOLD=velho.txt\r\nCBarra=velho\r\n");
    const QString arquivo = dir.file("PreImpressao.txt");
    EXPECT_TRUE(comPreview(arquivo, QStringLiteral("d'agua"), [](TPreview& p) {
        const Relatorio::TRelatorio& r = p.Conteudo();
        EXPECT_EQ(r.Tamanho(), QSizeF(80, 150));
        EXPECT_EQ(r.Pagina().QRCode, "d'agua");
        EXPECT_EQ(r.Fonte().pointSize(), 6);
        EXPECT_EQ(r.Linhas().size(), 20);
    }));
    const QString texto = QString::fromUtf8(dir.read("confg.ini"));
    EXPECT_TRUE(texto.startsWith("[conf]\r\nimprimir_venda=1\r\n"));
    EXPECT_TRUE(texto.contains("FonteTamanho=6\r\n"));
    EXPECT_TRUE(texto.contains("ArquivoOLD=" + arquivo + "\r\n"));
    EXPECT_TRUE(texto.contains("CBarra=d'agua\r\n"));
    EXPECT_TRUE(texto.contains("QRCode_Print=1\r\n")); // written back as loaded

    // An empty QR text is recorded as such and leaves the code out.
    EXPECT_TRUE(comPreview(arquivo, QString(), [](TPreview& p) {
        EXPECT_FALSE(p.Conteudo().Com_Rodape());
        EXPECT_EQ(p.Conteudo().Tamanho(), QSizeF(80, 150));
    }));
    EXPECT_TRUE(QString::fromUtf8(dir.read("confg.ini")).contains("CBarra=\r\n"));
}

TEST_F(ImpressaoTest, PreviewZoomsSearchesAndExports) {
    linhas("PreImpressao.txt", 60);
    bool exportado = false;
    comPreview(dir.file("PreImpressao.txt"), QStringLiteral("loja"), [&](TPreview& p) {
        p.activateWindow(); // shortcuts reach the active window only
        ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
        EXPECT_EQ(p.Lab_Zoom->text(), "100%");
        QTest::mouseClick(p.Btn_Zoom_Mais, Qt::LeftButton);
        EXPECT_EQ(p.Lab_Zoom->text(), "125%");
        QTest::keyClick(&p, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(&p, Qt::Key_Minus, Qt::ControlModifier);
        EXPECT_EQ(p.Lab_Zoom->text(), "80%");
        for (int i = 0; i < 20; ++i) QTest::mouseClick(p.Btn_Zoom_Menos, Qt::LeftButton);
        EXPECT_EQ(p.Lab_Zoom->text(), "25%");
        EXPECT_FALSE(p.Btn_Zoom_Menos->isEnabled());
        p.Zoom_Definir(2);

        // Ctrl+F, the text, Enter: the next row holding it, wrapping round, case aside.
        QTest::keyClick(&p, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(p.Edt_Localizar, QStringLiteral("item 5"));
        QTest::keyClick(p.Edt_Localizar, Qt::Key_Return);
        EXPECT_EQ(p.Achado_Linha(), 4);
        QTest::keyClick(p.Edt_Localizar, Qt::Key_Return);
        EXPECT_EQ(p.Achado_Linha(), 49); // "ITEM 50"
        EXPECT_GT(p.Scr_Pagina->verticalScrollBar()->value(), 0);
        for (int i = 0; i < 10; ++i) QTest::keyClick(p.Edt_Localizar, Qt::Key_Return);
        EXPECT_EQ(p.Achado_Linha(), 4);
        p.Edt_Localizar->clear();
        QTest::keyClicks(p.Edt_Localizar, QStringLiteral("refrigerante"));
        EXPECT_FALSE(p.Localizar_Proximo());
        EXPECT_EQ(p.Achado_Linha(), -1);
        EXPECT_TRUE(p.Lab_Status->text().startsWith(QString::fromUtf8("Texto não encontrado")));

        exportado = p.Exportar_PDF(dir.file("exportado.pdf"));
    });
    EXPECT_TRUE(exportado);
    if (!Ferramentas::Existe(QStringLiteral("pdfinfo"))) GTEST_SKIP() << "poppler-utils is not installed";
    const QSizeF mm = Ferramentas::Pdf_Tamanho(dir.file("exportado.pdf"));
    EXPECT_NEAR(mm.width(), 75, 0.2);
    EXPECT_NEAR(mm.height(), 350, 0.2);
    EXPECT_EQ(Ferramentas::Pdf_Linhas(dir.file("exportado.pdf")).value(59), "ITEM 60 AGUA MINERAL");
}
