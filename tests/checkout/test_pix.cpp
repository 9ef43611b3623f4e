#include "checkout/Pix_Core.h"
#include "cloud/WebAPI.h"
#include "foundation/Settings.h"

#include "support/CloudSim.h"
#include "support/TestDir.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

#include <functional>

#include <gtest/gtest.h>

namespace {

// The bytes zbarimg reads from the picture, as they are in the symbol (without its guess
// of their character set); empty when it reads nothing.
QByteArray zbar(const QImage& imagem, const TestDir& dir) {
    const QString arquivo = dir.file("qr.png");
    imagem.save(arquivo);
    QProcess p;
    p.start(QStringLiteral("zbarimg"),
            {QStringLiteral("--raw"), QStringLiteral("-q"), QStringLiteral("-Sbinary"), arquivo});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) return QByteArray();
    QByteArray bytes = p.readAllStandardOutput();
    if (bytes.endsWith('\n')) bytes.chop(1);
    return bytes;
}

bool temZbar() {
    return !QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty();
}

TEST(PixQrCode, ModeAndVersionFromTheTextAndZbarReadsItBack) {
    if (!temZbar()) GTEST_SKIP() << "zbarimg is not installed";
    TestDir dir;
    const struct {
        const char* nome;
        QString texto;
        int lado;         // modules plus the quiet zone: 29 is version 1, 33 version 2
        QByteArray bytes; // in the symbol
    } casos[] = {
        // 41 digits fit version 1 only in numeric mode.
        {"numeric", QStringLiteral("00020126580014123456789012345678901234567"), 29,
         "00020126580014123456789012345678901234567"},
        // 25 characters fit version 1 only in alphanumeric mode; one more needs version 2.
        {"alphanumeric", QStringLiteral("PIX 2025 $%*+-./: ABCDEFG"), 29,
         "PIX 2025 $%*+-./: ABCDEFG"},
        {"alphanumeric, 26", QStringLiteral("PIX 2025 $%*+-./: ABCDEFGH"), 33,
         "PIX 2025 $%*+-./: ABCDEFGH"},
        // 17 bytes fit version 1 in ISO-8859-1; in UTF-8 they would be 20.
        {"Latin-1", QString::fromUtf8("Pão de Açúcar 1/2"), 29,
         "P\xE3o de A\xE7\xFA"
         "car 1/2"},
        {"UTF-8 after a byte-order mark", QString::fromUtf8("Café ☕ 1€"), 29,
         "\xEF\xBB\xBF"
         "Caf\xC3\xA9 \xE2\x98\x95 1\xE2\x82\xAC"},
        {"a copy-and-paste charge",
         QStringLiteral("00020126360014br.gov.bcb.pix0114112223330001815204000053039865405"
                        "35.505802BR5919MERCADINHO SAO JOSE6008CAMPINAS62190515ONDVPDV120037"
                        "63041D3A"),
         0,
         "00020126360014br.gov.bcb.pix0114112223330001815204000053039865405"
         "35.505802BR5919MERCADINHO SAO JOSE6008CAMPINAS62190515ONDVPDV120037"
         "63041D3A"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        QImage bitmap;
        PIX_QrCodeWin(bitmap, c.texto);
        ASSERT_FALSE(bitmap.isNull());
        if (c.lado) {
            EXPECT_EQ(bitmap.size(), QSize(c.lado, c.lado));
        }
        EXPECT_EQ(zbar(PIX_QrCode_Exibir(bitmap), dir), c.bytes);
    }
}

TEST(PixQrCode, ASymbolOf25ModulesIsA33PixelBitmapInsideWhiteBorders) {
    QImage bitmap;
    PIX_QrCodeWin(bitmap, QStringLiteral("PIX 2025 $%*+-./: ABCDEFGH"));
    ASSERT_EQ(bitmap.size(), QSize(33, 33));
    int pretos = 0;
    for (int y = 0; y < 33; ++y)
        for (int x = 0; x < 33; ++x) {
            const QRgb p = bitmap.pixel(x, y);
            ASSERT_TRUE(p == qRgba(0, 0, 0, 255) || p == qRgba(255, 255, 255, 255))
                << x << "," << y;
            const bool borda = x < 4 || y < 4 || x >= 29 || y >= 29;
            if (borda) {
                ASSERT_EQ(p, qRgb(255, 255, 255)) << x << "," << y;
            }
            pretos += p == qRgb(0, 0, 0);
        }
    // The finder patterns' outer corners, one module in from the quiet zone.
    EXPECT_EQ(bitmap.pixel(4, 4), qRgb(0, 0, 0));
    EXPECT_EQ(bitmap.pixel(28, 4), qRgb(0, 0, 0));
    EXPECT_EQ(bitmap.pixel(4, 28), qRgb(0, 0, 0));
    EXPECT_GT(pretos, 25 * 25 / 4);

    // On the page: 330 by 330, each module a block of 10 without grey at the edges.
    const QImage tela = PIX_QrCode_Exibir(bitmap);
    ASSERT_EQ(tela.size(), QSize(330, 330));
    for (int y = 0; y < 330; ++y)
        for (int x = 0; x < 330; ++x)
            ASSERT_EQ(tela.pixel(x, y), bitmap.pixel(x / 10, y / 10)) << x << "," << y;
}

TEST(PixQrCode, EmptyTextDrawsNothing) {
    QImage bitmap(10, 10, QImage::Format_RGB32);
    PIX_QrCodeWin(bitmap, QString());
    EXPECT_TRUE(bitmap.isNull());
    EXPECT_TRUE(PIX_QrCode_Exibir(bitmap).isNull());
}

class PixWebAPI : public ::testing::Test {
protected:
    void SetUp() override {
        sim.usar();
        cfg.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
        cfg.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
        QGuiApplication::clipboard()->clear();
    }
    bool pedir(const char* valor = "35,50") {
        return PIX_webAPI(pix, ConexaoWeb, cfg, WebAPI_Base("http"), QStringLiteral("PDV120037"),
                          QString::fromLatin1(valor));
    }

    CloudSim sim;
    TSettings cfg;
    TPix pix;
    bool ConexaoWeb = false;
    TestDir dir;
};

TEST_F(PixWebAPI, FieldsInOrderWithTheAmountWrittenShort) {
    for (const char* valor : {"35,50", "100,00", "1.234,56"})
        pedir(valor);
    const QJsonArray pedidos = sim.requests("pix");
    ASSERT_EQ(pedidos.size(), 3);
    QStringList campos;
    for (const auto& c : pedidos[0].toObject()["fields"].toArray())
        campos << c.toArray()[0].toString() + '=' + c.toArray()[1].toString();
    EXPECT_EQ(campos, (QStringList{"usuario_email=demo@balcona.com.br", "usuario_senha=demo123",
                                   "comando=pix", "numero_venda=PDV120037", "valor=35,5"}));
    EXPECT_EQ(pedidos[1].toObject()["fields"].toArray()[4].toArray()[1].toString(), "100");
    EXPECT_EQ(pedidos[2].toObject()["fields"].toArray()[4].toArray()[1].toString(), "1234,56");
}

TEST_F(PixWebAPI, TheChargeIsPaidOnTheSecondRequest) {
    EXPECT_TRUE(pedir());
    EXPECT_TRUE(ConexaoWeb);
    EXPECT_FALSE(pix.pix_ok);
    EXPECT_EQ(pix.pix_chave, "11222333000181");
    EXPECT_EQ(pix.Lab_Pix_Chave, "11222333000181");
    EXPECT_EQ(pix.pix_tipo, "CNPJ");
    EXPECT_EQ(pix.pix_cod, "ONDVPDV120037");
    EXPECT_TRUE(pix.pix_txid.startsWith("000201")) << pix.pix_txid.toStdString();
    EXPECT_TRUE(pix.pix_txid.contains("540535.50"));
    const qint64 minutos = QDateTime::currentDateTime().secsTo(pix.pix_venc) / 60;
    EXPECT_TRUE(minutos >= 28 && minutos <= 30) << minutos;
    ASSERT_FALSE(pix.Img_QRCode.isNull());
    if (temZbar()) {
        EXPECT_EQ(zbar(PIX_QrCode_Exibir(pix.Img_QRCode), dir), pix.pix_txid.toLatin1());
    }

    EXPECT_TRUE(pedir());
    EXPECT_TRUE(pix.pix_ok);
}

TEST_F(PixWebAPI, AKeyWithoutAChargeIsLetThrough) {
    sim.pix(QStringLiteral("chave"));
    EXPECT_TRUE(pedir());
    EXPECT_TRUE(pix.pix_ok);
    EXPECT_EQ(pix.pix_txid, "11222333000181");
    EXPECT_EQ(pix.pix_venc, QDateTime(QDate(1982, 3, 15), QTime(0, 0)));
    if (temZbar()) {
        EXPECT_EQ(zbar(PIX_QrCode_Exibir(pix.Img_QRCode), dir), "11222333000181");
    }
}

TEST_F(PixWebAPI, RepliesOfOddShape) {
    const QByteArray elemento =
        R"({"pix_chave": "%1", "pix_tipo": "EMAIL", "pix_banco": "B", "pix_txid": "%2",
            "pix_cod": "C", "pix_venc": "2025-03-05 14:30:00", "pix_base64": "", "pix_ok": "%3"})";
    auto el = [&](const char* chave, const char* txid, const char* ok) {
        return QString::fromLatin1(elemento).arg(chave, txid, ok).toUtf8();
    };
    const struct {
        const char* nome;
        QByteArray corpo;
        bool ok;
        const char *chave, *rotulo, *txid;
        bool pago;
    } casos[] = {
        {"a later element overwrites",
         "{\"pix\": [" + el("k1", "T1", "true") + "," + el("k2", "T2", "false") + "]}", true, "k2",
         "k2", "T2", false},
        {"\"pix_ok\" is case-sensitive", "{\"pix\": [" + el("k", "T", "TRUE") + "]}", true, "k",
         "k", "T", false},
        {"no key and no charge: nothing to let through",
         "{\"pix\": [" + el("", " ", "false") + "]}", true, "", "", " ", false},
        {"an empty array changes nothing", "{\"pix\": []}", true, "", "Carregando...", "", false},
        {"a failure keeps what was set before it",
         "{\"pix\": [" + el("k1", "T1", "false") + ", {\"pix_chave\": \"k2\"}]}", false, "k2", "k1",
         "T1", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        pix = TPix{};
        sim.responder(QStringLiteral("pix"), c.corpo);
        EXPECT_EQ(pedir(), c.ok);
        EXPECT_EQ(ConexaoWeb, c.ok);
        EXPECT_EQ(pix.pix_chave, c.chave);
        EXPECT_EQ(pix.Lab_Pix_Chave, c.rotulo);
        EXPECT_EQ(pix.pix_txid, c.txid);
        EXPECT_EQ(pix.pix_ok, c.pago);
    }
    EXPECT_EQ(pix.pix_venc, QDateTime(QDate(2025, 3, 5), QTime(14, 30)));
}

TEST_F(PixWebAPI, AFailureLeavesLoadingAndTheDiagnosticOnTheClipboard) {
    const struct {
        const char* nome;
        std::function<void(CloudSim&)> preparar;
        const char* diagnostico; // the clipboard text begins with it
        const char* mensagem;    // ... and holds it after " ErroMessage= "
    } casos[] = {
        {"the account refuses", [](CloudSim& s) { s.pix(QStringLiteral("erro")); },
         "ResponseContent={\"erro\":", "pix"},
        {"status 500", [](CloudSim& s) { s.falhar(QStringLiteral("pix"), QStringLiteral("500")); },
         "ResponseContent={", "500 Internal Server Error"},
        {"broken JSON",
         [](CloudSim& s) { s.falhar(QStringLiteral("pix"), QStringLiteral("json")); },
         "ResponseContent={\"pix\":", ""},
        {"no connection",
         [](CloudSim& s) { s.falhar(QStringLiteral("pix"), QStringLiteral("recusar")); },
         "ResponseContent= ErroMessage= REST request failed: ", ""},
        {"a date that does not read",
         [](CloudSim& s) {
             s.responder(QStringLiteral("pix"),
                         R"({"pix": [{"pix_chave": "k", "pix_tipo": "", "pix_banco": "",
                             "pix_txid": "T", "pix_cod": "", "pix_venc": "amanhã",
                             "pix_base64": "", "pix_ok": "true"}]})");
         },
         "ResponseContent={\"pix\":", "amanh"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        sim.reset();
        c.preparar(sim);
        pix = TPix{};
        ConexaoWeb = true;
        EXPECT_FALSE(pedir());
        EXPECT_FALSE(ConexaoWeb);
        EXPECT_EQ(pix.Lab_Pix_Chave, "Carregando...");
        EXPECT_TRUE(pix.Img_QRCode.isNull());
        EXPECT_FALSE(pix.pix_ok);
        const QString texto = QGuiApplication::clipboard()->text();
        EXPECT_TRUE(texto.startsWith(QString::fromUtf8(c.diagnostico))) << texto.toStdString();
        const qsizetype i = texto.indexOf(QStringLiteral(" ErroMessage= "));
        ASSERT_GE(i, 0) << texto.toStdString();
        EXPECT_TRUE(texto.mid(i).contains(QString::fromUtf8(c.mensagem))) << texto.toStdString();
    }
}

} // namespace
