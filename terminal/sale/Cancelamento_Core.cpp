#include "Cancelamento_Core.h"

#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"

namespace {

std::optional<TItemCancelamento> ler(db::Query& q) {
    q.open();
    if (q.eof()) return std::nullopt;
    TItemCancelamento i;
    i.id = q.field(QStringLiteral("id")).asInt64();
    i.produto = q.field(QStringLiteral("produto")).asString();
    i.prod_cbarra = q.field(QStringLiteral("prod_cbarra")).asString();
    i.prod_qtd = q.field(QStringLiteral("prod_qtd")).asFloat();
    i.prod_venda = q.field(QStringLiteral("prod_venda")).asFloat();
    i.prod_geral = q.field(QStringLiteral("prod_geral")).asFloat();
    return i;
}

} // namespace

QString TItemCancelamento::Linha1() const {
    return produto;
}

QString TItemCancelamento::Linha2() const {
    return prod_cbarra.leftJustified(15, u' ', true) + FloatToString_Right(9, prod_qtd) +
           QStringLiteral(" X ") + FloatToString_Right(9, prod_venda);
}

QString TItemCancelamento::Linha3() const {
    return FormatFloat(QStringLiteral("0.00,"), prod_geral);
}

std::optional<TItemCancelamento> Cancelamento_Item_Carregar(db::Connection& c, qint64 id) {
    db::Query q(c);
    q.setSql(QStringLiteral("select * from  venda_produtos where (apagado=0) and (id=:id)"));
    q.bind(QStringLiteral(":id"), id);
    return ler(q);
}

std::optional<TItemCancelamento> Cancelamento_Item_CBarra(db::Connection& c, const QString& cbarra,
                                                          const QString& Venda_COD) {
    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("select * from venda_produtos where (apagado=0)"));
    q.addSql(QStringLiteral("and (prod_cbarra=:prod_cbarra) and (venda_cod=:venda_cod)"));
    q.bind(QStringLiteral(":prod_cbarra"), cbarra);
    q.bind(QStringLiteral(":venda_cod"), Venda_COD);
    return ler(q);
}

void Cancelamento_Item_Excluir(db::Connection& c, qint64 id) {
    db::Query q(c);
    q.setSql(QStringLiteral("delete from  venda_produtos where (id=:id)"));
    q.bind(QStringLiteral(":id"), id);
    q.exec();
}
