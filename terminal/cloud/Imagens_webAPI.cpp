#include "Imagens_webAPI.h"

#include "cloud/JsonLeitor.h"
#include "cloud/WebAPI.h"
#include "foundation/Settings.h"

#include <QPainter>

#include <curl/curl.h>

#include <memory>

namespace {

struct Recepcao {
    QByteArray corpo;
    bool excedeu = false;
};

size_t receber(char* dados, size_t, size_t n, void* userdata) {
    auto* r = static_cast<Recepcao*>(userdata);
    if (qint64(r->corpo.size()) + qint64(n) > Imagem_Limite) {
        r->excedeu = true;
        return 0;
    }
    r->corpo.append(dados, qsizetype(n));
    return n;
}

struct CurlFree {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};

QByteArray baixar(const QString& endereco) {
    static const CURLcode iniciado = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)iniciado;
    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!curl) throw ImagemError(QStringLiteral("Falha ao baixar a imagem: curl_easy_init"));
    CURL* c = curl.get();

    const QByteArray url = endereco.trimmed().toUtf8();
    char erro[CURL_ERROR_SIZE] = {};
    Recepcao recepcao;
    const long timeout = WebAPI_Timeout();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    // The address comes from the cloud's reply: nothing but the web, never a local file.
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_NOPROXY, "127.0.0.1,localhost,::1");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, erro);
    // TLS 1.2 alone, and the picture server's certificate is not checked: the pictures
    // are public and the address comes from our own cloud account. Plain http addresses
    // are fetched as they are.
    curl_easy_setopt(c, CURLOPT_SSLVERSION,
                     long(CURL_SSLVERSION_TLSv1_2) | long(CURL_SSLVERSION_MAX_TLSv1_2));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
    // The envelope's limits, so that a silent server cannot hold the sale screen forever.
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, timeout);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, timeout);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(Imagem_Limite));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, receber);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &recepcao);

    const CURLcode rc = curl_easy_perform(c);
    if (recepcao.excedeu || rc == CURLE_FILESIZE_EXCEEDED)
        throw ImagemError(
            QStringLiteral("Falha ao baixar a imagem: passa de %1 MB").arg(Imagem_Limite >> 20));
    if (rc != CURLE_OK) {
        const QString detalhe =
            erro[0] ? QString::fromUtf8(erro) : QString::fromUtf8(curl_easy_strerror(rc));
        throw ImagemError(QStringLiteral("Falha ao baixar a imagem: ") + detalhe);
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        throw ImagemError(QStringLiteral("Falha ao baixar a imagem: HTTP %1").arg(status));
    return recepcao.corpo;
}

} // namespace

QString DonwLoad_Imagens(const TSettings& cfg, const QString& WebAPI_URL, const QString& tabela,
                         qint64 tabela_id) {
    TChamada chamada;
    chamada.comando = QStringLiteral("download_imagens");
    chamada.campos = {{QStringLiteral("usuario_email"), cfg.Usuario_Email},
                      {QStringLiteral("usuario_senha"), cfg.Usuario_Password},
                      {QStringLiteral("comando"), chamada.comando},
                      {QStringLiteral("tabela"), tabela},
                      {QStringLiteral("tabela_id"), QString::number(tabela_id)}};
    const TResposta resposta = WebAPI_Enviar(cfg, WebAPI_URL, chamada);
    const JsonDocumento doc(resposta.texto);
    return doc.raiz().texto(QStringLiteral("url"));
}

QImage Imagem_Ajustar(const QImage& origem, int largura, int altura) {
    if (origem.isNull() || largura <= 0 || altura <= 0) return origem;
    QImage destino(largura, altura, QImage::Format_ARGB32_Premultiplied);
    destino.fill(Qt::transparent);
    const QImage escalada =
        origem.scaled(largura, altura, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter p(&destino);
    p.drawImage((largura - escalada.width()) / 2, (altura - escalada.height()) / 2, escalada);
    p.end();
    return destino;
}

void TImageViewerHelper::LoadFromURL(QImage& bitmap, const QString& endereco, int largura,
                                     int altura) {
    const QByteArray corpo = baixar(endereco);
    QImage lida = bitmap;
    if (!corpo.isEmpty()) {
        lida = QImage::fromData(corpo);
        if (lida.isNull()) throw ImagemError(QStringLiteral("A imagem baixada não pôde ser lida."));
    }
    bitmap = Imagem_Ajustar(lida, largura, altura);
}
