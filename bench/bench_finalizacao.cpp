// Speed of concluding a sale at the checkout: the sale row, 200 items marked concluded (a
// few removed ones deleted), a cheque and two card rows, in one transaction on a company
// database in WAL mode with synchronous=FULL, as the sale screen's connection keeps it.
//
//     build/bench/bench_finalizacao [saves]

#include "checkout/Finalizacao_Core.h"
#include "foundation/Database.h"
#include "foundation/Schema.h"
#include "sale/Venda_Core.h"

#include "support/TestDir.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int ITENS = 200;
constexpr int HISTORICO = 500; // sales already concluded in the file

void abrirVenda(db::Connection& c, TVenda& v, int id, int concluido = 0) {
    v.Venda_ID = id;
    v.Venda_COD = Venda_Codigo(1, id, QDateTime::currentDateTime(), 0, 0);
    db::Transaction t(c);
    VendaDB::Inserir(c, id, v.Venda_COD, QDate::currentDate());
    if (concluido) c.exec(QStringLiteral("update venda set concluido=1 where id=%1").arg(id));
    db::Query q(c);
    q.setSql(QStringLiteral(
        "insert into venda_produtos (venda_id, venda_cod, prod_id, produto, prod_cbarra,"
        " prod_medida, prod_venda, prod_qtd, prod_total, prod_geral, apagado) values (:venda_id,"
        " :venda_cod, :prod_id, :produto, '7890000000000', 'UN', 2, 1, 2, 2, :apagado)"));
    for (int i = 1; i <= ITENS; ++i) {
        q.bind(QStringLiteral(":venda_id"), id);
        q.bind(QStringLiteral(":venda_cod"), v.Venda_COD);
        q.bind(QStringLiteral(":prod_id"), i);
        q.bind(QStringLiteral(":produto"), QStringLiteral("Produto %1").arg(i));
        q.bind(QStringLiteral(":apagado"), i % 40 == 0 ? 1 : 0);
        q.exec();
    }
    t.commit();
}

} // namespace

int main(int argc, char** argv) {
    const int vezes = argc > 1 ? std::max(10, atoi(argv[1])) : 50;
    TestDir dir;
    db::Connection c;
    {
        // The schema is made once, as the shipped file comes; the company copy runs in WAL.
        db::Connection novo;
        novo.open(dir.file("dbase.s3db"));
        Schema_Criar(novo);
    }
    c.open(dir.file("dbase.s3db"), db::Journal::Wal, db::Sync::Full);

    // The items of earlier sales, so that the statements by sale code find theirs among many.
    for (int id = 1; id <= HISTORICO; ++id) {
        TVenda v;
        abrirVenda(c, v, id, 1);
    }

    TDSet_Cartao cartoes;
    cartoes.Append(
        {0, QStringLiteral("REDEX"), QStringLiteral("Crédito"), QStringLiteral("MARIA"), 100, 3});
    cartoes.Append({0, QStringLiteral("CIELOX"), QStringLiteral("Débito"), QString(), 50, 1});
    TCheque cheque{QStringLiteral("JOAO"),     QStringLiteral("12345678909"),
                   QStringLiteral("BRADESCO"), QStringLiteral("000123"),
                   QStringLiteral("0042"),     QStringLiteral("4567-8"),
                   QDate::currentDate()};
    TFinaliza_Campos campos;
    campos.Lab_Cupom_Total = QStringLiteral("390,00");
    campos.Edt_PG_Dinheiro = QStringLiteral("100,00");
    campos.Edt_PG_Cartao = QStringLiteral("150,00");
    campos.Edt_PG_Cheque = QStringLiteral("140,00");
    campos = Venda_Finaliza_Calc(campos).Campos;

    std::vector<double> ms;
    ms.reserve(vezes);
    for (int i = 0; i < vezes; ++i) {
        TVenda v;
        abrirVenda(c, v, HISTORICO + i + 1);
        v.Venda_Cliente_ID = 5;
        v.Venda_Cliente_CPF = QStringLiteral("12345678909");
        QElapsedTimer t;
        t.start();
        Venda_Finaliza_Grava(c, v, campos, 1, 0, cheque, cartoes, QDate::currentDate());
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("conclusion of a sale of %d items (WAL, synchronous=FULL, %d sales in the file), "
                "%d saves:\n",
                ITENS, HISTORICO, vezes);
    std::printf("median %7.2f ms   p90 %7.2f ms   max %7.2f ms\n", ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], ms.back());
    return 0;
}
