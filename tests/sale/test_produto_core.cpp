#include "foundation/Database.h"
#include "foundation/Errors.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Schema.h"
#include "sale/Produto_Core.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

const QString MASCARA = QStringLiteral("0.00,");
const QDateTime AGORA(QDate(2025, 3, 5), QTime(14, 7, 9));

class ProdutoCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
    }

    void produto(qint32 id, const QString& cbarra, const QString& nome,
                 const QString& medida = "UN", double venda = 10, double estoque = 100) {
        db::Query q(conn);
        q.setSql("insert into produtos (id, cbarra, produto, medida, venda, estoque) "
                 "values (:id, :cbarra, :produto, :medida, :venda, :estoque)");
        q.bind(":id", id);
        q.bind(":cbarra", cbarra);
        q.bind(":produto", nome);
        q.bind(":medida", medida);
        q.bind(":venda", venda);
        q.bind(":estoque", estoque);
        q.exec();
    }

    QList<qint32> ids(const QString& texto, qint32 qtdcod) {
        QList<qint32> r;
        for (const TProduto& p : Produto_Pesquisar(conn, texto, qtdcod))
            r << p.id;
        std::sort(r.begin(), r.end());
        return r;
    }

    TestDir dir;
    db::Connection conn;
};

TEST_F(ProdutoCoreTest, SearchByBarcodeScaleCodeIdOrNameWithTheTextBound) {
    produto(1, "7891234567895", "Café Torrado");
    produto(2, "1234560", "Queijo Minas", "KG");
    produto(3, "1234560", "Queijo de outro código", "UN");
    produto(123, "999", "Arroz Branco");
    produto(4, "123", "Feijão");
    produto(5, "arroz", "Saco");
    produto(7, "555", "Biscoito D'Ajuda");
    produto(8, "556", "Desconto 50% off");
    produto(9, "557", "Vinho 500 ml");
    produto(10, "558", "pão_de_queijo");
    produto(11, "", "");
    produto(12345678, "x", "Oito dígitos");

    struct Case {
        const char* texto;
        qint32 qtdcod;
        QList<qint32> esperado;
    };
    const Case cases[] = {
        {"7891234567895", 7, {1}},
        {"1234560012508", 7, {2}}, // a scale label finds only the "KG" product of its code
        {"1234560012508", 0, {}},  // scale labels off
        {"123", 7, {4, 123}},      // barcode or id
        {"  123 ", 7, {4, 123}},
        {"0123", 7, {123}},
        {"12345678", 7, {}}, // eight digits are never an id
        {"arroz", 7, {5, 123}},
        {"ARROZ", 7, {123}},
        {"D'Ajuda", 7, {7}},
        {"50%", 7, {8}},
        {"o_d", 7, {10}},
        {"\\", 7, {}},
        {"", 7, {11}},
        {"x' or '1'='1", 7, {}},
        {"\u0661\u0662\u0663", 7, {}}, // digits of another script are not an id
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texto);
        EXPECT_EQ(ids(QString::fromUtf8(c.texto), c.qtdcod), c.esperado);
    }
    EXPECT_EQ(ids("Branco", 7), QList<qint32>{123});
    EXPECT_EQ(ids("produtos", 7), QList<qint32>{}); // the text never reaches the statement

    const QList<TProduto> achados = Produto_Pesquisar(conn, "1234560012508", 7);
    ASSERT_EQ(achados.size(), 1);
    EXPECT_EQ(achados[0].produto, "Queijo Minas");
    EXPECT_EQ(achados[0].medida, "KG");
    EXPECT_DOUBLE_EQ(achados[0].venda, 10);
    EXPECT_DOUBLE_EQ(achados[0].estoque, 100);
}

TEST(BalancaTest, LabelIsTheCodeOfAWeighedProductFollowedByItsNumber) {
    TProduto kg;
    kg.cbarra = "1234560";
    kg.medida = "KG";
    TProduto kgMinusculo = kg;
    kgMinusculo.medida = "kg";
    TProduto un = kg;
    un.medida = "UN";
    struct Case {
        const TProduto& p;
        const char* texto;
        qint32 qtdcod;
        bool etiqueta;
    };
    const Case cases[] = {
        {kg, "1234560012508", 7, true},
        {kgMinusculo, "1234560012508", 7, true},
        {un, "1234560012508", 7, false},
        {kg, "1234560012508", 0, false},
        {kg, "1234561012508", 7, false},
        {kg, "1234560", 7, false}, // the bare code, as the product list gives it
        {kg, "123456", 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texto);
        EXPECT_EQ(Produto_Etiqueta_Balanca(c.p, c.texto, c.qtdcod), c.etiqueta);
    }
}

TEST(BalancaTest, NumberOfTheLabelFromTheLastCodeCharacter) {
    struct Case {
        const char* label;
        qint32 qtdcod;
        double valor;
    };
    const Case cases[] = {
        {"1234560012508", 7, 0.12508},
        {"1234561234500", 7, 12.345},
        {"1234560012", 7, 0.12},
        {"12345601", 7, 1},
        {"12345600", 7, 0},
        {"1234560a12508", 7, 0},
        {"1234560-12508", 7, 0},
        {"1234560012508", 1, 12.34560012508},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_DOUBLE_EQ(balanca_valorpeso(c.label, c.qtdcod, 4), c.valor);
    }

    struct Curto {
        const char* label;
        qint32 qtdval;
    };
    for (const Curto& c : {Curto{"123", 4}, Curto{"123456012", 13}}) {
        SCOPED_TRACE(c.label);
        try {
            balanca_valorpeso(c.label, 7, c.qtdval);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(
                e.message(),
                QStringLiteral("A string deve conter pelo menos %1 caracteres.").arg(c.qtdval));
        }
    }
    EXPECT_DOUBLE_EQ(balanca_valorpeso("1234", 7, 4), 0);
}

TProduto promocional(double venda, double promocao, double minimo, const QDateTime& inicio) {
    TProduto p;
    p.id = 1;
    p.produto = "Sabão";
    p.cbarra = "789";
    p.medida = "UN";
    p.venda = venda;
    p.estoque = 2;
    p.promocao = promocao;
    p.promocao_min = minimo;
    p.dt_promocao = inicio;
    return p;
}

TEST(ProdutoEntrada, LoadingKeepsAQuantityGivenBeforehand) {
    TProdutoEntrada e;
    e.Prod_Desc = 1;
    e.Prod_Total = 9;
    e.Preco_Digitado = true;
    Produto_Carregar(e, promocional(10, 0, 0, AGORA));
    EXPECT_EQ(e.Prod_Quant, 1);
    EXPECT_EQ(e.Prod_Venda, 10);
    EXPECT_EQ(e.Prod_Venda_Old, 10);
    EXPECT_EQ(e.Prod_Desc, 0);
    EXPECT_EQ(e.Prod_Total, 0);
    EXPECT_FALSE(e.Preco_Digitado);

    TProdutoEntrada antes;
    antes.Prod_Quant = 2.5; // "2,5*" typed before the product
    Produto_Carregar(antes, promocional(10, 0, 0, AGORA));
    EXPECT_EQ(antes.Prod_Quant, 2.5);
}

TEST(ProdutoEntrada, PromotionFromItsMinimumQuantityAndStartOnly) {
    const QDateTime passado = AGORA.addDays(-1), futuro = AGORA.addSecs(1);
    struct Case {
        const char* nome;
        TProduto p;
        double quant;
        bool digitado;
        const char *unitario, *total;
        bool acima;
    };
    const Case cases[] = {
        {"below the minimum", promocional(10, 10, 3, passado), 2, false, "10,00", "20,00", false},
        {"at the minimum", promocional(10, 10, 3, passado), 3, false, "9,00", "27,00", true},
        {"from this very moment", promocional(10, 10, 3, AGORA), 3, false, "9,00", "27,00", true},
        {"not started", promocional(10, 10, 3, futuro), 3, false, "10,00", "30,00", true},
        {"no start moment", promocional(10, 10, 3, QDateTime()), 3, false, "9,00", "27,00", true},
        {"no promotion", promocional(10, 0, 0, passado), 3, false, "10,00", "30,00", true},
        {"price typed", promocional(10, 10, 3, passado), 3, true, "10,00", "30,00", true},
        // The minimum is compared with the quantity as shown: 2,996 shows 3,00.
        {"shown quantity", promocional(10, 10, 3, passado), 2.996, false, "9,00", "26,96", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        TProdutoEntrada e;
        e.Prod_Quant = c.quant;
        Produto_Carregar(e, c.p);
        e.Preco_Digitado = c.digitado;
        const TProdutoCalculo r = Produto_Calc(e, MASCARA, AGORA);
        EXPECT_EQ(r.Lab_Prod_Unitario, c.unitario);
        EXPECT_EQ(r.Lab_Prod_Total, c.total);
        EXPECT_EQ(r.Lab_Prod_Desc, "0,00");
        EXPECT_EQ(r.Acima_Estoque, c.acima);
        EXPECT_EQ(FormatFloat(MASCARA, e.Prod_Total), c.total);
        EXPECT_EQ(e.Prod_Venda, 10); // the promotion never changes the entry's price
    }

    TProdutoEntrada e;
    Produto_Carregar(e, promocional(15, 10, 3, passado));
    EXPECT_EQ(Produto_Promo_Texto(e, MASCARA), "Acima de 3 valor R$ 13,50");
    e.Prod_Promo_Min = 2.5;
    EXPECT_EQ(Produto_Promo_Texto(e, MASCARA), "Acima de 2,5 valor R$ 13,50");
}

TEST(ProdutoEntrada, PriceBoxRules) {
    const QDateTime passado = AGORA.addDays(-1);
    const QString mensagem5 = "O valor do item exedeu o limit maximo de desconto de 5%";
    struct Case {
        const char* nome;
        TProduto p;
        double quant;
        double digitado;
        qint32 altvalor;
        double limite;
        TPrecoDigitado::Resultado resultado;
        double valor;
        bool preco_digitado;
        const char* texto;
        QString mensagem;
    };
    const Case cases[] = {
        {"below the limit", promocional(10, 0, 0, passado), 1, 9, 1, 5, TPrecoDigitado::Limite, 9.5,
         false, "9,50", mensagem5},
        {"lowering not allowed",
         promocional(10, 0, 0, passado),
         1,
         9,
         0,
         5,
         TPrecoDigitado::Aceito,
         10,
         false,
         "10,00",
         {}},
        {"at the floor",
         promocional(10, 0, 0, passado),
         1,
         9.5,
         1,
         5,
         TPrecoDigitado::Aceito,
         9.5,
         true,
         "9,50",
         {}},
        {"no limit",
         promocional(10, 0, 0, passado),
         1,
         1,
         1,
         0,
         TPrecoDigitado::Aceito,
         1,
         true,
         "1,00",
         {}},
        {"raised without permission",
         promocional(10, 0, 0, passado),
         1,
         12,
         0,
         5,
         TPrecoDigitado::Aceito,
         12,
         true,
         "12,00",
         {}},
        {"unchanged",
         promocional(10, 0, 0, passado),
         1,
         10,
         1,
         5,
         TPrecoDigitado::Aceito,
         10,
         false,
         "10,00",
         {}},
        // The promotional price left in the box is no typed price and no discount of the
        // operator's: it passes the limit and keeps the catalogue price.
        {"promotion left in the box",
         promocional(15, 10, 3, passado),
         3,
         13.5,
         1,
         5,
         TPrecoDigitado::Aceito,
         15,
         false,
         "13,50",
         {}},
        {"promotion lowered further", promocional(15, 10, 3, passado), 3, 13, 1, 5,
         TPrecoDigitado::Limite, 14.25, false, "14,25", mensagem5},
        {"fractional percent", promocional(10, 0, 0, passado), 1, 8, 1, 12.5,
         TPrecoDigitado::Limite, 8.75, false, "8,75",
         "O valor do item exedeu o limit maximo de desconto de 12,5%"},
        // Floor 9,6903: the box gets 9,69, and Enter on it is accepted.
        {"floor of the box",
         promocional(9.99, 0, 0, passado),
         1,
         9.69,
         1,
         3,
         TPrecoDigitado::Aceito,
         9.69,
         true,
         "9,69",
         {}},
        {"below the floor of the box", promocional(9.99, 0, 0, passado), 1, 9.68, 1, 3,
         TPrecoDigitado::Limite, 9.69, false, "9,69",
         "O valor do item exedeu o limit maximo de desconto de 3%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        TProdutoEntrada e;
        e.Prod_Quant = c.quant;
        Produto_Carregar(e, c.p);
        const TProdutoCalculo calc = Produto_Calc(e, MASCARA, AGORA);
        const TPrecoDigitado r = Produto_Preco_Digitado(
            e, c.digitado, StringToFloat(calc.Lab_Prod_Unitario), c.altvalor, c.limite, MASCARA);
        EXPECT_EQ(r.resultado, c.resultado);
        EXPECT_DOUBLE_EQ(r.valor, c.valor);
        if (r.resultado == TPrecoDigitado::Aceito) {
            EXPECT_EQ(r.digitado, c.preco_digitado);
        }
        EXPECT_EQ(r.texto, c.texto);
        EXPECT_EQ(r.mensagem, c.mensagem);
    }
}

struct Linha {
    double prod_venda, prod_qtd, prod_total, prod_desc, prod_geral;
};

class ItemTest : public ProdutoCoreTest {
protected:
    Linha linha(qint64 id) {
        db::Query q(conn);
        q.setSql("select * from venda_produtos where id=:id");
        q.bind(":id", id);
        q.open();
        EXPECT_FALSE(q.eof());
        if (q.eof()) return {};
        return {q.field("prod_venda").asFloat(), q.field("prod_qtd").asFloat(),
                q.field("prod_total").asFloat(), q.field("prod_desc").asFloat(),
                q.field("prod_geral").asFloat()};
    }

    // The operator's path: product found, quantity given, Enter in the price box with
    // the text `caixa`, then the item goes in.
    qint64 entra(const TProduto& p, double quant, double caixa, qint32 altvalor, double limite,
                 const QString& mascara = MASCARA) {
        TProdutoEntrada e;
        Produto_Carregar(e, p);
        e.Prod_Quant = quant;
        const TProdutoCalculo calc = Produto_Calc(e, mascara, AGORA);
        const TPrecoDigitado r = Produto_Preco_Digitado(
            e, caixa, StringToFloat(calc.Lab_Prod_Unitario), altvalor, limite, mascara);
        EXPECT_EQ(r.resultado, TPrecoDigitado::Aceito);
        e.Prod_Venda = r.valor;
        e.Preco_Digitado = r.digitado;
        Produto_Calc(e, mascara, AGORA);
        return Produto_Insert(conn, 1, "PDV1", e, mascara, AGORA);
    }
};

TEST_F(ItemTest, StoredFiguresAreThoseShownAndThePromotionCountsOnce) {
    const QDateTime passado = AGORA.addDays(-1);
    struct Case {
        const char* nome;
        TProduto p;
        double quant, caixa;
        qint32 altvalor;
        QString mascara;
        Linha esperado;
    };
    TProduto kg = promocional(39.9, 0, 0, passado);
    kg.medida = "KG";
    const Case cases[] = {
        {"promotion left in the box",
         promocional(15, 10, 3, passado),
         3,
         13.5,
         1,
         MASCARA,
         {15, 3, 40.5, 0, 40.5}},
        {"typed price",
         promocional(15, 10, 3, passado),
         3,
         14.5,
         1,
         MASCARA,
         {14.5, 3, 43.5, 0, 43.5}},
        {"lowering refused", promocional(10, 0, 0, passado), 1, 9, 0, MASCARA, {10, 1, 10, 0, 10}},
        {"weight rounded by the mask",
         kg,
         0.12508,
         39.9,
         1,
         MASCARA,
         {39.9, 0.13, 39.9 * 0.13, 0, 4.99}},
        {"three decimals", kg, 0.12508, 39.9, 1, "0.000,", {39.9, 0.125, 39.9 * 0.125, 0, 4.991}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        const qint64 id = entra(c.p, c.quant, c.caixa, c.altvalor, 5, c.mascara);
        ASSERT_GT(id, 0);
        const Linha l = linha(id);
        EXPECT_DOUBLE_EQ(l.prod_venda, c.esperado.prod_venda);
        EXPECT_DOUBLE_EQ(l.prod_qtd, c.esperado.prod_qtd);
        EXPECT_DOUBLE_EQ(l.prod_total, c.esperado.prod_total);
        EXPECT_DOUBLE_EQ(l.prod_desc, c.esperado.prod_desc);
        EXPECT_DOUBLE_EQ(l.prod_geral, c.esperado.prod_geral);
    }

    db::Query q(conn);
    q.setSql("select * from venda_produtos where id=1");
    q.open();
    EXPECT_EQ(q.field("venda_id").asInteger(), 1);
    EXPECT_EQ(q.field("venda_cod").asString(), "PDV1");
    EXPECT_EQ(q.field("prod_id").asInteger(), 1);
    EXPECT_EQ(q.field("produto").asString(), "Sabão");
    EXPECT_EQ(q.field("prod_cbarra").asString(), "789");
    EXPECT_EQ(q.field("prod_medida").asString(), "UN");
    EXPECT_FALSE(q.field("prod_descCC").isNull());
    EXPECT_EQ(q.field("prod_descCC").asFloat(), 0);
    EXPECT_EQ(q.field("Prod_Acrec").asFloat(), 0);
    EXPECT_EQ(q.field("concluido").asInteger(), 0);
    EXPECT_EQ(q.field("apagado").asInteger(), 0);
}

TEST_F(ItemTest, NoProductInTheEntryInsertsNothing) {
    TProdutoEntrada vazia;
    vazia.Prod_Quant = 1;
    vazia.Prod_Venda = 10;
    EXPECT_EQ(Produto_Insert(conn, 1, "PDV1", vazia, MASCARA, AGORA), 0);
    db::Query q(conn);
    q.setSql("select count(*) from venda_produtos");
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 0);
}

class CupomTest : public ProdutoCoreTest {
protected:
    qint64 item(qint32 venda, qint32 prod, const QString& nome, const QString& cbarra, double qtd,
                double venda_un, double desc, double geral, int apagado = 0) {
        db::Query q(conn);
        q.setSql("insert into venda_produtos (venda_id, prod_id, produto, prod_cbarra, prod_qtd, "
                 "prod_venda, prod_desc, prod_geral, apagado) values (:v, :p, :n, :c, :q, :u, "
                 ":d, :g, :a)");
        q.bind(":v", venda);
        q.bind(":p", prod);
        q.bind(":n", nome);
        q.bind(":c", cbarra);
        q.bind(":q", qtd);
        q.bind(":u", venda_un);
        q.bind(":d", desc);
        q.bind(":g", geral);
        q.bind(":a", apagado);
        q.exec();
        return conn.lastInsertId();
    }

    double descontoGravado() {
        db::Query q(conn);
        q.setSql("select venda_desconto from venda where id=1");
        q.open();
        return q.field(0).asFloat();
    }
};

TEST_F(CupomTest, ActiveItemsOfTheSaleWithStockWarning) {
    produto(1, "7891234567895", "Café torrado", "UN", 15, 3);
    produto(2, "12345678901234567", "Água mineral", "UN", 2, 10);
    item(1, 1, "Café torrado", "7891234567895", 3, 15, 0, 45);      // at stock
    item(1, 1, "Café torrado", "7891234567895", 4, 15, 1.5, 58.5);  // above
    item(1, 2, "Água mineral", "12345678901234567", 1, 2, 0, 2, 1); // removed
    item(1, 9, "Produto antigo", "42", 1, 2.5, 0, 2.5);             // product gone
    item(2, 2, "Água mineral", "12345678901234567", 1, 2, 0, 2);    // another sale

    const QList<TItemCupom> itens = Cupom_Itens(conn, 1);
    ASSERT_EQ(itens.size(), 3);
    EXPECT_EQ(QList<bool>({itens[0].Acima_Estoque, itens[1].Acima_Estoque, itens[2].Acima_Estoque}),
              QList<bool>({false, true, true}));
    EXPECT_EQ(itens[0].Linha1(), "CAFÉ TORRADO");
    EXPECT_EQ(itens[0].Linha2(MASCARA), "7891234567895     3,00 X    15,00       ");
    EXPECT_EQ(itens[1].Linha2(MASCARA), "7891234567895     4,00 X    15,00 -     1,50");
    EXPECT_EQ(itens[2].Linha2(MASCARA), "42                1,00 X     2,50       ");
    EXPECT_EQ(itens[1].Valor(MASCARA), "58,50");
    EXPECT_EQ(itens[1].Valor("0.000,"), "58,500");
    EXPECT_DOUBLE_EQ(Cupom_Soma(itens), 106);

    const QList<TItemCupom> outra = Cupom_Itens(conn, 2);
    ASSERT_EQ(outra.size(), 1);
    EXPECT_EQ(outra[0].Linha2(MASCARA), "12345678901234    1,00 X     2,00       ");
    EXPECT_TRUE(Cupom_Itens(conn, 3).isEmpty());
}

TEST_F(CupomTest, RemovingAnItemShrinksTheSaleDiscountInProportion) {
    conn.exec("insert into venda (id, venda_desconto) values (1, 2)");
    const qint64 a = item(1, 1, "A", "1", 1, 10, 0, 10);
    item(1, 1, "B", "2", 1, 10, 0, 10);

    const double d1 = Cupom_Remover_Item(conn, 1, a, 2, 20);
    EXPECT_DOUBLE_EQ(d1, 1);
    EXPECT_DOUBLE_EQ(descontoGravado(), 1);
    const QList<TItemCupom> itens = Cupom_Itens(conn, 1);
    ASSERT_EQ(itens.size(), 1);
    EXPECT_DOUBLE_EQ(Cupom_Soma(itens) - d1, 9);
    // The item stays, marked removed.
    db::Query q(conn);
    q.setSql("select apagado from venda_produtos where id=:id");
    q.bind(":id", a);
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 1);
}

TEST_F(CupomTest, RemovingWithoutDiscountOrWithNothingToScaleFrom) {
    conn.exec("insert into venda (id, venda_desconto) values (1, 0)");
    const qint64 a = item(1, 1, "A", "1", 1, 10, 0, 10);
    EXPECT_EQ(Cupom_Remover_Item(conn, 1, a, 0, 10), 0);
    EXPECT_EQ(descontoGravado(), 0);
    EXPECT_TRUE(Cupom_Itens(conn, 1).isEmpty());

    // Items at no price under a discount: the discount goes, it is never infinite.
    conn.exec("update venda set venda_desconto=1 where id=1");
    const qint64 b = item(1, 1, "B", "2", 1, 0, 0, 0);
    EXPECT_EQ(Cupom_Remover_Item(conn, 1, b, 1, 0), 0);
    EXPECT_EQ(descontoGravado(), 0);
}

TEST_F(CupomTest, FailedDiscountUpdateLeavesTheItemInTheSale) {
    conn.exec("insert into venda (id, venda_desconto) values (1, 2)");
    const qint64 a = item(1, 1, "A", "1", 1, 10, 0, 10);
    item(1, 1, "B", "2", 1, 10, 0, 10);
    conn.exec("create trigger falha before update on venda begin select raise(abort, 'falha'); "
              "end");
    EXPECT_THROW(Cupom_Remover_Item(conn, 1, a, 2, 20), DbError);
    EXPECT_EQ(Cupom_Itens(conn, 1).size(), 2);
    EXPECT_DOUBLE_EQ(descontoGravado(), 2);
}

TEST_F(ProdutoCoreTest, ProductNameListForTheSearchBox) {
    {
        db::Transaction t(conn);
        for (int i = 1; i <= 2000; ++i)
            produto(i, QString::number(i), QStringLiteral("Produto %1").arg(i, 4, 10, QChar('0')));
        produto(3001, "a", "");                // no name: left out
        produto(3002, "b", QString(60, u'A')); // first by name, cut
        produto(3003, "c", QString(49, u'A') + QString::fromUtf8("\U0001F9C0"));
        t.commit();
    }
    ASSERT_TRUE(QDir().mkpath(dir.file("empresa")));
    const QString arquivo = dir.file("empresa/ProdList.txt");
    const QStringList linhas = ProdList_Gerar(conn, arquivo);
    ASSERT_EQ(linhas.size(), 1501);
    EXPECT_EQ(linhas[0], "");
    EXPECT_EQ(linhas[1], QString(50, u'A'));
    EXPECT_EQ(linhas[2], QString(49, u'A')); // a character is never split in half
    EXPECT_EQ(linhas[3], "Produto 0001");
    EXPECT_EQ(linhas[1500], "Produto 1498");

    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("\r\nAAAA"));
    EXPECT_TRUE(bytes.endsWith("Produto 1498\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 1501);
    EXPECT_EQ(bytes.count('\n'), 1501);
    EXPECT_EQ(QString::fromUtf8(bytes).split("\r\n").mid(0, 1501), linhas);

    // A folder that cannot be written: the old list stays whole, the names still come.
    conn.exec("delete from produtos where id > 10");
    ReadOnly bloqueio(dir.file("empresa"));
    if (!bloqueio.ok()) GTEST_SKIP() << "cannot make the folder read-only here";
    EXPECT_EQ(ProdList_Gerar(conn, arquivo).size(), 11);
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
}

TEST(Imagens, PictureFilesOfTheCompanyFolder) {
    const QString pasta = "/home/caixa/Tarvel/12345678000195/";
    EXPECT_EQ(Imagem_Produto_Arquivo(pasta, "7891234567895"), pasta + "produtos/7891234567895.png");
    EXPECT_EQ(Imagem_Arquivo(pasta, "empresas", 1), pasta + "empresas/empresas_00001.png");
    EXPECT_EQ(Imagem_Arquivo(pasta, "clientes", 123456), pasta + "clientes/clientes_123456.png");
}

} // namespace
