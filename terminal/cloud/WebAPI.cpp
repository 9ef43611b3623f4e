#include "WebAPI.h"

#include "foundation/MessageBox.h"
#include "foundation/Settings.h"
#include "platform/Platform.h"

#include <QStringDecoder>
#include <QtGlobal>

#include <curl/curl.h>

#include <memory>

namespace {

constexpr const char* HOST_FIXO = "api.balcona.com.br";

const char* const ACCEPT_PADRAO = "Accept: application/json, text/plain; q=0.9, text/html;q=0.8,";
const char* const ACCEPT_JSON = "Accept: application/json";

void iniciarCurl() {
    // Once per process; a function-local static is initialised once even when the first
    // calls come from the user-interface thread and the synchronisation worker together.
    static const CURLcode iniciado = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)iniciado;
}

bool comandoFixo(const QString& comando) {
    return comando == u"login" || comando == u"seguranca" || comando == u"upload_venda" ||
           comando == u"pix";
}

// These commands take a body without a charset as text only when it is of a text type.
bool comandoRaw(const QString& comando) {
    return comando == u"entregador_update" || comando == u"lista_entrega" ||
           comando == u"venda_cupom" || comando == u"rel_gerencial";
}

struct Recepcao {
    QByteArray corpo;
    QByteArray statusLinha; // of the last reply: a followed redirect starts a new one
    bool excedeu = false;
};

size_t receberCorpo(char* dados, size_t, size_t n, void* userdata) {
    auto* r = static_cast<Recepcao*>(userdata);
    if (qint64(r->corpo.size()) + qint64(n) > WebAPI_Limite_Resposta) {
        r->excedeu = true;
        return 0; // curl ends the transfer with a write error
    }
    r->corpo.append(dados, qsizetype(n));
    return n;
}

size_t receberCabecalho(char* dados, size_t, size_t n, void* userdata) {
    auto* r = static_cast<Recepcao*>(userdata);
    const QByteArray linha = QByteArray::fromRawData(dados, qsizetype(n));
    if (linha.startsWith("HTTP/")) {
        r->statusLinha = linha.trimmed();
        // A redirect's or a "100 Continue" body is not the reply's.
        r->corpo.clear();
    }
    return n;
}

// "HTTP/1.1 500 Internal Server Error" -> "500 Internal Server Error"; HTTP/2 has no
// reason phrase, so "HTTP 500" then.
QString textoStatus(const QByteArray& statusLinha, long status) {
    const qsizetype espaco = statusLinha.indexOf(' ');
    if (espaco > 0) {
        const QByteArray resto = statusLinha.mid(espaco + 1).trimmed();
        const qsizetype espaco2 = resto.indexOf(' ');
        if (espaco2 > 0 && !resto.mid(espaco2 + 1).trimmed().isEmpty())
            return QString::fromLatin1(resto);
    }
    return QStringLiteral("HTTP %1").arg(status);
}

QString decodificar(const QByteArray& corpo, const QString& contentType, const QString& comando) {
    QString tipo;
    QString charset;
    const QStringList partes = contentType.split(u';');
    if (!partes.isEmpty()) tipo = partes.first().trimmed().toLower();
    for (qsizetype i = 1; i < partes.size(); ++i) {
        const QString p = partes[i].trimmed();
        if (p.startsWith(u"charset=", Qt::CaseInsensitive)) {
            charset = p.mid(8).trimmed();
            if (charset.size() >= 2 && charset.startsWith(u'"') && charset.endsWith(u'"'))
                charset = charset.mid(1, charset.size() - 2);
            charset = charset.trimmed().toLower();
        }
    }
    if (charset.isEmpty()) {
        if (comandoRaw(comando) && !tipo.startsWith(u"text/")) return QString();
        return QString::fromUtf8(corpo);
    }
    QStringDecoder decoder(charset.toLatin1().constData());
    // A charset we do not know is most likely a misspelt UTF-8.
    if (!decoder.isValid()) return QString::fromUtf8(corpo);
    return decoder.decode(corpo);
}

struct CurlFree {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

long versaoMinima(int v) {
    switch (v) {
    case 10:
        return CURL_SSLVERSION_TLSv1_0;
    case 11:
        return CURL_SSLVERSION_TLSv1_1;
    case 12:
        return CURL_SSLVERSION_TLSv1_2;
    default:
        return CURL_SSLVERSION_TLSv1_3;
    }
}

long versaoMaxima(int v) {
    switch (v) {
    case 10:
        return CURL_SSLVERSION_MAX_TLSv1_0;
    case 11:
        return CURL_SSLVERSION_MAX_TLSv1_1;
    case 12:
        return CURL_SSLVERSION_MAX_TLSv1_2;
    default:
        return CURL_SSLVERSION_MAX_TLSv1_3;
    }
}

} // namespace

QString WebAPI_Host() {
    const QString host = qEnvironmentVariable("ONDAVIA_API_HOST");
    return host.isEmpty() ? QString::fromLatin1(HOST_FIXO) : host;
}

QString WebAPI_Base(const QString& ProtHTTP) {
    const QString protocolo =
        ProtHTTP.trimmed().isEmpty() ? QStringLiteral("http") : ProtHTTP.trimmed().toLower();
    return protocolo + QStringLiteral("://") + WebAPI_Host() + QStringLiteral("/app");
}

TFaixaTLS WebAPI_Protocolos(const TSettings& cfg, const QString& comando) {
    // SSL 2 and 3 are never offered: no TLS library we link still speaks them.
    if (comandoFixo(comando)) return TFaixaTLS{10, 13};
    const struct {
        bool ligado;
        int versao;
    } chaves[] = {{cfg.conf_Cert_TLS1, 10},
                  {cfg.conf_Cert_TLS11, 11},
                  {cfg.conf_Cert_TLS12, 12},
                  {cfg.conf_Cert_TLS13, 13}};
    // The TLS library takes a range, not a set: a version switched off between two that
    // are on stays allowed.
    TFaixaTLS faixa{0, 0};
    for (const auto& c : chaves) {
        if (!c.ligado) continue;
        if (faixa.minima == 0) faixa.minima = c.versao;
        faixa.maxima = c.versao;
    }
    if (faixa.minima == 0) throw WebAPIError(QStringLiteral("Nenhum protocolo seguro habilitado"));
    return faixa;
}

int WebAPI_Timeout() {
    // ONDAVIA_API_TIMEOUT (whole seconds) shortens the wait for tests and the demo.
    bool ok = false;
    const int segundos = qEnvironmentVariableIntValue("ONDAVIA_API_TIMEOUT", &ok);
    return ok && segundos > 0 ? segundos : 30;
}

QByteArray WebAPI_Query(const QList<TCampo>& campos) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray query;
    auto codificar = [&](const QString& texto) {
        const QByteArray utf8 = texto.toUtf8();
        for (const char ch : utf8) {
            const auto c = static_cast<unsigned char>(ch);
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                c == '*' || c == '-' || c == '.' || c == '_') {
                query += char(c);
            } else if (c == ' ') {
                query += '+';
            } else {
                query += '%';
                query += hex[c >> 4];
                query += hex[c & 0x0F];
            }
        }
    };
    for (qsizetype i = 0; i < campos.size(); ++i) {
        if (i > 0) query += '&';
        codificar(campos[i].nome);
        query += '=';
        codificar(campos[i].valor);
    }
    return query;
}

TResposta WebAPI_Enviar(const TSettings& cfg, const QString& base, const TChamada& chamada) {
    iniciarCurl();
    const bool https = base.startsWith(u"https:", Qt::CaseInsensitive);
    TFaixaTLS faixa;
    bool semTLS = false;
    try {
        faixa = WebAPI_Protocolos(cfg, chamada.comando);
    } catch (const WebAPIError& e) {
        // With every switch off only a plain-HTTP exchange can still go through.
        if (https) throw WebAPIError(QStringLiteral("REST request failed: ") + e.message());
        semTLS = true;
    }

    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!curl) throw WebAPIError(QStringLiteral("REST request failed: curl_easy_init"));
    CURL* c = curl.get();

    const QByteArray url =
        (base + QStringLiteral("/api26/api.php?")).toUtf8() + WebAPI_Query(chamada.campos);
    curl_slist* lista = nullptr;
    lista =
        curl_slist_append(lista, chamada.comando == u"upload_venda" ? ACCEPT_JSON : ACCEPT_PADRAO);
    lista = curl_slist_append(lista, "Accept-Charset: utf-8, *;q=0.8");
    lista =
        curl_slist_append(lista, chamada.put ? "Content-Type: application/json"
                                             : "Content-Type: application/x-www-form-urlencoded");
    // The body goes at once; waiting for "100 Continue" only slows a large sale down.
    lista = curl_slist_append(lista, "Expect:");
    std::unique_ptr<curl_slist, CurlFree> cabecalhos(lista);

    char erro[CURL_ERROR_SIZE] = {};
    Recepcao recepcao;
    const int timeout = WebAPI_Timeout();

    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, semTLS ? "http" : "http,https");
    // The system's proxy serves the cloud, but never a simulator on this machine.
    curl_easy_setopt(c, CURLOPT_NOPROXY, "127.0.0.1,localhost,::1");
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, cabecalhos.get());
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(c, CURLOPT_COOKIEFILE, ""); // cookies live for this call only
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);   // the synchronisation calls from a worker
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, erro);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(timeout));
    // The wait for the reply is a stall limit, not a limit on the whole transfer: the
    // catalogue reply runs to tens of megabytes and may take longer than 30 s on a shop's
    // line while it keeps coming. The overall ceiling only stops a server that trickles.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(timeout));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(timeout) * 20);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(WebAPI_Limite_Resposta));
    if (!semTLS)
        curl_easy_setopt(c, CURLOPT_SSLVERSION,
                         versaoMinima(faixa.minima) | versaoMaxima(faixa.maxima));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, receberCorpo);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &recepcao);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, receberCabecalho);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &recepcao);
    if (chamada.put) {
        curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, "PUT");
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(chamada.corpo.size()));
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, chamada.corpo.constData());
    } else {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, 0L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, "");
    }

    const CURLcode rc = curl_easy_perform(c);

    TResposta resposta;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &resposta.status);
    const char* tipo = nullptr;
    curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &tipo);
    resposta.contentType = tipo ? QString::fromLatin1(tipo) : QString();

    if (recepcao.excedeu || rc == CURLE_FILESIZE_EXCEEDED) {
        // Only the head of it goes into the diagnostic text.
        recepcao.corpo.truncate(64 * 1024);
        throw WebAPIError(QStringLiteral("REST request failed: a resposta passa de %1 MB")
                              .arg(WebAPI_Limite_Resposta >> 20),
                          decodificar(recepcao.corpo, resposta.contentType, chamada.comando));
    }
    resposta.texto = decodificar(recepcao.corpo, resposta.contentType, chamada.comando);
    if (rc != CURLE_OK) {
        const QString detalhe =
            erro[0] ? QString::fromUtf8(erro) : QString::fromUtf8(curl_easy_strerror(rc));
        throw WebAPIError(QStringLiteral("REST request failed: ") + detalhe, resposta.texto);
    }
    if (resposta.status >= 500)
        throw WebAPIError(textoStatus(recepcao.statusLinha, resposta.status), resposta.texto);
    return resposta;
}

void WebAPI_Falha_Mensagem(const WebAPIError& e) {
    MessageBox::ShowMessage(
        QStringLiteral("Erro ao conectar-se a API Verifique sua Internet \r\r\r") + e.message());
    throw Abort{};
}

QString WebAPI_Diagnostico(const WebAPIError& e) {
    return QStringLiteral("ResponseContent=") + e.resposta() + QStringLiteral(" ErroMessage= ") +
           e.message();
}

void WebAPI_Falha_Clipboard(const WebAPIError& e) {
    Platform::setClipboardText(WebAPI_Diagnostico(e));
}

void WebAPI_Falha_Completa(const WebAPIError& e) {
    try {
        WebAPI_Falha_Mensagem(e);
    } catch (const Abort&) {
        WebAPI_Falha_Clipboard(e);
        throw;
    }
}

TPeriodo WebAPI_Periodo_Dia(const QDate& dia) {
    const QString d = dia.toString(QStringLiteral("yyyy-MM-dd"));
    return {d + QStringLiteral(" 00:00:00"), d + QStringLiteral(" 23:59:59")};
}
