#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

struct TSettings;
class JsonValor;

namespace db {
class Connection;
}

// One row of the day's sales list: a sale of this terminal not yet sent, a sale the
// cloud account holds, or the header of a courier's run of cloud sales.
enum class TLista_Tipo { Local, Nuvem, Entregador };

struct TLista_Linha {
    TLista_Tipo tipo = TLista_Tipo::Local;
    qint32 tag = 0;  // local sale id, the cloud account's sale id, or the courier id
    QString detalhe; // empty, the cloud sale's number, or "Entregador"
    // Sale rows: the three lines on the left and the total, date and time on the right,
    // as shown. Headers: linha1 holds "<id> - <NAME>".
    QString linha1, linha2, linha3, total, data, hora;
    int figura = 0; // 0 not sent, 1 sent, 2 sent and billed
};

// The row of one sale, its texts as the list shows them.
TLista_Linha Lista_Vendas_Criar(qint32 id, const QString& hora, const QString& data,
                                const QString& total, const QString& linha3,
                                const QString& linha2, const QString& linha1,
                                const QString& detalhe, int figura);
// The header of a courier's run of sales.
TLista_Linha Lista_Vendas_Grupos(qint32 entregador_id, const QString& nome);

// The first 50 employees by name, for the search box's drop-down.
QStringList Venda_Lista_Funcionarios(db::Connection& c);

// This terminal's sales of the day not yet accepted by the cloud account, newest first.
QList<TLista_Linha> Venda_Lista_Locais(db::Connection& c, const QDate& dia,
                                       const QString& mascara);

// The cloud account's sales of the day, grouped by courier in the reply's order: a
// courier whose sales are not consecutive gets a header for each run. Rows read before a
// failure stay in `linhas`; the failure is thrown as WebAPIError.
void Venda_Lista_Nuvem(const JsonValor& raiz, const QString& Emp_Nome, const QString& mascara,
                       QList<TLista_Linha>& linhas);
void Venda_Lista_WebAPI(const TSettings& cfg, const QString& WebAPI_URL, const QString& busca,
                        const QDate& dia, QList<TLista_Linha>& linhas);

// Assigns a courier to a sale of the cloud account. A failure shows the connection
// message, puts the diagnostic on the clipboard and ends the action (Abort).
bool Entregador_Update_WEB(const TSettings& cfg, const QString& WebAPI_URL, qint32 venda_id,
                           qint32 entregador_id);

// `venda_status` of a local sale; -1 when there is no such sale.
qint32 Venda_Lista_Status(db::Connection& c, qint32 id);

// Which local sale the reopen button serves: a local row opens its own sale; a cloud row
// the sale of this terminal with that number, if any; a header nothing. Empty: none.
QString Venda_Lista_Codigo_Reabrir(db::Connection& c, const TLista_Linha& linha);
