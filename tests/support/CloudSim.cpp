#include "CloudSim.h"

#include <QJsonDocument>
#include <QUrl>

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

const char* const VARIAVEL_HOST = "ONDAVIA_API_HOST";

std::runtime_error falha(const QString& texto) {
    return std::runtime_error(("CloudSim: " + texto).toStdString());
}

size_t acumular(char* dados, size_t tamanho, size_t n, void* destino) {
    static_cast<QByteArray*>(destino)->append(dados, qsizetype(tamanho * n));
    return tamanho * n;
}

QString campo(const char* nome, const QString& valor) {
    return QString::fromLatin1(nome) + '=' + QString::fromLatin1(QUrl::toPercentEncoding(valor));
}

} // namespace

CloudSim::CloudSim()
    : m_servidor(QStringLiteral("CloudSim"), QStringLiteral("python3"),
                 {QStringLiteral(ONDAVIA_SOURCE_DIR "/tools/cloud-sim/cloud_sim.py"),
                  QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--quiet")}) {}

CloudSim::~CloudSim() = default;

QString CloudSim::host() const {
    return m_servidor.host();
}

void CloudSim::usar() {
    m_ambiente.definir(VARIAVEL_HOST, host().toUtf8());
}

QJsonArray CloudSim::requests() {
    return requests(QString());
}

QJsonArray CloudSim::requests(const QString& comando) {
    QString caminho = QStringLiteral("/__sim/requests");
    if (!comando.isNull()) caminho += '?' + campo("comando", comando);
    const QByteArray texto = pedir("GET", caminho, {});
    QJsonParseError erro{};
    const QJsonDocument doc = QJsonDocument::fromJson(texto, &erro);
    if (erro.error != QJsonParseError::NoError || !doc.isArray())
        throw falha("requests: not a JSON array: " + QString::fromUtf8(texto.left(200)));
    return doc.array();
}

void CloudSim::falhar(const QString& comando, const QString& modo, const QString& chave,
                      double segundos, int megas) {
    QStringList campos{campo("comando", comando), campo("modo", modo)};
    if (!chave.isEmpty()) campos << campo("chave", chave);
    if (segundos > 0) campos << campo("segundos", QString::number(segundos));
    if (megas > 0) campos << campo("megas", QString::number(megas));
    controle("/__sim/fail?" + campos.join('&'));
}

void CloudSim::responder(const QString& comando, const QByteArray& corpo, int status,
                         const QString& contentType) {
    const QStringList campos{campo("comando", comando), campo("status", QString::number(status)),
                             campo("tipo", contentType)};
    controle("/__sim/responder?" + campos.join('&'), corpo);
}

void CloudSim::reset() {
    controle(QStringLiteral("/__sim/reset"));
}

void CloudSim::instalador(const QString& data) {
    controle(QStringLiteral("/__sim/instalador?data=") +
             QString::fromLatin1(QUrl::toPercentEncoding(data)));
}

void CloudSim::upload_venda(bool aceitar, const QString& anexo) {
    controle(QStringLiteral("/__sim/upload_venda?") + campo("modo", aceitar ? "ok" : "erro"),
             anexo.toUtf8());
}

QJsonArray CloudSim::uploads() {
    const QByteArray texto = pedir("GET", QStringLiteral("/__sim/uploads"), {});
    QJsonParseError erro{};
    const QJsonDocument doc = QJsonDocument::fromJson(texto, &erro);
    if (erro.error != QJsonParseError::NoError || !doc.isArray())
        throw falha("uploads: not a JSON array: " + QString::fromUtf8(texto.left(200)));
    return doc.array();
}

void CloudSim::pix(const QString& modo, int pago_no) {
    controle(QStringLiteral("/__sim/pix?") + campo("modo", modo) + '&' +
             campo("pago_no", QString::number(pago_no)));
}

QByteArray CloudSim::controle(const QString& caminho, const QByteArray& corpo) {
    return pedir("POST", caminho, corpo);
}

QByteArray CloudSim::pedir(const char* metodo, const QString& caminho, const QByteArray& corpo) {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) throw falha(QStringLiteral("curl_easy_init failed"));
    const QByteArray url = ("http://" + host() + caminho).toUtf8();
    QByteArray resposta;
    curl_slist* cabecalhos = nullptr;
    // The body goes as given, without curl's form type or a wait for "100 Continue".
    cabecalhos = curl_slist_append(cabecalhos, "Content-Type: application/octet-stream");
    cabecalhos = curl_slist_append(cabecalhos, "Expect:");
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> guarda(cabecalhos,
                                                                       curl_slist_free_all);
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    // A proxy from the environment must not stand between the test and 127.0.0.1.
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    curl_easy_setopt(c, CURLOPT_TIMEOUT, 15L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, acumular);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &resposta);
    if (qstrcmp(metodo, "POST") == 0) {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, corpo.constData());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(corpo.size()));
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, cabecalhos);
    }
    const CURLcode rc = curl_easy_perform(c);
    if (rc != CURLE_OK)
        throw falha(QStringLiteral("%1 %2: %3").arg(metodo, caminho, curl_easy_strerror(rc)));
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status != 200)
        throw falha(QStringLiteral("%1 %2: status %3: %4")
                        .arg(metodo, caminho)
                        .arg(status)
                        .arg(QString::fromUtf8(resposta)));
    return resposta;
}
