#include "Listas_Core.h"

#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"

#include <QRegularExpression>

namespace {

const QString Ordem_Padrao = QStringLiteral("estoque desc");

bool soDigitos(const QString& t) {
    for (const QChar c : t)
        if (c < u'0' || c > u'9') return false;
    return !t.isEmpty();
}

// LIKE would read "%" and "_" in the typed text as wildcards; with ESCAPE they match
// themselves, as the quote does.
QString padraoLike(const QString& t) {
    QString r = t;
    r.replace(u'\\', QStringLiteral("\\\\"));
    r.replace(u'%', QStringLiteral("\\%"));
    r.replace(u'_', QStringLiteral("\\_"));
    return u'%' + r + u'%';
}

QStringList colunasProdutos(db::Connection& c) {
    db::Query q(c);
    q.setSql(QStringLiteral("select name from pragma_table_info('produtos')"));
    QStringList colunas;
    for (q.open(); !q.eof(); q.next())
        colunas << q.field(0).asString();
    return colunas;
}

TProduto lerProduto(const db::Query& q) {
    TProduto p;
    p.id = q.field(QStringLiteral("id")).asInteger();
    p.produto = q.field(QStringLiteral("produto")).asString();
    p.cbarra = q.field(QStringLiteral("cbarra")).asString();
    p.medida = q.field(QStringLiteral("medida")).asString();
    p.marca = q.field(QStringLiteral("marca")).asString();
    p.grupo = q.field(QStringLiteral("grupo")).asString();
    p.tamanho = q.field(QStringLiteral("tamanho")).asString();
    p.venda = q.field(QStringLiteral("venda")).asFloat();
    p.estoque = q.field(QStringLiteral("estoque")).asFloat();
    p.promocao = q.field(QStringLiteral("promocao")).asFloat();
    p.promocao_min = q.field(QStringLiteral("promocao_min")).asFloat();
    p.dt_promocao = q.field(QStringLiteral("dt_promocao")).asDateTime();
    return p;
}

// Fixed-width column of the row texts: padded with spaces, cut to 15.
QString coluna15(const QString& s) {
    return s.leftJustified(15, u' ', true);
}

} // namespace

QString Produtos_Lista_OrderBy(const QString& conf_Buscar_OrderBy, const QStringList& colunas) {
    const QString ordem = conf_Buscar_OrderBy.trimmed();
    if (ordem.isEmpty() || ordem.compare(QStringLiteral("estoque"), Qt::CaseInsensitive) == 0)
        return Ordem_Padrao;

    static const QRegularExpression termo(
        QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)(?:\s+(asc|desc))?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList partes;
    for (const QString& parte : ordem.split(u',')) {
        const QRegularExpressionMatch m = termo.match(parte);
        if (!m.hasMatch()) return Ordem_Padrao;
        const auto coluna = std::find_if(colunas.begin(), colunas.end(), [&](const QString& c) {
            return c.compare(m.captured(1), Qt::CaseInsensitive) == 0;
        });
        if (coluna == colunas.end()) return Ordem_Padrao;
        QString item = *coluna;
        if (m.hasCaptured(2)) item += u' ' + m.captured(2).toLower();
        partes << item;
    }
    return partes.join(QStringLiteral(", "));
}

QList<TProduto> Produtos_Lista_Pesquisar(db::Connection& c, const QString& texto,
                                         const QString& conf_Buscar_OrderBy) {
    const QString T = texto.trimmed();
    if (T.isEmpty()) return {};

    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("select * from produtos where 1 "));
    q.addSql(QStringLiteral("and ("));
    const bool digitos = soDigitos(T);
    if (digitos && T.size() < 9) {
        q.addSql(QStringLiteral("(id=:id)"));
        q.addSql(QStringLiteral("or (cbarra=:cbarra)"));
    } else if (digitos) {
        q.addSql(QStringLiteral("(cbarra=:cbarra)"));
    } else {
        q.addSql(QStringLiteral("(produto LIKE :padrao ESCAPE '\\')"));
        q.addSql(QStringLiteral("or (marca LIKE :padrao ESCAPE '\\')"));
    }
    q.addSql(QStringLiteral(") "));
    q.addSql(QStringLiteral("order by ") +
             Produtos_Lista_OrderBy(conf_Buscar_OrderBy, colunasProdutos(c)));
    q.addSql(QStringLiteral("LIMIT 80"));

    if (digitos && T.size() < 9) q.bind(QStringLiteral(":id"), StringToInteger(T));
    if (digitos)
        q.bind(QStringLiteral(":cbarra"), T);
    else
        q.bind(QStringLiteral(":padrao"), padraoLike(T));

    QList<TProduto> lista;
    for (q.open(); !q.eof(); q.next())
        lista << lerProduto(q);
    return lista;
}

QString Produtos_Lista_Linha1(const TProduto& p) {
    return p.produto.toUpper();
}

QString Produtos_Lista_Linha2(const TProduto& p) {
    return QStringLiteral("CÓDIG: ") + coluna15(QString::number(p.id)) +
           QStringLiteral(" | C. BARRA: ") + p.cbarra;
}

QString Produtos_Lista_Linha3(const TProduto& p) {
    return QStringLiteral("MARCA: ") + coluna15(p.marca) + QStringLiteral(" | EST: ") +
           FloatToString(p.estoque);
}

QString Produtos_Lista_Linha4(const TProduto& p) {
    return QStringLiteral("GRUPO: ") + p.grupo;
}

QString Produtos_Lista_Preco(const TProduto& p) {
    return FormatFloat(QStringLiteral("0.00,"), p.venda);
}

QString Produtos_Lista_Desconto(const TProduto& p, double conf_DescOpcional) {
    if (!(conf_DescOpcional > 0)) return QString();
    return QStringLiteral("Desc [") + FormatFloat(QStringLiteral("0.00,"), conf_DescOpcional) +
           QStringLiteral("%]  ") +
           FormatFloat(QStringLiteral("0.00,"), p.venda - p.venda * conf_DescOpcional / 100);
}

bool Produtos_Lista_Sem_Estoque(const TProduto& p) {
    return p.estoque <= 0;
}

QList<TFuncionario> Funcionarios_Lista(db::Connection& c) {
    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("select * from funcionarios where 1"));
    q.addSql(QStringLiteral(" order by nome LIMIT 50"));
    QList<TFuncionario> lista;
    for (q.open(); !q.eof(); q.next())
        lista << TFuncionario{q.field(QStringLiteral("id")).asInteger(),
                              q.field(QStringLiteral("nome")).asString()};
    return lista;
}
