#pragma once

#include <QString>

class ISincronia_Tela;
class TSincronia_Resposta;
namespace db {
class Connection;
}

// Where a run stands, for the diagnostic text and the error log.
struct TSincronia_Passo {
    // The product step number: 0 until the first product, 1..22 within each product
    // element; the later sections leave it alone.
    int Linha = 0;
    // The last statement prepared on the main query object (inserts and table-wide
    // deletes; the customers' per-document delete runs on the second one).
    QString Ultimo_SQL;
};

// Elements read before their rows are written. The reading happens outside any
// transaction, and the writing in transactions of a couple of milliseconds, so that the
// sale screen's own writes find the lock free at once or within a few milliseconds.
inline constexpr int Sincronia_Lote = 1000;

// Writes the eight sections of the reply into `conexao`, in order, with their screen
// steps. Throws at the first failure; the rows read before it are written first, so the
// sections already done are complete and the current one holds its rows up to there.
void Sincronia_Secoes(const TSincronia_Resposta& resposta, db::Connection& conexao,
                      ISincronia_Tela& tela, TSincronia_Passo& passo);

// A plan's "periodicidade" in days: "mensal" 30, "Quinzenal" 15, "Semanal" 7, without
// regard to case; anything else is taken as monthly.
int Sincronia_Periodicidade(const QString& texto);

// A date-time of the reply ("YYYY-MM-DD HH:MM:SS") in the storage form, with the rules
// and failures of DateMySQLToDateTime.
QString Sincronia_DataHora(const QString& texto);

// The statements, as the error log shows them.
namespace Sincronia_SQL {
extern const QString Produtos;
extern const QString Produtos_Inativo;
extern const QString Produtos_Excluir;
extern const QString Clientes_Documento;
extern const QString Clientes;
extern const QString Clientes_Inativo;
extern const QString Clientes_Excluir;
extern const QString Vendedores_Excluir;
extern const QString Vendedores;
extern const QString Cidades;
extern const QString Rotas_Excluir;
extern const QString Rotas;
extern const QString Planos_Excluir;
extern const QString Planos;
extern const QString Cartoes_Excluir;
extern const QString Cartoes;
extern const QString Mensagens_Excluir;
extern const QString Mensagens;
} // namespace Sincronia_SQL
