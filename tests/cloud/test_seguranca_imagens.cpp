// The permission question and the pictures of the cloud account, against the simulator
// and against local peers it does not play (HTTPS servers, an empty reply).

#include "cloud/Imagens_webAPI.h"
#include "cloud/Seguranca_webAPI.h"
#include "cloud/WebAPI.h"
#include "foundation/Settings.h"
#include "support/CloudSim.h"
#include "support/ParesTLS.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QString base(const CloudSim& sim) {
    return "http://" + sim.host() + "/app";
}

// The fields of a recorded request, as "name=value".
QStringList campos(const QJsonValue& pedido) {
    QStringList r;
    for (const QJsonValue& c : pedido.toObject()["fields"].toArray())
        r << c.toArray()[0].toString() + "=" + c.toArray()[1].toString();
    return r;
}

QString clipboard() {
    return QGuiApplication::clipboard()->text();
}

TSettings demo() {
    TSettings s;
    s.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
    s.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
    return s;
}

// HTTPS peers with a self-signed certificate, one that speaks TLS 1.2 alone and one TLS
// 1.3 alone, and a plain one that answers an empty body; each serves a 400 x 200 PNG.
const char* const AUXILIAR = R"PY(
sys.path.insert(0, sys.argv[3])
from cloud_sim import png

class H(http.server.BaseHTTPRequestHandler):
    def log_message(self, *a): pass
    def do_GET(self):
        corpo = b"" if self.path == "/vazio" else png(400, 200, (10, 200, 30))
        self.send_response(200)
        self.send_header("Content-Type", "image/png")
        self.send_header("Content-Length", str(len(corpo)))
        self.end_headers()
        self.wfile.write(corpo)
)PY";

struct Pares : ParesTLS {
    Pares() : ParesTLS(AUXILIAR, {QStringLiteral(ONDAVIA_SOURCE_DIR "/tools/cloud-sim")}) {}
};

} // namespace

// --- The permission question ---------------------------------------------------------------

TEST(Seguranca, OnlyANonZeroValueUnderThePermissionNameInTheFirstElementGrants) {
    CloudSim sim;
    const struct {
        const char* resposta;
        bool concedida;
        bool diagnostico; // a failure: the reply text goes to the clipboard
    } casos[] = {
        {R"({"permissoes": [{"permissao_id": 50, "permitir": 1}]})", true, false},
        {R"({"permissoes": [{"permissao_id": 50, "permitir": 0}]})", false, false},
        {R"({"permissoes": [{"permissao_id": 50}]})", false, false},
        {R"({"permissoes": [{"permitir": null}]})", false, false},
        {R"({"permissoes": [{"permitir": -1}]})", true, false},
        {R"({"permissoes": [{"permitir": "2"}]})", true, false},
        {R"({"permissoes": [{"outra": 1, "permitir": 0}, {"permitir": 1}]})", false, false},
        {R"({"permissoes": []})", false, true},
        {R"({"erro": "Usuário ou senha inválidos"})", false, true},
        {R"({"permissoes": [{"permitir": 1})", false, true}, // cut short
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.resposta);
        sim.responder("seguranca", c.resposta);
        QGuiApplication::clipboard()->setText("antes");
        EXPECT_EQ(
            Seguranca_webAPI(TSettings(), base(sim), "gerente@balcona.com.br", "x", 50, "permitir"),
            c.concedida);
        if (c.diagnostico)
            EXPECT_TRUE(clipboard().startsWith("ResponseContent=" + QString::fromUtf8(c.resposta) +
                                               " ErroMessage= "))
                << clipboard().toStdString();
        else
            EXPECT_EQ(clipboard(), "antes");
    }
}

TEST(Seguranca, TheSupervisorsOwnCredentialsAreAskedAndFailuresRefuse) {
    CloudSim sim;
    const QString b = base(sim);
    EXPECT_TRUE(Seguranca_webAPI(TSettings(), b, CloudSim::SUPERVISOR, CloudSim::SENHA_SUPERVISOR,
                                 50, "permitir"));
    EXPECT_EQ(campos(sim.requests("seguranca")[0]),
              (QStringList{"usuario_email=gerente@balcona.com.br", "usuario_senha=gerente123",
                           "permissao_id=50", "comando=seguranca"}));
    // A user without the right, and a wrong password, which the account answers with an
    // error instead of "permissoes".
    EXPECT_FALSE(
        Seguranca_webAPI(TSettings(), b, CloudSim::EMAIL, CloudSim::SENHA, 50, "permitir"));
    EXPECT_FALSE(Seguranca_webAPI(TSettings(), b, CloudSim::SUPERVISOR, "errada", 50, "permitir"));
    EXPECT_TRUE(clipboard().startsWith("ResponseContent={\"erro\""));

    sim.falhar("seguranca", "500");
    EXPECT_FALSE(Seguranca_webAPI(TSettings(), b, CloudSim::SUPERVISOR, CloudSim::SENHA_SUPERVISOR,
                                  50, "permitir"));
    EXPECT_FALSE(Seguranca_webAPI(TSettings(), "http://127.0.0.1:1/app", CloudSim::SUPERVISOR,
                                  CloudSim::SENHA_SUPERVISOR, 50, "permitir"));
    EXPECT_TRUE(clipboard().contains("ErroMessage= REST request failed: "));
}

// --- The picture's address -----------------------------------------------------------------

TEST(Imagens, TheAddressOfARecordsPicture) {
    CloudSim sim;
    const QString url = DonwLoad_Imagens(demo(), base(sim), "produtos", 11);
    EXPECT_EQ(url, "http://" + sim.host() + "/imagens/produtos/11.jpg");
    EXPECT_EQ(campos(sim.requests("download_imagens")[0]),
              (QStringList{"usuario_email=demo@balcona.com.br", "usuario_senha=demo123",
                           "comando=download_imagens", "tabela=produtos", "tabela_id=11"}));
    EXPECT_EQ(DonwLoad_Imagens(demo(), base(sim), "produtos", 50), "");
    // A reply without "url" (here the refusal of a wrong password) reaches the caller.
    EXPECT_THROW(DonwLoad_Imagens(TSettings(), base(sim), "empresas", 1), WebAPIError);
}

// --- The fetch -----------------------------------------------------------------------------

TEST(Imagens, PicturesAreFittedIntoTheSquareWithTransparentMargins) {
    CloudSim sim;
    const struct {
        const char* caminho;
        QRect imagem; // where the picture lands in the 200 x 200 square
        QColor cor;
    } casos[] = {
        {"produtos/1.png", QRect(0, 50, 200, 100), QColor(40, 90, 185)},  // 400 x 200
        {"produtos/2.png", QRect(50, 0, 100, 200), QColor(80, 90, 170)},  // 200 x 400
        {"produtos/11.jpg", QRect(0, 50, 200, 100), QColor(184, 90, 35)}, // 400 x 200 JPEG
        {"produtos/12.jpg", QRect(33, 0, 133, 200), QColor(224, 90, 20)}, // 160 x 240 JPEG
        {"empresas/1.png", QRect(0, 0, 200, 200), QColor(40, 90, 185)},   // 300 x 300
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caminho);
        QImage img;
        TImageViewerHelper::LoadFromURL(img, "http://" + sim.host() + "/imagens/" + c.caminho, 200,
                                        200);
        ASSERT_EQ(img.size(), QSize(200, 200));
        const QColor meio = img.pixelColor(c.imagem.center());
        EXPECT_EQ(meio.alpha(), 255);
        EXPECT_NEAR(meio.red(), c.cor.red(), 3);
        EXPECT_NEAR(meio.green(), c.cor.green(), 3);
        EXPECT_NEAR(meio.blue(), c.cor.blue(), 3);
        // Just outside the picture on each side: transparent, where there is a margin.
        const QPoint fora[] = {{c.imagem.center().x(), c.imagem.top() - 1},
                               {c.imagem.center().x(), c.imagem.bottom() + 2},
                               {c.imagem.left() - 1, c.imagem.center().y()},
                               {c.imagem.right() + 2, c.imagem.center().y()}};
        for (const QPoint& p : fora) {
            if (img.rect().contains(p)) {
                EXPECT_EQ(img.pixelColor(p).alpha(), 0) << p.x() << "," << p.y();
            }
        }
    }
}

TEST(Imagens, FailedFetchesThrowAndLeaveTheBitmap) {
    CloudSim sim;
    const QString h = "http://" + sim.host();
    const struct {
        const char* caso;
        QString endereco;
    } casos[] = {
        {"not found", h + "/imagens/produtos/50.png"},
        {"a redirect is not followed", h + "/imagens/mudou/produtos/1.png"},
        {"not a picture", h + "/ws/13010000/json"},
        {"nobody listening", QStringLiteral("http://127.0.0.1:1/x.png")},
        {"not the web", QStringLiteral("file:///etc/hostname")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        QImage img(10, 10, QImage::Format_RGB32);
        img.fill(Qt::red);
        EXPECT_THROW(TImageViewerHelper::LoadFromURL(img, c.endereco, 200, 200), ImagemError);
        EXPECT_EQ(img.size(), QSize(10, 10));
        EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::red));
    }
}

TEST(ImagensPares, Tls12AloneWithoutACertificateCheck) {
    Pares pares;
    if (!pares.ok()) GTEST_SKIP() << "no openssl or python3 helper";
    // The certificate is self-signed and names another host: it is not checked.
    QImage img;
    TImageViewerHelper::LoadFromURL(
        img, QStringLiteral("https://127.0.0.1:%1/p.png").arg(pares.tls12), 200, 200);
    EXPECT_EQ(img.size(), QSize(200, 200));
    EXPECT_EQ(img.pixelColor(100, 100), QColor(10, 200, 30));

    QImage antes;
    EXPECT_THROW(
        TImageViewerHelper::LoadFromURL(
            antes, QStringLiteral("https://127.0.0.1:%1/p.png").arg(pares.tls13), 200, 200),
        ImagemError);
    EXPECT_TRUE(antes.isNull());

    // An empty body reads no picture: a fresh bitmap stays empty.
    QImage vazia;
    TImageViewerHelper::LoadFromURL(
        vazia, QStringLiteral("http://127.0.0.1:%1/vazio").arg(pares.http), 200, 200);
    EXPECT_TRUE(vazia.isNull());
}
