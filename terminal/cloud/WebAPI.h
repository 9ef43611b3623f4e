#pragma once

#include "foundation/Errors.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

struct TSettings;

// The one request pattern of the shop's cloud account: named text fields in the query
// string of a POST (or a PUT with a JSON body), one JSON value back. Calls block the
// thread that makes them.

// The cloud account's API host ("host:port"); ONDAVIA_API_HOST replaces the fixed one.
QString WebAPI_Host();
// `WebAPI_URL`: "ProtHTTP" in lower case + "://" + host + "/app".
QString WebAPI_Base(const QString& ProtHTTP);

// A failure of a call: the HTTP layer's message after "REST request failed: ", the
// status text of a reply of 500 or above, or a reply that cannot be read. It carries the
// reply text received so far for the diagnostic text.
class WebAPIError : public Error {
public:
    WebAPIError(const QString& message, const QString& resposta = QString())
        : Error(message), m_resposta(resposta) {}
    const QString& resposta() const { return m_resposta; }

private:
    QString m_resposta;
};

struct TCampo {
    QString nome;
    QString valor;
};

struct TChamada {
    QString comando;      // for the per-command variations
    QList<TCampo> campos; // in order, the common ones included where the command puts them
    bool put = false;     // PUT with `corpo` as its JSON body (else POST with an empty body)
    QByteArray corpo;
};

struct TResposta {
    long status = 0;
    QString contentType;
    QString texto; // the body decoded by its charset (UTF-8 without one; "raw" commands:
                   // empty unless a text type)
};

// Protocol versions a command may use: the fixed set for "login", "seguranca",
// "upload_venda" and "pix", the switches of the settings for the others. Returns the
// lowest and highest enabled version as (major*10 + minor) of TLS (10, 11, 12, 13);
// SSL 2 and 3 are never offered. Throws WebAPIError when no version is enabled.
struct TFaixaTLS {
    int minima = 10;
    int maxima = 13;
};
TFaixaTLS WebAPI_Protocolos(const TSettings& cfg, const QString& comando);

// Seconds for the connection and for the reply: 30, or ONDAVIA_API_TIMEOUT for tests.
// The reply's limit is on a stall (no byte for that long), so a large reply that keeps
// coming is not cut off.
int WebAPI_Timeout();

// The largest reply body a call takes: a server that sends without end fails the call
// instead of exhausting memory. The catalogue reply is some tens of megabytes.
inline constexpr qint64 WebAPI_Limite_Resposta = qint64(256) << 20;

// Sends one call to `base` + "/api26/api.php" and returns the reply. Throws WebAPIError
// for failures of kinds 1 and 2 (no connection, time-out, status of 500 or above).
TResposta WebAPI_Enviar(const TSettings& cfg, const QString& base, const TChamada& chamada);

// The form encoding of the query string: "a=1&b=x+y%26z".
QByteArray WebAPI_Query(const QList<TCampo>& campos);

// The reactions to a failure.
// "Erro ao conectar-se a API Verifique sua Internet " + three CRs + the message, in a
// message box; then the action ends silently (throws Abort).
[[noreturn]] void WebAPI_Falha_Mensagem(const WebAPIError& e);
// "ResponseContent=" + reply + " ErroMessage= " + message, on the clipboard.
void WebAPI_Falha_Clipboard(const WebAPIError& e);
// Both, the box first and the clipboard once it is closed; then the action ends (Abort).
[[noreturn]] void WebAPI_Falha_Completa(const WebAPIError& e);

// A day as the account's period fields take it: "YYYY-MM-DD 00:00:00" to
// "YYYY-MM-DD 23:59:59".
struct TPeriodo {
    QString inicio, fim;
};
TPeriodo WebAPI_Periodo_Dia(const QDate& dia);
QString WebAPI_Diagnostico(const WebAPIError& e);
