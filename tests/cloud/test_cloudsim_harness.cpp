#include "support/CloudSim.h"

#include <QJsonDocument>

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

struct Resposta {
    CURLcode rc = CURLE_OK;
    long status = 0;
    QByteArray corpo;
};

size_t acumular(char* dados, size_t tamanho, size_t n, void* destino) {
    static_cast<QByteArray*>(destino)->append(dados, qsizetype(tamanho * n));
    return tamanho * n;
}

// A bare POST, as the terminal's envelope would send it, without going through it.
Resposta post(int port, const QByteArray& query) {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    const QByteArray url =
        "http://127.0.0.1:" + QByteArray::number(port) + "/app/api26/api.php?" + query;
    Resposta r;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.constData());
    curl_easy_setopt(curl.get(), CURLOPT_PROXY, "");
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, "");
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, acumular);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &r.corpo);
    r.rc = curl_easy_perform(curl.get());
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &r.status);
    return r;
}

const QByteArray LOGIN = "usuario_email=demo%40balcona.com.br&usuario_senha=demo123&comando=login";

TEST(CloudSimHarness, RecordsARawCallWithItsFieldsDecoded) {
    CloudSim sim;
    ASSERT_GT(sim.port(), 0);
    EXPECT_EQ(sim.host(), QStringLiteral("127.0.0.1:%1").arg(sim.port()));

    const Resposta r = post(sim.port(), LOGIN + "&horario=09+12%262025");
    ASSERT_EQ(r.rc, CURLE_OK);
    EXPECT_EQ(r.status, 200);
    const QJsonObject empresa =
        QJsonDocument::fromJson(r.corpo).object()["empresas"].toArray().at(0).toObject();
    EXPECT_EQ(empresa["fantasia"].toString(), QString::fromUtf8("Mercadinho São José"));

    const QJsonArray todos = sim.requests();
    ASSERT_EQ(todos.size(), 1);
    const QJsonObject pedido = todos.at(0).toObject();
    EXPECT_EQ(pedido["method"].toString(), "POST");
    EXPECT_EQ(pedido["path"].toString(), "/app/api26/api.php");
    const QJsonArray campos = pedido["fields"].toArray();
    ASSERT_EQ(campos.size(), 4);
    EXPECT_EQ(campos.at(0).toArray().at(1).toString(), "demo@balcona.com.br");
    EXPECT_EQ(campos.at(3).toArray(), (QJsonArray{"horario", "09 12&2025"}));
    EXPECT_EQ(sim.requests("login").size(), 1);
    EXPECT_EQ(sim.requests("sincronia").size(), 0);
}

TEST(CloudSimHarness, FaultsAndCannedRepliesLastUntilReset) {
    CloudSim sim;
    sim.falhar("login", "500");
    sim.responder("sincronia", "{\"datahora\":12}", 203, "text/plain");
    for (int vez = 0; vez < 2; ++vez)
        EXPECT_EQ(post(sim.port(), LOGIN).status, 500);
    const Resposta enlatada = post(sim.port(), "comando=sincronia");
    EXPECT_EQ(enlatada.status, 203);
    EXPECT_EQ(enlatada.corpo, "{\"datahora\":12}");
    EXPECT_THROW(sim.falhar("login", "lento"), std::runtime_error); // needs its seconds

    sim.reset();
    EXPECT_EQ(sim.requests().size(), 0);
    EXPECT_EQ(post(sim.port(), LOGIN).status, 200);
    EXPECT_EQ(post(sim.port(), "comando=sincronia").corpo,
              QString::fromUtf8("{\"erro\":\"Usuário ou senha inválidos\"}").toUtf8());
}

TEST(CloudSimHarness, UsarSetsTheApiHostForOneTestOnly) {
    const std::optional<QByteArray> original =
        qEnvironmentVariableIsSet("ONDAVIA_API_HOST")
            ? std::optional<QByteArray>(qgetenv("ONDAVIA_API_HOST"))
            : std::nullopt;
    const std::optional<QByteArray> casos[] = {QByteArray("antes:1"), std::nullopt};
    for (const auto& antes : casos) {
        if (antes)
            qputenv("ONDAVIA_API_HOST", *antes);
        else
            qunsetenv("ONDAVIA_API_HOST");
        int porta = 0;
        {
            CloudSim sim;
            sim.usar();
            EXPECT_EQ(qgetenv("ONDAVIA_API_HOST"), sim.host().toUtf8());
            porta = sim.port();
        }
        EXPECT_EQ(qEnvironmentVariableIsSet("ONDAVIA_API_HOST"), antes.has_value());
        EXPECT_EQ(qgetenv("ONDAVIA_API_HOST"), antes.value_or(QByteArray()));
        // The simulator went with the harness.
        EXPECT_EQ(post(porta, LOGIN).rc, CURLE_COULDNT_CONNECT);
    }
    if (original)
        qputenv("ONDAVIA_API_HOST", *original);
    else
        qunsetenv("ONDAVIA_API_HOST");
}

} // namespace
