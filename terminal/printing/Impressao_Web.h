#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

struct TSettings;

namespace db {
class Connection;
}

// The prints the cloud account lays out: the receipt of a sale it holds, a courier's
// delivery list and the management report. The terminal adds its footer, writes
// "PreImpressao.txt" (UTF-8 with a byte-order mark, CR LF) and sends it with profile 001.

struct TImpressao_Web {
    const TSettings& cfg;
    QString WebAPI_URL;
    QString Sistema_DirName; // the program folder, with its trailing separator
    QString Pasta_Empresa;   // the company folder, for the "Arquivo" port
};

// The footer: a rule, the profile's message in slices of 40, the slogan when there is
// one, a rule, the vendor's address and the feed of single blanks.
QStringList Impressao_Web_Rodape(const QString& mensagem, const QString& slogan, int salto);

// Each returns true once the file is written; a failed request shows the connection
// message, puts the diagnostic on the clipboard and ends the action (Abort), leaving the
// file as it was. The receipt asks before printing; the list prints without asking when
// Imprimir is set; the report always prints.
bool Imprime_Cupom_NaoFiscal_WEB(const TImpressao_Web& w, qint32 Venda_ID, bool Imprimir);
bool Imprime_Lista_Entrega_WEB(const TImpressao_Web& w, qint32 entregador_ID, bool Imprimir,
                               const QDate& dia);
bool Imprime_Relatorio_GerencialWEB(const TImpressao_Web& w, const QDate& dia);

// The purchase order's page on the cloud portal for the local sale Venda_ID; the daily
// key changes at midnight. A sale without a row gives an empty "documento".
QString Imprime_Cupom_Pedido001_Endereco(db::Connection& c, qint32 Emp_ID, qint32 Venda_ID,
                                         const QDate& hoje);
QString Pedido001_Key(qint32 Emp_ID, const QDate& hoje);
