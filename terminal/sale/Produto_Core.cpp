#include "Produto_Core.h"

#include "foundation/Database.h"
#include "foundation/Errors.h"
#include "foundation/QueloUtil_Unit.h"

#include <QSaveFile>

namespace {

bool soDigitos(const QString& t) {
    for (QChar ch : t)
        if (ch < u'0' || ch > u'9') return false;
    return true;
}

// The operator's text as a LIKE pattern matched literally: "50%" is not "anything
// starting with 50", and "_" is not "any character".
QString padraoLike(const QString& t) {
    QString r;
    r.reserve(t.size() + 2);
    r += u'%';
    for (QChar ch : t) {
        if (ch == u'\\' || ch == u'%' || ch == u'_') r += u'\\';
        r += ch;
    }
    r += u'%';
    return r;
}

TProduto lerProduto(const db::Query& q) {
    auto f = [&](const char* nome) { return q.field(QLatin1String(nome)); };
    TProduto p;
    p.id = f("id").asInteger();
    p.produto = f("produto").asString();
    p.cbarra = f("cbarra").asString();
    p.medida = f("medida").asString();
    p.marca = f("marca").asString();
    p.grupo = f("grupo").asString();
    p.tamanho = f("tamanho").asString();
    p.venda = f("venda").asFloat();
    p.estoque = f("estoque").asFloat();
    p.promocao = f("promocao").asFloat();
    p.promocao_min = f("promocao_min").asFloat();
    p.dt_promocao = f("dt_promocao").asDateTime();
    return p;
}

// Cut to n UTF-16 units without splitting a surrogate pair.
QString corta(const QString& t, qsizetype n) {
    if (t.size() <= n) return t;
    if (n > 0 && t[n - 1].isHighSurrogate()) --n;
    return t.left(n);
}

} // namespace

QList<TProduto> Produto_Pesquisar(db::Connection& c, const QString& texto, qint32 balanca_qtdcod) {
    const QString T = texto.trimmed();
    const bool digitos = !T.isEmpty() && soDigitos(T);

    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("select * from produtos where"));
    q.addSql(QStringLiteral("((cbarra=:cbarra)"));
    if (balanca_qtdcod > 0)
        q.addSql(QStringLiteral("or ((cbarra=:cbarra_balanca) and (medida = 'KG'))"));
    if (digitos && T.size() < 8) q.addSql(QStringLiteral(" or (id=:id)"));
    if (!T.isEmpty() && !digitos)
        q.addSql(QStringLiteral(" or (produto LIKE :produto ESCAPE '\\')"));
    q.addSql(QStringLiteral(")"));

    q.bind(QStringLiteral(":cbarra"), T);
    if (balanca_qtdcod > 0) q.bind(QStringLiteral(":cbarra_balanca"), T.left(balanca_qtdcod));
    if (digitos && T.size() < 8) q.bind(QStringLiteral(":id"), StringToInteger(T));
    if (!T.isEmpty() && !digitos) q.bind(QStringLiteral(":produto"), padraoLike(T));

    QList<TProduto> r;
    for (q.open(); !q.eof(); q.next())
        r.append(lerProduto(q));
    return r;
}

bool Produto_Etiqueta_Balanca(const TProduto& p, const QString& texto, qint32 balanca_qtdcod) {
    const QString T = texto.trimmed();
    // The text must hold more than the code: the bare code of a weighed product (as the
    // product list puts it into the search box) is that product at its catalogue price,
    // not a label whose number would be the code's own last digit.
    return balanca_qtdcod > 0 && T.size() > balanca_qtdcod && p.cbarra == T.left(balanca_qtdcod) &&
           p.medida.toUpper() == u"KG";
}

double balanca_valorpeso(const QString& L, qint32 balanca_qtdcod, qint32 balanca_qtdval) {
    if (L.size() < balanca_qtdval)
        throw Error(QStringLiteral("A string deve conter pelo menos ") +
                    QString::number(balanca_qtdval) + QStringLiteral(" caracteres."));
    const QString S = L.mid(qMax(0, balanca_qtdcod - 1));
    // Only digits read: a stray letter must not pass for part of a price or a weight.
    if (S.isEmpty() || !soDigitos(S)) return 0;
    const QString numero = S.size() > 2 ? S.left(2) + u'.' + S.mid(2) : S;
    bool ok = false;
    const double v = numero.toDouble(&ok);
    return ok ? v : 0;
}

void Produto_Carregar(TProdutoEntrada& e, const TProduto& p) {
    e.Prod_ID = p.id;
    e.Nome = p.produto;
    e.CBarra = p.cbarra;
    e.Medida = p.medida;
    e.Prod_Estoque = p.estoque;
    e.Prod_Promo = p.promocao;
    e.Prod_Promo_Min = p.promocao_min;
    e.Prod_Dt_Promo = p.dt_promocao;
    e.Prod_Venda = p.venda;
    e.Prod_Venda_Old = p.venda;
    if (!(e.Prod_Quant > 0)) e.Prod_Quant = 1;
    e.Prod_Desc = 0;
    e.Prod_Total = 0;
    e.Preco_Digitado = false;
}

TProdutoCalculo Produto_Calc(TProdutoEntrada& e, const QString& mascara, const QDateTime& agora) {
    TProdutoCalculo r;
    r.Lab_Prod_Quant = FormatFloat(mascara, e.Prod_Quant);
    const double quantMostrada = StringToFloat(r.Lab_Prod_Quant);
    // A promotion without a start moment has always been on.
    const bool iniciada = !e.Prod_Dt_Promo.isValid() || agora >= e.Prod_Dt_Promo;
    // A typed price is already the item's price: the promotion must not cut it again.
    if (!e.Preco_Digitado && e.Prod_Promo > 0 && quantMostrada >= e.Prod_Promo_Min && iniciada)
        r.Promocao = e.Prod_Venda * e.Prod_Promo / 100;
    r.Unitario = e.Prod_Venda - r.Promocao;
    e.Prod_Total = r.Unitario * e.Prod_Quant - e.Prod_Desc;
    r.Lab_Prod_Unitario = FormatFloat(mascara, r.Unitario);
    r.Lab_Prod_Desc = FormatFloat(mascara, e.Prod_Desc);
    r.Lab_Prod_Total = FormatFloat(mascara, e.Prod_Total);
    r.Acima_Estoque = e.Prod_Estoque < e.Prod_Quant;
    return r;
}

QString Produto_Promo_Texto(const TProdutoEntrada& e, const QString& mascara) {
    return QStringLiteral("Acima de ") + FloatToString(e.Prod_Promo_Min) +
           QStringLiteral(" valor R$ ") +
           FormatFloat(mascara, e.Prod_Venda - e.Prod_Promo * e.Prod_Venda / 100);
}

TPrecoDigitado Produto_Preco_Digitado(const TProdutoEntrada& e, double digitado, double mostrado,
                                      qint32 conf_venda_altvalor, double conf_Desc_Limit,
                                      const QString& mascara) {
    TPrecoDigitado r;
    const QString textoDigitado = FormatFloat(mascara, digitado);
    const QString textoMostrado = FormatFloat(mascara, mostrado);

    // The box as Produto_Calc filled it, or a lowered price without the permission to
    // lower it: the entry keeps its own price, and the promotion is applied once.
    if (textoDigitado == textoMostrado || (digitado < mostrado && conf_venda_altvalor <= 0)) {
        r.valor = e.Prod_Venda;
        r.digitado = e.Preco_Digitado;
        r.texto = textoMostrado;
        return r;
    }

    if (conf_Desc_Limit > 0) {
        const double piso = e.Prod_Venda_Old - e.Prod_Venda_Old * conf_Desc_Limit / 100;
        // Compared as the box shows it, so that Enter on the floor put into the box is
        // accepted and not refused again by a fraction of a cent.
        const QString textoPiso = FormatFloat(QStringLiteral("0.00,"), piso);
        const double pisoMostrado = StringToFloat(textoPiso);
        if (digitado < pisoMostrado) {
            r.resultado = TPrecoDigitado::Limite;
            r.valor = pisoMostrado;
            r.texto = textoPiso;
            r.mensagem = QStringLiteral("O valor do item exedeu o limit maximo de desconto de ") +
                         FloatToString(conf_Desc_Limit) + u'%';
            return r;
        }
    }
    r.valor = digitado;
    r.digitado = true;
    r.texto = textoDigitado;
    return r;
}

qint64 Produto_Insert(db::Connection& c, qint32 Venda_ID, const QString& Venda_COD,
                      const TProdutoEntrada& e, const QString& mascara, const QDateTime& agora) {
    if (e.Prod_ID == 0) return 0;
    // The figures stored are those the entry shows, with the rounding of the mask.
    TProdutoEntrada copia = e;
    const TProdutoCalculo calc = Produto_Calc(copia, mascara, agora);
    const double quant = StringToFloat(calc.Lab_Prod_Quant);
    const double unitario = StringToFloat(calc.Lab_Prod_Unitario);

    db::Query q(c);
    q.setSql(QStringLiteral(
        "INSERT INTO venda_produtos (venda_id, venda_cod, prod_id, produto, prod_cbarra, "
        "prod_medida, prod_venda, prod_qtd, prod_total, prod_desc, prod_descCC, Prod_Acrec, "
        "prod_geral, concluido, apagado)"
        "VALUES (:venda_id, :venda_cod, :prod_id, :produto, :prod_cbarra, :prod_medida, "
        ":prod_venda, :prod_qtd, :prod_total, :prod_desc, :prod_descCC, :Prod_Acrec, "
        ":prod_geral, :concluido, :apagado)"));
    q.bind(QStringLiteral(":venda_id"), Venda_ID);
    q.bind(QStringLiteral(":venda_cod"), Venda_COD);
    q.bind(QStringLiteral(":prod_id"), e.Prod_ID);
    q.bind(QStringLiteral(":produto"), e.Nome);
    q.bind(QStringLiteral(":prod_cbarra"), e.CBarra);
    q.bind(QStringLiteral(":prod_medida"), e.Medida);
    q.bind(QStringLiteral(":prod_venda"), e.Prod_Venda);
    q.bind(QStringLiteral(":prod_qtd"), quant);
    q.bind(QStringLiteral(":prod_total"), unitario * quant);
    q.bind(QStringLiteral(":prod_desc"), StringToFloat(calc.Lab_Prod_Desc));
    q.bind(QStringLiteral(":prod_descCC"), 0.0);
    q.bind(QStringLiteral(":Prod_Acrec"), 0.0);
    q.bind(QStringLiteral(":prod_geral"), StringToFloat(calc.Lab_Prod_Total));
    q.bind(QStringLiteral(":concluido"), 0);
    q.bind(QStringLiteral(":apagado"), 0);
    q.exec();
    return c.lastInsertId();
}

QString TItemCupom::Linha1() const {
    return produto.toUpper();
}

// The figures of line 2 go through FloatToString_Right, which follows Mask_Decimal();
// the settings keep that equal to conf_Mask_Decimal, the mask passed here.
QString TItemCupom::Linha2(const QString&) const {
    QString r = prod_cbarra.leftJustified(14, u' ', true) + FloatToString_Right(8, prod_qtd) +
                QStringLiteral(" X ") + FloatToString_Right(8, prod_venda);
    if (prod_desc == 0)
        r += QString(7, u' ');
    else
        r += QStringLiteral(" - ") + FloatToString_Right(8, prod_desc);
    return r;
}

QString TItemCupom::Valor(const QString& mascara) const {
    return FormatFloat(mascara, prod_geral);
}

QList<TItemCupom> Cupom_Itens(db::Connection& c, qint32 Venda_ID) {
    db::Query q(c);
    q.setSql(QStringLiteral("select tb1.*,"
                            "(select max(estoque) from produtos tb2 where tb2.id=tb1.prod_id)as "
                            "estoque "
                            "from  venda_produtos tb1 where (apagado=0) and (venda_id=:venda_id)"));
    q.bind(QStringLiteral(":venda_id"), Venda_ID);
    QList<TItemCupom> r;
    for (q.open(); !q.eof(); q.next()) {
        TItemCupom i;
        i.id = q.field(QStringLiteral("id")).asInt64();
        i.produto = q.field(QStringLiteral("produto")).asString();
        i.prod_cbarra = q.field(QStringLiteral("prod_cbarra")).asString();
        i.prod_qtd = q.field(QStringLiteral("prod_qtd")).asFloat();
        i.prod_venda = q.field(QStringLiteral("prod_venda")).asFloat();
        i.prod_desc = q.field(QStringLiteral("prod_desc")).asFloat();
        i.prod_geral = q.field(QStringLiteral("prod_geral")).asFloat();
        const db::Field estoque = q.field(QStringLiteral("estoque"));
        // A product no longer in the catalogue has no stock to sell from.
        i.Acima_Estoque = estoque.isNull() || i.prod_qtd > estoque.asFloat();
        r.append(i);
    }
    return r;
}

double Cupom_Soma(const QList<TItemCupom>& itens) {
    double soma = 0;
    for (const TItemCupom& i : itens)
        soma += i.prod_geral;
    return soma;
}

double Cupom_Remover_Item(db::Connection& c, qint32 Venda_ID, qint64 item_id, double Venda_Desconto,
                          double Venda_Produtos) {
    db::Transaction t(c);
    db::Query q(c);
    q.setSql(QStringLiteral("update venda_produtos set apagado=1 where (id=:id)"));
    q.bind(QStringLiteral(":id"), item_id);
    q.exec();

    double desconto = Venda_Desconto;
    if (Venda_Desconto > 0) {
        const double restante = Cupom_Soma(Cupom_Itens(c, Venda_ID));
        // With no total to scale from the discount goes: a division by zero would store
        // an infinite or undefined discount in the sale.
        desconto = Venda_Produtos > 0 ? Venda_Desconto * restante / Venda_Produtos : 0;
        q.setSql(QStringLiteral("update venda set venda_desconto=:venda_desconto where (id=:id)"));
        q.bind(QStringLiteral(":venda_desconto"), desconto);
        q.bind(QStringLiteral(":id"), Venda_ID);
        q.exec();
    }
    t.commit();
    return desconto;
}

QStringList ProdList_Gerar(db::Connection& c, const QString& arquivo) {
    QStringList linhas{QString()};
    db::Query q(c);
    q.setSql(QStringLiteral(
        "select id, produto from produtos where (produto<>'') order by produto limit 1500"));
    for (q.open(); !q.eof(); q.next())
        linhas.append(corta(q.field(QStringLiteral("produto")).asString(), 50));

    QByteArray bytes;
    for (const QString& l : linhas)
        bytes += l.toUtf8() + "\r\n";
    // Written aside and renamed, so that a failure never leaves half a list behind.
    QSaveFile f(arquivo);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(bytes);
        f.commit();
    }
    return linhas;
}

QString Imagem_Produto_Arquivo(const QString& pastaEmpresa, const QString& cbarra) {
    return pastaEmpresa + QStringLiteral("produtos/") + cbarra + QStringLiteral(".png");
}

QString Imagem_Arquivo(const QString& pastaEmpresa, const QString& tabela, qint64 id) {
    return pastaEmpresa + tabela + u'/' + tabela + u'_' +
           QStringLiteral("%1").arg(id, 5, 10, QLatin1Char('0')) + QStringLiteral(".png");
}
