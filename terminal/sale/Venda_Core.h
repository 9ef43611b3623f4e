#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace db {
class Connection;
}

// The sale open on the sale screen; the fields mirror the columns of `venda`.
struct TVenda {
    qint32 Venda_ID = 0; // 0: no sale open
    QString Venda_COD;
    QDateTime Venda_dt_pedido;
    qint32 Venda_status = 0;
    double Venda_frete = 0;
    double Venda_Desconto = 0;
    double Venda_acrecimo = 0;
    double Venda_Total = 0;
    double Venda_Produtos = 0; // sum of the active items' line totals, not stored
    QString Venda_Obs;
    qint32 Venda_Cliente_ID = 0;
    QString Venda_Cliente_CPF;
    QString Venda_Entreg_endereco;
    QString Venda_Entreg_cidade;
    QString Venda_Entreg_bairro;
    QString Venda_Entreg_cep;
    qint32 Plano_ID = 0;
    qint32 Plano_Parcelas = 0;
    qint32 Plano_Periodicidade = 0;
    qint32 Plano_Carencia = 0;
    QDate Plano_Dt_Primeira;
    QString Plano_Nome;
    double Plano_Acrecimo = 0;
    qint32 Plano_Alt_Carencia = 0;
    QDate Venda_Dt_Venda;
    qint32 Venda_dt_dia = 0;
    qint32 Venda_dt_mes = 0;
    qint32 Venda_dt_ano = 0;
    qint32 Venda_concluido = 0;
    double Venda_Entrada = 0;
    double Venda_PIX = 0;
    double Venda_Cheque = 0;
    double Venda_Cartao = 0;
    double Venda_Ticket = 0;
    double Venda_Prazo = 0;
    double Venda_Troco = 0;
    qint32 Entregador_ID = 0;
};

// One card payment of the sale.
struct TCartao_Linha {
    qint32 id = 0;
    QString operadora;
    QString forma;
    QString cliente;
    double valor = 0;
    qint32 parcelas = 1;
};

// The sale screen's card payments; they outlive the checkout window until the sale is
// cleared. Ids are never reused while the table lives.
class TDSet_Cartao {
public:
    const QList<TCartao_Linha>& Linhas() const { return m_linhas; }
    bool isEmpty() const { return m_linhas.isEmpty(); }
    // Appends the row with the next id and returns that id.
    qint32 Append(TCartao_Linha linha);
    // False when no row has that id.
    bool Delete(qint32 id);
    double SUM_Valor() const;
    void Clear() { m_linhas.clear(); }

private:
    QList<TCartao_Linha> m_linhas;
    qint32 m_proximo = 1;
};

// "PDV" + seller id + sale id with at least four digits + "YYMMDDHHSS" + a digit 0-8 +
// a digit 0-6 (seller 12, sale 37, 2025-03-05 14:07:09, digits 3 and 5 give
// "PDV120037250305140935").
QString Venda_Codigo(qint32 Vendedor_ID, qint32 id, const QDateTime& agora, int digito1,
                     int digito2);
// The same with the clock and two random digits, the generator seeded from the clock.
QString Venda_Codigo_Novo(qint32 Vendedor_ID, qint32 id);

// Step 2 of clearing the screen: every field back to "no sale", the dates today.
// Entregador_ID stays: opening a new sale sets it to 0.
void Venda_Limpar_Campos(TVenda& venda, const QDate& hoje);

// True when more than one whole day passed since the last synchronisation (or its
// moment does not read).
bool Sincronia_Atrasada(const QDateTime& Dt_Sinc_Update, const QDateTime& agora);

// The statements of the sale's life, on the connection given.
namespace VendaDB {

// id of the first sale left open (concluido 0), 0 when none.
qint32 Aberta(db::Connection& c);
// The largest id plus 1; 1 for an empty table or when the query fails.
qint32 Proximo_ID(db::Connection& c);
void Inserir(db::Connection& c, qint32 id, const QString& venda_cod, const QDate& Dt_Venda);
// Copies the row into the fields; false (fields untouched) when there is no such sale.
bool Carregar(db::Connection& c, qint32 id, TVenda& venda);
// id of the sale with that code, 0 when none.
qint32 ID_Por_Codigo(db::Connection& c, const QString& venda_cod);
// Removes a sale never concluded with its items; of a reopened sale, removes the items
// added since and restores those removed since. All or nothing.
void Cancelar(db::Connection& c, qint32 id);
// Deletes a stored sale with its items, card payments, cheque and discounts. All or
// nothing. Card rows go too: the next sale may take this id back.
void Excluir(db::Connection& c, qint32 id);
// Concluded sales not yet accepted by the cloud account.
qint32 NaoEnviadas(db::Connection& c);
// True when a sale of that day or later was not accepted by the cloud account yet.
bool NaoEnviadas_Desde(db::Connection& c, const QDate& Dt_Venda);

} // namespace VendaDB
