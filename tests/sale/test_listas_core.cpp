#include "foundation/Database.h"
#include "foundation/Schema.h"
#include "sale/Listas_Core.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class ListasCore : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
    }

    void produto(qint32 id, const QString& nome, const QString& cbarra, double estoque = 0,
                 const QString& marca = QString(), double venda = 0) {
        db::Query q(conn);
        q.setSql(QStringLiteral("insert into produtos (id, produto, cbarra, estoque, marca, venda)"
                                " values (:id, :produto, :cbarra, :estoque, :marca, :venda)"));
        q.bind(":id", id);
        q.bind(":produto", nome);
        q.bind(":cbarra", cbarra);
        q.bind(":estoque", estoque);
        q.bind(":marca", marca);
        q.bind(":venda", venda);
        q.exec();
    }

    QList<qint32> ids(const QString& texto,
                      const QString& ordem = QStringLiteral("estoque desc, produto")) {
        QList<qint32> r;
        for (const TProduto& p : Produtos_Lista_Pesquisar(conn, texto, ordem))
            r << p.id;
        return r;
    }
    QList<qint32> idsOrdenados(const QString& texto) {
        QList<qint32> r = ids(texto);
        std::sort(r.begin(), r.end());
        return r;
    }

    TestDir dir;
    db::Connection conn;
};

TEST_F(ListasCore, DigitsFindIdOrBarcodeBelowNineAndOnlyTheBarcodeFromNine) {
    produto(12345678, "Arroz", "7890001");
    produto(5, "Feijao", "12345678");
    produto(123456789, "Sal", "555");
    produto(7, "Acucar", "123456789");
    produto(8, "Oleo 12345678", "888"); // digits in a name are not searched for a code

    const struct {
        const char* texto;
        QList<qint32> esperado;
    } casos[] = {
        {"12345678", {5, 12345678}}, {"123456789", {7}}, {" 0005 ", {5}},
        {"555", {123456789}},        {"99", {}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(idsOrdenados(c.texto), c.esperado) << c.texto;
}

TEST_F(ListasCore, TextFindsNameOrBrandAsOnePiece) {
    produto(1, "Arroz Tipo 1", "1");
    produto(2, "Tipo Arroz", "2");
    produto(3, "Arroz bom tipo", "3");
    produto(4, "Feijao", "4", 0, "Arroz Tipo Ltda");
    produto(5, "Farinha", "5", 0, "Boa");

    EXPECT_EQ(idsOrdenados("arroz tipo"), (QList<qint32>{1, 4}));
    EXPECT_EQ(idsOrdenados("  ARROZ tipo "), (QList<qint32>{1, 4}));
    EXPECT_EQ(idsOrdenados("boa"), (QList<qint32>{5}));
    EXPECT_TRUE(ids("").isEmpty());
    EXPECT_TRUE(ids("   ").isEmpty());
}

TEST_F(ListasCore, QuotesAndWildcardsMatchThemselves) {
    produto(1, "Coco d'agua", "1");
    produto(2, "Desconto 50%", "2");
    produto(3, "Leite 500ml", "3");
    produto(4, "Cabo_USB", "4");
    produto(5, "CaboXUSB", "5");
    produto(6, "Barra\\Ferro", "6");

    const struct {
        const char* texto;
        QList<qint32> esperado;
    } casos[] = {
        {"d'agua", {1}}, {"'", {1}}, {"50%", {2}}, {"%", {2}},
        {"o_U", {4}},    {"_", {4}}, {"\\", {6}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(idsOrdenados(c.texto), c.esperado) << c.texto;
}

TEST_F(ListasCore, AtMostEightyRowsInTheSortOrder) {
    struct Linha {
        qint32 id;
        QString nome;
        double estoque;
    };
    QList<Linha> todos;
    {
        db::Transaction t(conn);
        for (int i = 1; i <= 100; ++i) {
            // Names out of id order and many ties in stock, so both keys count.
            const Linha l{i, QStringLiteral("Prod %1").arg((i * 37) % 101, 3, 10, QChar('0')),
                          double(i % 7)};
            produto(l.id, l.nome, QString::number(1000 + i), l.estoque);
            todos << l;
        }
        t.commit();
    }
    std::sort(todos.begin(), todos.end(), [](const Linha& a, const Linha& b) {
        return a.estoque != b.estoque ? a.estoque > b.estoque : a.nome < b.nome;
    });
    QList<qint32> esperado;
    for (int i = 0; i < 80; ++i)
        esperado << todos[i].id;

    EXPECT_EQ(ids("prod"), esperado);
}

TEST_F(ListasCore, SortSettingOrdersTheRows) {
    produto(1, "Abacate", "1", 1, "", 2);
    produto(2, "Caqui", "2", 5, "", 3);
    produto(3, "Banana", "3", 5, "", 4);
    produto(4, "Damasco", "4", 9, "", 1);
    // All four share the letter "a"; the search finds every one.
    const struct {
        const char* ordem;
        QList<qint32> esperado;
    } casos[] = {
        {"estoque desc, produto", {4, 3, 2, 1}},
        {"ESTOQUE DESC,PRODUTO DESC", {4, 2, 3, 1}},
        {"produto", {1, 3, 2, 4}},
        {"venda desc", {3, 2, 1, 4}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ids("a", c.ordem), c.esperado) << c.ordem;

    // A setting that is not a plain list of columns never reaches the statement.
    const QList<qint32> r = ids("a", "estoque; drop table produtos");
    ASSERT_EQ(r.size(), 4);
    EXPECT_EQ(r.first(), 4);
    EXPECT_EQ(r.last(), 1);
    EXPECT_EQ(ids("a").size(), 4);
}

TEST(ListasOrdem, OnlyColumnsWithADirectionGetThrough) {
    const QStringList colunas{"id", "produto", "marca", "estoque", "venda"};
    const struct {
        const char* ajuste;
        const char* ordem;
    } casos[] = {
        {"", "estoque desc"},
        {"estoque", "estoque desc"},
        {" EsToQuE ", "estoque desc"},
        {"estoque asc", "estoque asc"},
        {"estoque desc, produto", "estoque desc, produto"},
        {"Venda DESC ,marca,  id Asc", "venda desc, marca, id asc"},
        {"nao_existe", "estoque desc"},
        {"produto,", "estoque desc"},
        {",produto", "estoque desc"},
        {"produto desc desc", "estoque desc"},
        {"produto collate nocase", "estoque desc"},
        {"1", "estoque desc"},
        {"random()", "estoque desc"},
        {"(select 1)", "estoque desc"},
        {"produto; drop table produtos", "estoque desc"},
        {"produto -- x", "estoque desc"},
        {"\"produto\"", "estoque desc"},
        {"produto LIMIT 1", "estoque desc"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Produtos_Lista_OrderBy(c.ajuste, colunas), c.ordem) << c.ajuste;
}

TEST(ListasLinhas, TextsOfAProductRow) {
    TProduto p;
    p.id = 42;
    p.produto = "Café Torrado";
    p.cbarra = "7891000100103";
    p.marca = "Marca Com Nome Comprido";
    p.grupo = "Mercearia";
    p.venda = 1234.5;
    p.estoque = 2.5;

    EXPECT_EQ(Produtos_Lista_Linha1(p), "CAFÉ TORRADO");
    EXPECT_EQ(Produtos_Lista_Linha2(p), "CÓDIG: 42              | C. BARRA: 7891000100103");
    EXPECT_EQ(Produtos_Lista_Linha3(p), "MARCA: Marca Com Nome  | EST: 2,5");
    EXPECT_EQ(Produtos_Lista_Linha4(p), "GRUPO: Mercearia");
    EXPECT_EQ(Produtos_Lista_Preco(p), "1.234,50");

    p.venda = 10;
    const struct {
        double desc;
        const char* texto;
    } descontos[] = {{0, ""}, {-5, ""}, {10, "Desc [10,00%]  9,00"}, {2.5, "Desc [2,50%]  9,75"}};
    for (const auto& d : descontos)
        EXPECT_EQ(Produtos_Lista_Desconto(p, d.desc), d.texto) << d.desc;

    for (const auto& [estoque, vermelho] :
         {std::pair{2.5, false}, {0.001, false}, {0.0, true}, {-3.0, true}}) {
        p.estoque = estoque;
        EXPECT_EQ(Produtos_Lista_Sem_Estoque(p), vermelho) << estoque;
    }
}

TEST_F(ListasCore, EmployeesFirstFiftyByName) {
    EXPECT_TRUE(Funcionarios_Lista(conn).isEmpty());

    {
        db::Transaction t(conn);
        for (int i = 1; i <= 55; ++i)
            conn.exec(QStringLiteral("insert into funcionarios (id, nome) values (%1, 'Nome %2')")
                          .arg(i)
                          .arg(100 - i));
        t.commit();
    }
    const QList<TFuncionario> lista = Funcionarios_Lista(conn);
    ASSERT_EQ(lista.size(), 50);
    EXPECT_EQ(lista.first().id, 55);
    EXPECT_EQ(lista.first().nome, "Nome 45");
    EXPECT_EQ(lista.last().id, 6);
}

} // namespace
