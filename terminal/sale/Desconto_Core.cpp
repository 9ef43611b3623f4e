#include "Desconto_Core.h"

#include "foundation/Database.h"

double Desconto_Novo_Total(double B, double D, bool percentual) {
    return percentual ? B - D * B / 100 : B - D;
}

double Desconto_Do_Total(double B, double N, bool percentual) {
    if (!percentual) return B - N;
    // Nothing to take a percent of: an empty sale would show an infinite discount.
    return B != 0 ? 100 - N * 100 / B : 0;
}

bool Desconto_Alem_Limite(double B, double N, double L) {
    // A hair of tolerance: the same floor reached through a percent must not tip over.
    return L > 0 && N < B - B * L / 100 - 1e-9;
}

void Desconto_Geral_Gravar(db::Connection& c, qint32 Venda_ID, double venda_desconto) {
    db::Query q(c);
    q.setSql(QStringLiteral("update venda set venda_desconto=:venda_desconto where (id=:id)"));
    q.bind(QStringLiteral(":venda_desconto"), venda_desconto);
    q.bind(QStringLiteral(":id"), Venda_ID);
    q.exec();
}

TDescontoItem Desconto_Item_Carregar(db::Connection& c, qint64 id) {
    db::Query q(c);
    q.setSql(QStringLiteral("select * from venda_produtos where (id=:id)"));
    q.bind(QStringLiteral(":id"), id);
    q.open();
    TDescontoItem i;
    if (!q.eof()) {
        i.prod_total = q.field(QStringLiteral("prod_total")).asFloat();
        i.prod_desc = q.field(QStringLiteral("prod_desc")).asFloat();
    }
    return i;
}

void Desconto_Item_Gravar(db::Connection& c, qint64 id, double prod_desc) {
    db::Query q(c);
    q.setSql(QStringLiteral("update venda_produtos set prod_desc=:prod_desc, prod_geral= "
                            "(prod_total-(:prod_desc+prod_descCC)+Prod_Acrec) where (id=:id)"));
    q.bind(QStringLiteral(":prod_desc"), prod_desc);
    q.bind(QStringLiteral(":id"), id);
    q.exec();
}
