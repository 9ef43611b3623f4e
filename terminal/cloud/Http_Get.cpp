#include "Http_Get.h"

#include <curl/curl.h>

#include <memory>

namespace {

struct Destino {
    QByteArray corpo;
    qsizetype limite = 0;
};

size_t receber(char* dados, size_t tamanho, size_t n, void* destino) {
    auto* d = static_cast<Destino*>(destino);
    const size_t total = tamanho * n;
    // Anything larger than the answer can be is not the service: stop reading.
    if (d->corpo.size() + qsizetype(total) > d->limite) return 0;
    d->corpo.append(dados, qsizetype(total));
    return total;
}

struct CurlFree {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};

} // namespace

std::optional<QByteArray> Http_Get_Curto(const QString& url, qsizetype limite) {
    static const CURLcode iniciado = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (iniciado != CURLE_OK) return std::nullopt;
    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!curl) return std::nullopt;
    CURL* c = curl.get();
    const QByteArray endereco = url.toUtf8();
    Destino destino{{}, limite};
    curl_easy_setopt(c, CURLOPT_URL, endereco.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_NOPROXY, "127.0.0.1,localhost,::1");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    // These run while the operator waits at a window: a service that cannot be reached
    // must not hold it for long.
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, 15L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, receber);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &destino);
    if (curl_easy_perform(c) != CURLE_OK) return std::nullopt;
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status != 200) return std::nullopt;
    return destino.corpo;
}
