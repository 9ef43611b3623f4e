#include "cloud/JsonLeitor.h"
#include "cloud/WebAPI.h"
#include "foundation/MessageBox.h"
#include "foundation/Settings.h"
#include "support/CloudSim.h"
#include "support/ParesTLS.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>

namespace {

const QString PADRAO = QStringLiteral("application/json, text/plain; q=0.9, text/html;q=0.8,");

// An environment variable for one test, put back afterwards.
class Ambiente {
public:
    Ambiente(const char* nome, const std::optional<QByteArray>& valor) : m_nome(nome) {
        if (qEnvironmentVariableIsSet(nome)) m_antes = qgetenv(nome);
        if (valor)
            qputenv(nome, *valor);
        else
            qunsetenv(nome);
    }
    ~Ambiente() {
        if (m_antes)
            qputenv(m_nome, *m_antes);
        else
            qunsetenv(m_nome);
    }

private:
    const char* m_nome;
    std::optional<QByteArray> m_antes;
};

TChamada chamada(const QString& comando, const QList<TCampo>& extras = {}) {
    TChamada c;
    c.comando = comando;
    c.campos = {{QStringLiteral("usuario_email"), QString::fromLatin1(CloudSim::EMAIL)},
                {QStringLiteral("usuario_senha"), QString::fromLatin1(CloudSim::SENHA)},
                {QStringLiteral("comando"), comando}};
    c.campos += extras;
    return c;
}

// The message of the failure of `f`, or nothing when it does not fail.
template <class F> std::optional<WebAPIError> falha(F&& f) {
    try {
        f();
    } catch (const WebAPIError& e) {
        return e;
    }
    return std::nullopt;
}

// A port on 127.0.0.1 that nobody listens on.
int portaFechada() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n);
    ::close(s);
    return ntohs(a.sin_port);
}

// Peers the simulator does not play: a redirect that sets a cookie, a reply without end,
// and two HTTPS servers with a self-signed certificate, one that stops at TLS 1.2 and one
// that starts at TLS 1.3.
const char* const AUXILIAR = R"PY(
from urllib.parse import urlsplit, parse_qs

class H(http.server.BaseHTTPRequestHandler):
    def log_message(self, *a): pass
    def do_POST(self):
        url = urlsplit(self.path)
        comando = parse_qs(url.query).get("comando", [""])[0]
        if url.path == "/app/final":
            corpo = ('{"cookie": "%s", "metodo": "%s"}' % (self.headers.get("Cookie", ""), self.command)).encode()
            self.send_response(200)
            self.send_header("Content-Type", "application/json")
            self.send_header("Content-Length", str(len(corpo)))
            self.end_headers()
            self.wfile.write(corpo)
        elif comando == "redirecionar":
            self.send_response(302)
            self.send_header("Location", "/app/final")
            self.send_header("Set-Cookie", "sessao=abc; Path=/")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif comando == "infinito":
            self.send_response(200)
            self.send_header("Content-Type", "application/json")
            self.end_headers()
            bloco = b" " * (1 << 20)
            try:
                while True:
                    self.wfile.write(bloco)
            except OSError:
                pass
        else:
            self.send_response(404)
            self.end_headers()
    do_GET = do_PUT = do_POST
)PY";

struct Auxiliar : ParesTLS {
    Auxiliar() : ParesTLS(AUXILIAR) {}
    QByteArray host(int porta) const { return "127.0.0.1:" + QByteArray::number(porta); }
};

TSettings chaves(bool tls1, bool tls11, bool tls12, bool tls13) {
    TSettings s;
    s.conf_Cert_TLS1 = tls1;
    s.conf_Cert_TLS11 = tls11;
    s.conf_Cert_TLS12 = tls12;
    s.conf_Cert_TLS13 = tls13;
    return s;
}

} // namespace

// --- Pure parts of the envelope -----------------------------------------------------------

TEST(WebAPIEnvelope, CodificacaoDeFormulario) {
    const struct {
        QList<TCampo> campos;
        const char* query;
    } casos[] = {
        {{{"a", "1"}}, "a=1"},
        {{{"usuario_senha", "minha senha & mais"}}, "usuario_senha=minha+senha+%26+mais"},
        {{{"k", "AZaz09*-._"}}, "k=AZaz09*-._"},
        {{{"k", "~!'()=+/%?#\n"}}, "k=%7E%21%27%28%29%3D%2B%2F%25%3F%23%0A"},
        {{{"k", QStringLiteral("é€")}}, "k=%C3%A9%E2%82%AC"},
        {{{"a b", "c"}}, "a+b=c"},
        {{{"x", ""}, {"y", "2"}, {"x", "3"}}, "x=&y=2&x=3"},
        {{}, ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.query);
        EXPECT_EQ(WebAPI_Query(c.campos), QByteArray(c.query));
    }
}

TEST(WebAPIEnvelope, BaseDoEndereco) {
    {
        Ambiente host("ONDAVIA_API_HOST", QByteArray("127.0.0.1:1234"));
        const std::pair<const char*, const char*> casos[] = {
            {"HTTPS", "https://127.0.0.1:1234/app"},
            {"HTTP", "http://127.0.0.1:1234/app"},
            {"http", "http://127.0.0.1:1234/app"},
            {"", "http://127.0.0.1:1234/app"},
        };
        for (const auto& [prot, base] : casos)
            EXPECT_EQ(WebAPI_Base(QString::fromLatin1(prot)), QString::fromLatin1(base)) << prot;
    }
    Ambiente semHost("ONDAVIA_API_HOST", std::nullopt);
    EXPECT_EQ(WebAPI_Base("HTTPS"), "https://api.balcona.com.br/app");
}

TEST(WebAPIEnvelope, TempoDeEspera) {
    const std::pair<std::optional<QByteArray>, int> casos[] = {
        {std::nullopt, 30}, {"1", 1}, {"45", 45}, {"0", 30}, {"-5", 30}, {"abc", 30},
    };
    for (const auto& [valor, segundos] : casos) {
        Ambiente t("ONDAVIA_API_TIMEOUT", valor);
        EXPECT_EQ(WebAPI_Timeout(), segundos) << valor.value_or("(unset)").constData();
    }
}

TEST(WebAPIEnvelope, ProtocolosPorComando) {
    const struct {
        const char* caso;
        TSettings cfg;
        const char* comando;
        int minima, maxima; // 0: no secure protocol left
    } casos[] = {
        {"padrao", TSettings(), "sincronia", 10, 13},
        {"padrao", TSettings(), "login", 10, 13},
        {"sem TLS1.2", chaves(1, 1, 0, 1), "sincronia", 10, 13}, // a range cannot skip one
        {"sem TLS1.0 e 1.1", chaves(0, 0, 1, 1), "sincronia", 12, 13},
        {"sem TLS1.0 e 1.1", chaves(0, 0, 1, 1), "venda_consultas", 12, 13},
        {"sem TLS1.0 e 1.1", chaves(0, 0, 1, 1), "login", 10, 13},
        {"sem TLS1.0 e 1.1", chaves(0, 0, 1, 1), "upload_venda", 10, 13},
        {"sem TLS1.3", chaves(1, 1, 1, 0), "venda_consultas", 10, 12},
        {"so TLS1.3", chaves(0, 0, 0, 1), "sincronia", 13, 13},
        {"so TLS1.3", chaves(0, 0, 0, 1), "login", 10, 13},
        {"so TLS1.1", chaves(0, 1, 0, 0), "rel_gerencial", 11, 11},
        {"nenhum", chaves(0, 0, 0, 0), "sincronia", 0, 0},
        {"nenhum", chaves(0, 0, 0, 0), "venda_consultas", 0, 0},
        {"nenhum", chaves(0, 0, 0, 0), "login", 10, 13},
        {"nenhum", chaves(0, 0, 0, 0), "upload_venda", 10, 13},
        {"nenhum", chaves(0, 0, 0, 0), "seguranca", 10, 13},
        {"nenhum", chaves(0, 0, 0, 0), "pix", 10, 13},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.caso) + " / " + c.comando);
        TSettings cfg = c.cfg;
        cfg.conf_Cert_SSL2 = cfg.conf_Cert_SSL3 = true; // never offered, whatever they say
        if (c.minima == 0) {
            const auto e = falha([&] { WebAPI_Protocolos(cfg, c.comando); });
            ASSERT_TRUE(e);
            EXPECT_EQ(e->message(), "Nenhum protocolo seguro habilitado");
            continue;
        }
        const TFaixaTLS f = WebAPI_Protocolos(cfg, c.comando);
        EXPECT_EQ(f.minima, c.minima);
        EXPECT_EQ(f.maxima, c.maxima);
    }
}

TEST(WebAPIEnvelope, ReacoesAFalha) {
    const WebAPIError e(QStringLiteral("500 Internal Server Error"),
                        QStringLiteral(R"({"erro":"Erro interno"})"));
    EXPECT_EQ(WebAPI_Diagnostico(e),
              R"(ResponseContent={"erro":"Erro interno"} ErroMessage= 500 Internal Server Error)");

    WebAPI_Falha_Clipboard(e);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), WebAPI_Diagnostico(e));

    MessageBox::clearShown();
    EXPECT_THROW(WebAPI_Falha_Mensagem(e), Abort);
    EXPECT_EQ(MessageBox::shown(),
              QStringList{"Erro ao conectar-se a API Verifique sua Internet \r\r\r"
                          "500 Internal Server Error"});
}

// --- Against the simulator --------------------------------------------------------------

class WebAPISim : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sim = new CloudSim; }
    static void TearDownTestSuite() {
        delete sim;
        sim = nullptr;
    }
    void SetUp() override {
        sim->reset();
        sim->usar();
        base = WebAPI_Base(QStringLiteral("http"));
    }
    QJsonObject unicoPedido(const QString& comando) {
        const QJsonArray pedidos = sim->requests(comando);
        EXPECT_EQ(pedidos.size(), 1);
        return pedidos.isEmpty() ? QJsonObject() : pedidos[0].toObject();
    }

    static inline CloudSim* sim = nullptr;
    TSettings cfg;
    QString base;
};

TEST_F(WebAPISim, PostComCamposNaQueryECorpoVazio) {
    const QString senha = QStringLiteral("minha senha & mais");
    TChamada c = chamada(QStringLiteral("login"), {{"horario", "2024-01-15 08:00:00"}});
    c.campos[1].valor = senha;
    const TResposta r = WebAPI_Enviar(cfg, base, c);
    EXPECT_EQ(r.status, 200);
    EXPECT_TRUE(r.contentType.startsWith("application/json"));
    // A wrong password is no failure of the envelope: the account names no company.
    EXPECT_EQ(JsonDocumento(r.texto).raiz().array("empresas").tamanho(), 0);

    const QJsonObject p = unicoPedido(QStringLiteral("login"));
    EXPECT_EQ(p["method"].toString(), "POST");
    EXPECT_EQ(p["path"].toString(), "/app/api26/api.php");
    EXPECT_TRUE(p["query"].toString().contains("&usuario_senha=minha+senha+%26+mais&"))
        << p["query"].toString().toStdString();
    const QJsonArray esperados{QJsonArray{"usuario_email", CloudSim::EMAIL},
                               QJsonArray{"usuario_senha", senha}, QJsonArray{"comando", "login"},
                               QJsonArray{"horario", "2024-01-15 08:00:00"}};
    EXPECT_EQ(p["fields"].toArray(), esperados);
    const QJsonObject h = p["headers"].toObject();
    EXPECT_EQ(h["Accept"].toString(), PADRAO);
    EXPECT_EQ(h["Accept-Charset"].toString(), "utf-8, *;q=0.8");
    EXPECT_EQ(h["Content-Type"].toString(), "application/x-www-form-urlencoded");
    EXPECT_EQ(p["body"].toString(), "");
}

TEST_F(WebAPISim, PutComCorpoJson) {
    TChamada c = chamada(QStringLiteral("upload_venda"), {{"venda_numero_venda", "77"}});
    c.put = true;
    const QString corpo = QStringLiteral(R"({"produtos":[],"venda_cartao":[],"obs":"pão"})");
    c.corpo = corpo.toUtf8();
    const TResposta r = WebAPI_Enviar(cfg, base, c);
    EXPECT_TRUE(r.texto.startsWith("Status:OK")) << r.texto.toStdString();

    const QJsonObject p = unicoPedido(QStringLiteral("upload_venda"));
    EXPECT_EQ(p["method"].toString(), "PUT");
    EXPECT_EQ(p["body"].toString(), corpo);
    EXPECT_EQ(p["fields"].toArray().last().toArray()[1].toString(), "77");
    const QJsonObject h = p["headers"].toObject();
    EXPECT_EQ(h["Accept"].toString(), "application/json");
    EXPECT_EQ(h["Content-Type"].toString(), "application/json");
}

TEST_F(WebAPISim, FalhasDoServidor) {
    const QString comando = QStringLiteral("venda_consultas");
    const struct {
        const char* modo;
        const char* falhaEnviar; // how the call's failure starts; null: no failure
        bool json;               // the reply text (or the one the failure carries) is JSON
    } casos[] = {
        {"500", "500 Internal Server Error", true},
        {"html404", nullptr, false},
        {"json", nullptr, false},
        {"truncado", "REST request failed: ", false},
        {"recusar", "REST request failed: ", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        sim->reset();
        sim->falhar(comando, QString::fromLatin1(c.modo));
        QString texto;
        const auto e = falha([&] { texto = WebAPI_Enviar(cfg, base, chamada(comando)).texto; });
        if (c.falhaEnviar) {
            ASSERT_TRUE(e);
            EXPECT_TRUE(e->message().startsWith(c.falhaEnviar)) << e->message().toStdString();
            texto = e->resposta();
        } else {
            ASSERT_FALSE(e) << e->message().toStdString();
        }
        // Reading a key is where a reply that is not JSON fails.
        const auto leitura = falha([&] { JsonDocumento(texto).raiz().array("vendas"); });
        if (c.json) {
            EXPECT_FALSE(leitura) << leitura->message().toStdString(); // only the status tells
        } else {
            ASSERT_TRUE(leitura);
            EXPECT_TRUE(leitura->message().startsWith("Resposta inválida: "));
        }
    }
}

TEST_F(WebAPISim, StatusDaResposta) {
    const QString comando = QStringLiteral("venda_consultas");
    const struct {
        int status;
        const char* falhaEnviar;
    } casos[] = {
        {200, nullptr},
        {302, nullptr}, // a redirect without a Location is not followed
        {404, nullptr},
        {499, nullptr},
        {500, "500 Internal Server Error"},
        {503, "503 Service Unavailable"},
        {599, "HTTP 599"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.status);
        sim->responder(comando, R"({"vendas":[]})", c.status);
        TResposta r;
        const auto e = falha([&] { r = WebAPI_Enviar(cfg, base, chamada(comando)); });
        if (c.falhaEnviar) {
            ASSERT_TRUE(e);
            EXPECT_EQ(e->message(), c.falhaEnviar);
            EXPECT_EQ(e->resposta(), R"({"vendas":[]})");
        } else {
            ASSERT_FALSE(e) << e->message().toStdString();
            EXPECT_EQ(r.status, c.status);
            EXPECT_EQ(r.texto, R"({"vendas":[]})");
        }
    }
}

TEST_F(WebAPISim, TempoEsgotado) {
    Ambiente t("ONDAVIA_API_TIMEOUT", QByteArray("1"));
    sim->falhar(QStringLiteral("venda_consultas"), QStringLiteral("lento"), {}, 4);
    QElapsedTimer relogio;
    relogio.start();
    const auto e = falha([&] { WebAPI_Enviar(cfg, base, chamada("venda_consultas")); });
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->message().startsWith("REST request failed: ")) << e->message().toStdString();
    EXPECT_GE(relogio.elapsed(), 900);
    EXPECT_LT(relogio.elapsed(), 3500);
}

TEST_F(WebAPISim, ConexaoRecusada) {
    Ambiente host("ONDAVIA_API_HOST", "127.0.0.1:" + QByteArray::number(portaFechada()));
    const auto e =
        falha([&] { WebAPI_Enviar(cfg, WebAPI_Base("http"), chamada("venda_consultas")); });
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->message().startsWith("REST request failed: ")) << e->message().toStdString();
    EXPECT_GT(e->message().size(), QStringLiteral("REST request failed: ").size());
    EXPECT_EQ(e->resposta(), "");
}

TEST_F(WebAPISim, DecodificacaoPeloCharset) {
    const QByteArray utf8 = QStringLiteral("ação €").toUtf8();
    const QByteArray latin1 = QByteArray("a\xe7\xe3o");
    const struct {
        const char* comando;
        QByteArray corpo;
        const char* tipo;
        QString texto;
    } casos[] = {
        {"venda_consultas", latin1, "text/plain; charset=ISO-8859-1", "ação"},
        {"venda_consultas", latin1, "application/json; charset=latin1", "ação"},
        {"venda_consultas", "\x80 caf\xe9", "application/json; charset=windows-1252", "€ café"},
        {"venda_consultas", utf8, "application/json; charset=\"UTF-8\"", "ação €"},
        {"venda_consultas", utf8, "application/json; charset=x-desconhecido", "ação €"},
        {"venda_consultas", utf8, "application/json", "ação €"},
        {"venda_consultas", utf8, "application/octet-stream", "ação €"},
        // "raw" commands: without a charset, text only for a text type.
        {"venda_cupom", utf8, "application/octet-stream", ""},
        {"venda_cupom", utf8, "application/json", ""},
        {"venda_cupom", utf8, "text/plain", "ação €"},
        {"lista_entrega", utf8, "text/html", "ação €"},
        {"rel_gerencial", latin1, "application/json; charset=iso-8859-1", "ação"},
        {"entregador_update", utf8, "application/json; charset=utf-8", "ação €"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.comando) + " " + c.tipo);
        sim->responder(c.comando, c.corpo, 200, c.tipo);
        const TResposta r = WebAPI_Enviar(cfg, base, chamada(c.comando));
        EXPECT_EQ(r.contentType, c.tipo);
        EXPECT_EQ(r.texto, c.texto);
    }
}

TEST_F(WebAPISim, HttpSemProtocoloSeguroSegue) {
    // The switches govern HTTPS only; a plain base still works with all of them off.
    const TResposta r =
        WebAPI_Enviar(chaves(0, 0, 0, 0), base, chamada("venda_consultas", {{"venda_busca", ""}}));
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(sim->requests("venda_consultas").size(), 1);
}

TEST_F(WebAPISim, RespostaSemFimEhCortada) {
    sim->falhar(QStringLiteral("sincronia"), QStringLiteral("grande"), {}, 0,
                int(WebAPI_Limite_Resposta >> 20) + 1);
    const auto declarada = falha([&] {
        WebAPI_Enviar(cfg, base, chamada("sincronia", {{"dt_update", ""}}));
    });
    ASSERT_TRUE(declarada);
    EXPECT_TRUE(declarada->message().contains("256 MB")) << declarada->message().toStdString();

    // Without a length announced the limit falls while the body arrives.
    Auxiliar aux;
    if (!aux.ok()) GTEST_SKIP() << "no openssl or python3 helper";
    Ambiente host("ONDAVIA_API_HOST", aux.host(aux.http));
    const auto semFim =
        falha([&] { WebAPI_Enviar(cfg, WebAPI_Base("http"), chamada("infinito")); });
    ASSERT_TRUE(semFim);
    EXPECT_TRUE(semFim->message().contains("256 MB")) << semFim->message().toStdString();
    EXPECT_LE(semFim->resposta().size(), 64 * 1024);
}

// --- Against local peers the simulator does not play ---------------------------------------

TEST(WebAPIPares, RedirecionamentoComCookieDaChamada) {
    Auxiliar aux;
    if (!aux.ok()) GTEST_SKIP() << "no openssl or python3 helper";
    Ambiente host("ONDAVIA_API_HOST", aux.host(aux.http));
    const TResposta r = WebAPI_Enviar(TSettings(), WebAPI_Base("http"), chamada("redirecionar"));
    EXPECT_EQ(r.status, 200);
    JsonDocumento doc(r.texto);
    EXPECT_EQ(doc.raiz().texto("cookie"), "sessao=abc");

    // The cookie lived for that call only.
    const TResposta outra = WebAPI_Enviar(TSettings(), WebAPI_Base("http"), chamada("nada"));
    EXPECT_EQ(outra.status, 404);
}

TEST(WebAPIPares, FaixaTLSNoAperto) {
    Auxiliar aux;
    if (!aux.ok()) GTEST_SKIP() << "no openssl or python3 helper";
    // The certificate is self-signed: reaching its check means the versions agreed.
    const struct {
        const char* caso;
        int porta;
        TSettings cfg;
        const char* comando;
        bool versaoAceita;
    } casos[] = {
        {"servidor ate 1.2, so 1.3 ligado", aux.tls12, chaves(0, 0, 0, 1), "sincronia", false},
        {"servidor ate 1.2, so 1.3 ligado", aux.tls12, chaves(0, 0, 0, 1), "login", true},
        {"servidor ate 1.2, padrao", aux.tls12, TSettings(), "venda_consultas", true},
        {"servidor 1.3, sem 1.3", aux.tls13, chaves(1, 1, 1, 0), "venda_consultas", false},
        {"servidor 1.3, sem 1.3", aux.tls13, chaves(1, 1, 1, 0), "upload_venda", true},
        {"servidor 1.3, so 1.3", aux.tls13, chaves(0, 0, 0, 1), "sincronia", true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.caso) + " / " + c.comando);
        Ambiente host("ONDAVIA_API_HOST", aux.host(c.porta));
        const auto e =
            falha([&] { WebAPI_Enviar(c.cfg, WebAPI_Base("HTTPS"), chamada(c.comando)); });
        ASSERT_TRUE(e);
        EXPECT_TRUE(e->message().startsWith("REST request failed: "));
        EXPECT_EQ(e->message().contains("certificate"), c.versaoAceita)
            << e->message().toStdString();
    }

    Ambiente host("ONDAVIA_API_HOST", aux.host(aux.tls13));
    const auto nenhum = falha(
        [&] { WebAPI_Enviar(chaves(0, 0, 0, 0), WebAPI_Base("HTTPS"), chamada("sincronia")); });
    ASSERT_TRUE(nenhum);
    EXPECT_EQ(nenhum->message(), "REST request failed: Nenhum protocolo seguro habilitado");
}
