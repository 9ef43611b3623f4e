#pragma once

#include "cloud/WebAPI.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include <functional>

struct TSettings;

namespace db {
class Connection;
}

// Sending one concluded sale to the cloud account ("upload_venda"): the sale and its
// customer as request fields, the items and card payments as a JSON text in the body of
// a PUT. The account confirms with "Status:OK" and may send statements for the local
// database between <SQLn> and </SQLn> tags.

// What the upload hands back to its caller.
struct TUpload_Resultado {
    bool Enviada = false; // the reply holds "Status:OK": the sale is marked sent
    QString Resposta;     // the reply text as received
    QString Arquivo;      // the reply file; empty when it could not be written
};

// The request fields, in order (the common ones among them), ending with the 23 customer
// fields: those of the sale's customer, or the company's for a sale without one. Dates
// are `hoje`. Throws DbError, or Error when there is no sale with that id.
QList<TCampo> Venda_Upload_Campos(db::Connection& c, const TSettings& cfg, qint32 venda_id,
                                  const QDate& hoje);

// The body ("produtosJSON"): one line per brace and per key, CR LF after every line, an
// empty object closing each array, every value a JSON string, accents removed. Throws
// DbError.
QString Venda_Upload_Corpo(db::Connection& c, qint32 venda_id, const QString& venda_cod);

// The reply file: `pasta` + "Venda_Lista_UpLoad_API_WEB" + hours and seconds + ".html".
QString Venda_Upload_Arquivo(const QString& pasta, const QTime& agora);

// One statement the reply asks for.
struct TUpload_Comando {
    int n = 0;   // of <SQLn>, 1 to 100
    QString sql; // empty when the closing tag is missing
};

// The statements of a reply, by n. For n up to 9 the statement starts one character
// after the tag (the account puts a blank there); from 10 on, right after the tag.
QList<TUpload_Comando> Venda_Upload_Comandos(const QString& resposta);

// Uploads the sale `venda_id`:
// - the reply goes on the clipboard and into the reply file in `pasta` (the program
//   folder), and `Mostrar` (when set) gets the file and the text to show them;
// - "Status:OK" anywhere in the reply sets `venda_status` 1, then the reply's statements
//   run one by one; a reply without it leaves the sale unsent and runs none of them.
// A failed exchange (no connection, time-out, status of 500 or above) shows "Erro ao
// conectar-se a API Verifique sua Internet ..." and throws Abort: the caller's action
// ends there, so a checkout prints no receipt and refreshes nothing after it. A statement
// of the reply that fails, or is empty, throws DbError after the sale is marked sent.
TUpload_Resultado Venda_Lista_UpLoad(
    db::Connection& c, const TSettings& cfg, const QString& WebAPI_URL, const QString& pasta,
    qint32 venda_id,
    const std::function<void(const QString& arquivo, const QString& resposta)>& Mostrar = {});
