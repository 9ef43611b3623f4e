#pragma once

#include <QDate>
#include <QDateTime>
#include <QStringList>

class TDModule;
struct TSettings;
struct TImpressao_Nuvem;

// The management report: one day of this terminal's sales in 40 columns, written to
// "PreImpressao.txt" and sent once, without a question, with printer profile 003.

struct TRelatorio_Resumo {
    qint32 finalizadas_qtd = 0, enviadas_qtd = 0, nenviadas_qtd = 0, excluidas_qtd = 0;
    double finalizadas_valor = 0, enviadas_valor = 0, nenviadas_valor = 0, excluidas_valor = 0;
};

struct TRelatorio_Pagamentos {
    double entrada = 0, pix = 0, cheque = 0, cartao = 0, prazo = 0, troco = 0;
    qint32 entrada_qtd = 0, pix_qtd = 0, cheque_qtd = 0, cartao_qtd = 0, prazo_qtd = 0,
           troco_qtd = 0;
};

struct TRelatorio_Dados {
    QString Emp_Nome, Emp_Endereco, Emp_Numero, Emp_Bairro, Emp_Cidade, Emp_UF, Emp_Fone;
    QString Mascara = QStringLiteral("0.00,");
    QDateTime DataIni, DataFim;
    bool Tem_Resumo = false; // the summary comes from a product row: none without products
    TRelatorio_Resumo Resumo;
    bool Tem_Nao_Enviadas = false;
    QStringList Nao_Enviadas; // "HH:MM" of each unsent sale paid in cash
    TRelatorio_Pagamentos Pagamentos;
    qint32 Salto = 3;
};

QStringList Relatorio_Linhas(const TRelatorio_Dados& d, const QDateTime& agora);

// Composes and sends the report of the days of DataIni to DataFim (from 00:00:00 of the
// first to 23:59:59 of the last). False, writing nothing, for a printer type that gets
// no report. Throws FileError when the preview file or the port fails.
bool Imprime_Relatorio_Gerencial_Local(TDModule& dm, const TSettings& cfg, const QDateTime& DataIni,
                                       const QDateTime& DataFim);

// The print-options screen's report for the sales list's day: rendered by the cloud
// account when the terminal is online, else composed here.
void Imprime_Relatorio_Gerencial(TDModule& dm, const TSettings& cfg, bool ConexaoWeb,
                                 const QDate& dia, const TImpressao_Nuvem& nuvem);
