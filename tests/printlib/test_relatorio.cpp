#include "QRCode_Desenho.h"
#include "Relatorio.h"

#include "printlib/Ferramentas.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using namespace Relatorio;

namespace {

QStringList numeradas(int n) {
    QStringList l;
    for (int i = 1; i <= n; ++i) l << QStringLiteral("LINHA %1 DO CUPOM").arg(i, 2, 10, QLatin1Char('0'));
    return l;
}

bool temPoppler() {
    return Ferramentas::Existe(QStringLiteral("pdfinfo")) &&
           Ferramentas::Existe(QStringLiteral("pdftotext")) &&
           Ferramentas::Existe(QStringLiteral("pdftoppm"));
}

#define PRECISA_POPPLER()                                                                          \
    if (!temPoppler()) GTEST_SKIP() << "poppler-utils is not installed (scripts/setup.sh)"

} // namespace

TEST(LinhasTexto, LinesOfTheFileInEitherEncoding) {
    const QString longa = QString(300, QLatin1Char('x'));
    // U+1D11E needs two UTF-16 units; a cut between them would leave half a character.
    const QString clave = QString::fromUtf8("\xF0\x9D\x84\x9E");
    const QString quaseCheia = QString(254, QLatin1Char('a')) + clave;
    struct Caso {
        const char* nome;
        QByteArray bytes;
        QStringList linhas;
    } casos[] = {
        {"empty file", "", {}},
        {"CRLF with a final break", "a\r\nb\r\n", {"a", "b"}},
        {"LF without a final break", "a\nb", {"a", "b"}},
        {"lone CR", "a\rb", {"a", "b"}},
        {"blank lines kept", "\r\n\r\nc\r\n", {"", "", "c"}},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFp\xC3\xA3o\r\n", {QString::fromUtf8("pão")}},
        {"code page text", "caf\xC3\xA9\n", {QString::fromUtf8("café")}},
        {"300 characters cut to 255", longa.toUtf8(), {longa.left(255)}},
        {"the cut keeps characters whole", (quaseCheia + QStringLiteral("zz")).toUtf8(),
         {QString(254, QLatin1Char('a'))}},
    };
    for (const Caso& c : casos) EXPECT_EQ(Linhas_Texto(c.bytes), c.linhas) << c.nome;
}

TEST(Pagina, SizeFollowsTheLinesAndTheQRBox) {
    TPrintSerial_Config c; // 15 wide, margins of 1, QR box ticked
    struct Caso {
        const char* nome;
        bool caixa;
        int largura;
        int linhas;
        QString qr;
        bool teste; // the settings form's test print
        QSizeF tamanho;
        bool rodape;
    } casos[] = {
        {"20 lines, box ticked", true, 15, 20, "x", false, {75, 150}, true},
        {"20 lines, box unticked", false, 15, 20, "x", false, {75, 100}, false},
        {"box ticked, empty QR text keeps the room", true, 15, 20, "", false, {75, 150}, false},
        {"width 16", true, 16, 20, "x", false, {80, 150}, true},
        {"empty file, box ticked", true, 15, 0, "x", false, {75, 50}, true},
        {"a short page grows to its content", false, 15, 1, "", false, {75, 14}, false},
        {"test print: box unticked, QR text", false, 15, 20, "x", true, {75, 150}, true},
        {"test print: box ticked, blank QR text", true, 15, 20, "  ", true, {75, 100}, false},
    };
    for (const Caso& k : casos) {
        c.QRCode_Print = k.caixa;
        c.PapelLargura = k.largura;
        const TPagina p = k.teste ? Pagina_Teste(c, k.linhas, k.qr) : Pagina_Impressao(c, k.linhas, k.qr);
        const TRelatorio r(QStringList(k.linhas, QStringLiteral("x")), p);
        EXPECT_EQ(r.Tamanho(), k.tamanho) << k.nome;
        EXPECT_EQ(r.Com_Rodape(), k.rodape) << k.nome;
    }
}

TEST(Pagina, MarginsAndTheCodeSquare) {
    TPrintSerial_Config c;
    c.PapelLargura = 16;
    c.MargemEsq = 1;
    c.MargemDir = 3;
    c.MargemSup = 2;
    const TRelatorio r(numeradas(20), Pagina_Impressao(c, 20, QStringLiteral("x")));
    EXPECT_EQ(r.Linha_Retangulo(0).topLeft(), QPointF(5 + Linha_Recuo, 10));
    EXPECT_EQ(r.Linha_Retangulo(19).top(), 10 + 19 * 4);
    // The footer band runs between the margins; the code sits centred 1 mm below its top.
    const QRectF qr = r.QR_Retangulo();
    EXPECT_DOUBLE_EQ(qr.width(), 22.2);
    EXPECT_DOUBLE_EQ(qr.height(), 22.2);
    EXPECT_DOUBLE_EQ(qr.top(), 10 + 20 * 4 + 1);
    EXPECT_DOUBLE_EQ(qr.center().x(), 5 + (80 - 5 - 15) / 2.0);
}

class PdfTest : public ::testing::Test {
protected:
    TestDir dir;
    QString pdf(const TRelatorio& r, const QString& nome = QStringLiteral("pagina.pdf")) {
        const QString arquivo = dir.file(nome);
        EXPECT_TRUE(r.Gravar_PDF(arquivo));
        return arquivo;
    }
    static void esperarTamanho(const QSizeF& real, const QSizeF& esperado) {
        // PDF page sizes are whole points.
        EXPECT_NEAR(real.width(), esperado.width(), 0.2);
        EXPECT_NEAR(real.height(), esperado.height(), 0.2);
    }
};

TEST_F(PdfTest, PageSizesAsPrinted) {
    PRECISA_POPPLER();
    TPrintSerial_Config c;
    esperarTamanho(Ferramentas::Pdf_Tamanho(pdf(TRelatorio(numeradas(20), Pagina_Impressao(c, 20, "x")))),
                   {75, 150});
    c.QRCode_Print = false;
    esperarTamanho(Ferramentas::Pdf_Tamanho(pdf(TRelatorio(numeradas(20), Pagina_Impressao(c, 20, "x")))),
                   {75, 100});
    c.PapelLargura = 16;
    esperarTamanho(Ferramentas::Pdf_Tamanho(pdf(TRelatorio(numeradas(20), Pagina_Impressao(c, 20, "x")))),
                   {80, 100});
    // Wider than tall stays so: the page is never turned.
    c.PapelLargura = 40;
    esperarTamanho(Ferramentas::Pdf_Tamanho(pdf(TRelatorio(numeradas(2), Pagina_Impressao(c, 2, "")))),
                   {200, 18});
}

TEST_F(PdfTest, TextIsTheFilesLinesWithLongOnesCut) {
    PRECISA_POPPLER();
    dir.write("cupom.txt", QByteArray("       BALCONA - LOJA DO CENTRO\r\n") +
                               QByteArray("d'agua 1,000 x 3,50\r\n") + QByteArray(300, '9') +
                               "\r\n\r\nFIM\r\n");
    const QStringList linhas = Linhas_Ler(dir.file("cupom.txt"));
    TPrintSerial_Config c;
    c.QRCode_Print = false;
    c.PapelLargura = 80; // 400 mm: room for 255 characters
    const QStringList largo = Ferramentas::Pdf_Linhas(
        pdf(TRelatorio(linhas, Pagina_Impressao(c, int(linhas.size()), QString()))));
    EXPECT_EQ(largo, QStringList({"BALCONA - LOJA DO CENTRO", "d'agua 1,000 x 3,50",
                                  QString(255, QLatin1Char('9')), "FIM"}));

    // On receipt paper the page edge hides the rest of the row, past the right margin.
    c.PapelLargura = 15;
    const QStringList estreito = Ferramentas::Pdf_Linhas(
        pdf(TRelatorio(linhas, Pagina_Impressao(c, int(linhas.size()), QString()))));
    ASSERT_EQ(estreito.size(), 4);
    const qsizetype visiveis = estreito[2].size();
    EXPECT_EQ(estreito[2], QString(visiveis, QLatin1Char('9')));
    EXPECT_GT(visiveis, 44); // (75 - 10) mm at 7 points
    EXPECT_LT(visiveis, 52); // 75 mm at 7 points
}

TEST_F(PdfTest, TheCodeDecodesAsTheTextStands) {
    PRECISA_POPPLER();
    if (!Ferramentas::Existe(QStringLiteral("zbarimg"))) GTEST_SKIP() << "zbar-tools is not installed";
    TPrintSerial_Config c;
    for (const QString& qr : {QStringLiteral("d'agua"), QStringLiteral("https://instagram.com/loja_do_centro"),
                              QStringLiteral("12345678901234567890"), QStringLiteral("LOJA DO CENTRO")}) {
        const TRelatorio r(numeradas(3), Pagina_Impressao(c, 3, qr));
        EXPECT_EQ(Ferramentas::Pdf_QRCodes(pdf(r)), QStringList{qr}) << qr.toStdString();
    }
}

TEST_F(PdfTest, EmptyFileWithTheCodeShowsOnlyTheFooter) {
    PRECISA_POPPLER();
    if (!Ferramentas::Existe(QStringLiteral("zbarimg"))) GTEST_SKIP() << "zbar-tools is not installed";
    const TRelatorio r({}, Pagina_Impressao(TPrintSerial_Config(), 0, QStringLiteral("loja")));
    const QString arquivo = pdf(r);
    EXPECT_TRUE(Ferramentas::Pdf_Linhas(arquivo).isEmpty());
    EXPECT_EQ(Ferramentas::Pdf_QRCodes(arquivo), QStringList{"loja"});
}

TEST(QRCode, NoQuietZoneAndUnencodableTextDrawsNothing) {
    // Drawn at one pixel a module, the code's first row starts with its finder pattern.
    const TQRModulos m = QRCode_Codificar(QStringLiteral("d'agua"));
    ASSERT_EQ(m.Lado, 21); // version 1 at level L
    QImage img(m.Lado, m.Lado, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        QRCode_Desenhar(p, QRectF(0, 0, m.Lado, m.Lado), QStringLiteral("d'agua"));
    }
    for (int x = 0; x < 7; ++x) EXPECT_EQ(img.pixelColor(x, 0), Qt::black) << x;
    EXPECT_EQ(img.pixelColor(7, 0), Qt::white);

    // Beyond a symbol's capacity there is no code at all, not a broken one.
    EXPECT_TRUE(QRCode_Codificar(QString(3000, QLatin1Char('z'))).Vazio());
    EXPECT_TRUE(QRCode_Codificar(QString()).Vazio());
}
