#include "foundation/Database.h"
#include "foundation/Schema.h"
#include "sale/Venda_Core.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <functional>

namespace {

class VendaCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
    }

    qint64 scalar(const QString& sql) {
        db::Query q(conn);
        q.setSql(sql);
        q.open();
        return q.field(0).asInt64();
    }

    // A sale with items, card rows, a cheque and a discount row, as a concluded sale
    // holds them; `concluido` 0 makes it an open one.
    void sale(int id, int concluido, int itens = 2) {
        conn.exec(QStringLiteral("insert into venda (id, venda_cod, concluido) values "
                                 "(%1, 'PDV%1', %2)")
                      .arg(id)
                      .arg(concluido));
        for (int i = 0; i < itens; ++i)
            conn.exec(QStringLiteral("insert into venda_produtos (venda_id, venda_cod, "
                                     "prod_geral, concluido) values (%1, 'PDV%1', 10, %2)")
                          .arg(id)
                          .arg(concluido));
        conn.exec(
            QStringLiteral("insert into venda_cartao (venda_id, valor) values (%1, 5)").arg(id));
        conn.exec(QStringLiteral("insert into venda_cheque (venda_id, banco) values (%1, '001')")
                      .arg(id));
        conn.exec(QStringLiteral("insert into vendas_descontos (venda_id) values (%1)").arg(id));
    }

    // Every row of the sale tables, so that a rolled-back action can be compared whole.
    QString snapshot() {
        QString s;
        const QString sqls[] = {
            "select id, concluido, venda_desconto from venda order by id",
            "select id, venda_id, concluido, apagado from venda_produtos order by id",
            "select venda_id, valor from venda_cartao order by rowid",
            "select venda_id, banco from venda_cheque order by rowid",
            "select venda_id from vendas_descontos order by rowid",
        };
        for (const QString& sql : sqls) {
            db::Query q(conn);
            q.setSql(sql);
            for (q.open(); !q.eof(); q.next()) {
                for (int c = 0; c < q.fieldCount(); ++c)
                    s += q.field(c).asString() + u',';
                s += u'\n';
            }
            s += QStringLiteral("--\n");
        }
        return s;
    }

    TestDir dir;
    db::Connection conn;
};

const QDateTime MOMENTO(QDate(2025, 3, 5), QTime(14, 7, 9));

TEST(VendaCodigo, SellerNumberMomentWithoutMinutesAndTwoDigits) {
    struct Case {
        qint32 vendedor, id;
        QDateTime agora;
        int d1, d2;
        const char* codigo;
    };
    const Case cases[] = {
        {12, 37, MOMENTO, 3, 5, "PDV120037250305140935"},
        {12, 37, QDateTime(QDate(2025, 3, 5), QTime(14, 59, 9)), 3, 5, "PDV120037250305140935"},
        {1, 7, MOMENTO, 0, 0, "PDV10007250305140900"},
        {1, 42, MOMENTO, 8, 6, "PDV10042250305140986"},
        {1, 10001, MOMENTO, 0, 0, "PDV110001250305140900"},
        {1, 12345, MOMENTO, 0, 0, "PDV112345250305140900"},
        {0, 1, QDateTime(QDate(2009, 12, 31), QTime(23, 0, 59)), 4, 2, "PDV00001091231235942"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codigo);
        EXPECT_EQ(Venda_Codigo(c.vendedor, c.id, c.agora, c.d1, c.d2), c.codigo);
    }
}

TEST(VendaCodigo, NewCodeTakesTheClockAndDigitsInTheirRanges) {
    const QRegularExpression forma(QStringLiteral("^PDV120042(\\d{10})([0-8])([0-6])$"));
    QSet<QString> primeiros, segundos;
    for (int i = 0; i < 300; ++i) {
        const QDateTime antes = QDateTime::currentDateTime();
        const QString codigo = Venda_Codigo_Novo(12, 42);
        const QDateTime depois = QDateTime::currentDateTime();
        const QRegularExpressionMatch m = forma.match(codigo);
        ASSERT_TRUE(m.hasMatch()) << codigo.toStdString();
        const QString momento = m.captured(1);
        auto texto = [](const QDateTime& t) { return t.toString("yyMMddHH") + t.toString("ss"); };
        EXPECT_TRUE(momento == texto(antes) || momento == texto(depois)) << codigo.toStdString();
        primeiros << m.captured(2);
        segundos << m.captured(3);
    }
    // Seeded from the clock at each call: the digits vary from one code to the next.
    EXPECT_GT(primeiros.size(), 1);
    EXPECT_GT(segundos.size(), 1);
}

TEST(VendaLimpar, EveryFieldOfTheSaleGoesBackToNoSale) {
    const QDate hoje(2025, 3, 5);
    TVenda v;
    v.Venda_ID = 9;
    v.Venda_COD = "PDV1";
    v.Venda_dt_pedido = MOMENTO.addDays(-3);
    v.Venda_status = 1;
    v.Venda_frete = v.Venda_Desconto = v.Venda_acrecimo = v.Venda_Total = 1;
    v.Venda_Produtos = 30;
    v.Venda_Obs = v.Venda_Cliente_CPF = "x";
    v.Venda_Cliente_ID = 3;
    v.Venda_Entreg_endereco = v.Venda_Entreg_cidade = v.Venda_Entreg_bairro = "x";
    v.Venda_Entreg_cep = "x";
    v.Plano_ID = v.Plano_Parcelas = v.Plano_Periodicidade = v.Plano_Carencia = 2;
    v.Plano_Alt_Carencia = 1;
    v.Plano_Dt_Primeira = hoje.addDays(30);
    v.Plano_Nome = "Boleto";
    v.Plano_Acrecimo = 4;
    v.Venda_Dt_Venda = hoje.addDays(-3);
    v.Venda_dt_dia = 2;
    v.Venda_dt_mes = 3;
    v.Venda_dt_ano = 2025;
    v.Venda_concluido = 1;
    v.Venda_Entrada = v.Venda_PIX = v.Venda_Cheque = v.Venda_Cartao = 1;
    v.Venda_Ticket = v.Venda_Prazo = v.Venda_Troco = 1;
    v.Entregador_ID = 5;

    Venda_Limpar_Campos(v, hoje);

    TVenda esperado;
    esperado.Venda_dt_pedido = QDateTime(hoje, QTime(0, 0));
    esperado.Venda_Dt_Venda = hoje;
    esperado.Plano_Dt_Primeira = hoje;
    esperado.Entregador_ID = 5; // opening a sale resets it
    auto campos = [](const TVenda& x) {
        return QStringList{QString::number(x.Venda_ID),
                           x.Venda_COD,
                           x.Venda_dt_pedido.toString(Qt::ISODate),
                           QString::number(x.Venda_status),
                           QString::number(x.Venda_frete),
                           QString::number(x.Venda_Desconto),
                           QString::number(x.Venda_acrecimo),
                           QString::number(x.Venda_Total),
                           QString::number(x.Venda_Produtos),
                           x.Venda_Obs,
                           QString::number(x.Venda_Cliente_ID),
                           x.Venda_Cliente_CPF,
                           x.Venda_Entreg_endereco,
                           x.Venda_Entreg_cidade,
                           x.Venda_Entreg_bairro,
                           x.Venda_Entreg_cep,
                           QString::number(x.Plano_ID),
                           QString::number(x.Plano_Parcelas),
                           QString::number(x.Plano_Periodicidade),
                           QString::number(x.Plano_Carencia),
                           x.Plano_Dt_Primeira.toString(Qt::ISODate),
                           x.Plano_Nome,
                           QString::number(x.Plano_Acrecimo),
                           QString::number(x.Plano_Alt_Carencia),
                           x.Venda_Dt_Venda.toString(Qt::ISODate),
                           QString::number(x.Venda_dt_dia),
                           QString::number(x.Venda_dt_mes),
                           QString::number(x.Venda_dt_ano),
                           QString::number(x.Venda_concluido),
                           QString::number(x.Venda_Entrada),
                           QString::number(x.Venda_PIX),
                           QString::number(x.Venda_Cheque),
                           QString::number(x.Venda_Cartao),
                           QString::number(x.Venda_Ticket),
                           QString::number(x.Venda_Prazo),
                           QString::number(x.Venda_Troco),
                           QString::number(x.Entregador_ID)};
    };
    EXPECT_EQ(campos(v), campos(esperado));
}

TEST(SincroniaAtrasada, MoreThanOneWholeDay) {
    const QDateTime agora = MOMENTO;
    struct Case {
        QDateTime ultima;
        bool atrasada;
    };
    const Case cases[] = {
        {agora, false},
        {agora.addSecs(-25 * 3600), false},
        {agora.addSecs(-48 * 3600 + 1), false}, // still one whole day
        {agora.addSecs(-48 * 3600), true},
        {agora.addSecs(-49 * 3600), true},
        {QDateTime(QDate(1982, 3, 15), QTime(0, 0)), true},
        {QDateTime(), true}, // never synchronised
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ultima.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(Sincronia_Atrasada(c.ultima, agora), c.atrasada);
    }
}

TEST_F(VendaCoreTest, NextNumberIsTheLargestPlusOneOrOne) {
    EXPECT_EQ(VendaDB::Proximo_ID(conn), 1);
    for (int id = 1; id <= 41; ++id)
        conn.exec(QStringLiteral("insert into venda (id, concluido) values (%1, 1)").arg(id));
    EXPECT_EQ(VendaDB::Proximo_ID(conn), 42);
    conn.exec("insert into venda (id, concluido) values (10000, 1)");
    EXPECT_EQ(VendaDB::Proximo_ID(conn), 10001);
    // A number that leaves the integer range is no number: the failure gives 1.
    conn.exec("insert into venda (id, concluido) values (2147483647, 1)");
    EXPECT_EQ(VendaDB::Proximo_ID(conn), 1);
    conn.exec("alter table venda rename to venda_velha");
    EXPECT_EQ(VendaDB::Proximo_ID(conn), 1);
}

TEST_F(VendaCoreTest, OpenSaleIsFoundForResumingNotDuplicated) {
    EXPECT_EQ(VendaDB::Aberta(conn), 0);
    sale(1, 1);
    sale(2, 1);
    EXPECT_EQ(VendaDB::Aberta(conn), 0);

    const qint32 id = VendaDB::Proximo_ID(conn);
    ASSERT_EQ(id, 3);
    const QString codigo = Venda_Codigo(12, id, MOMENTO, 3, 5);
    VendaDB::Inserir(conn, id, codigo, QDate(2025, 3, 5));
    EXPECT_EQ(VendaDB::Aberta(conn), 3);
    EXPECT_EQ(VendaDB::ID_Por_Codigo(conn, codigo), 3);
    EXPECT_EQ(VendaDB::ID_Por_Codigo(conn, "PDV0"), 0);

    db::Query q(conn);
    q.setSql("select venda_cod, Dt_Venda, venda_status, concluido from venda where id=3");
    q.open();
    EXPECT_EQ(q.field("venda_cod").asString(), "PDV120003250305140935");
    EXPECT_EQ(q.field("Dt_Venda").asString(), "2025-03-05");
    EXPECT_EQ(q.field("venda_status").asInteger(), 0);
    EXPECT_EQ(q.field("concluido").asInteger(), 0);
}

TEST_F(VendaCoreTest, LoadingCopiesTheRowAndAMissingSaleLeavesTheFields) {
    conn.exec(R"(insert into venda (id, venda_cod, Dt_Venda, venda_dt_pedido, venda_status,
        concluido, venda_frete, venda_desconto, venda_acrecimo, venda_total, venda_obs,
        cliente_id, cliente_cpf, entreg_endereco, entreg_cidade, entreg_bairro, entreg_cep,
        plano_id, plano_parcelas, plano_dt_primeira, venda_dt_dia, venda_dt_mes,
        venda_dt_ano, entrada, pix, cheque, cartao, prazo, troco)
        values (7, 'PDV7', '2025-03-05', '2025-03-05 14:07:09', 1, 1, 0.5, 2, 0.25, 98.5,
        'obs', 4, '12345678909', 'Rua A, 1', 'Recife', 'Boa Vista', '50000000', 3, 4,
        '2025-04-05', 5, 3, 2025, 10, 20, 30, 40, 50, 1.5))");
    TVenda v;
    v.Plano_Nome = "Carnê";
    v.Entregador_ID = 8;
    ASSERT_TRUE(VendaDB::Carregar(conn, 7, v));
    EXPECT_EQ(v.Venda_ID, 7);
    EXPECT_EQ(v.Venda_COD, "PDV7");
    EXPECT_EQ(v.Venda_Dt_Venda, QDate(2025, 3, 5));
    EXPECT_EQ(v.Venda_dt_pedido, MOMENTO);
    EXPECT_EQ(v.Venda_status, 1);
    EXPECT_EQ(v.Venda_concluido, 1);
    EXPECT_DOUBLE_EQ(v.Venda_frete, 0.5);
    EXPECT_DOUBLE_EQ(v.Venda_Desconto, 2);
    EXPECT_DOUBLE_EQ(v.Venda_acrecimo, 0.25);
    EXPECT_DOUBLE_EQ(v.Venda_Total, 98.5);
    EXPECT_EQ(v.Venda_Obs, "obs");
    EXPECT_EQ(v.Venda_Cliente_ID, 4);
    EXPECT_EQ(v.Venda_Cliente_CPF, "12345678909");
    EXPECT_EQ(QStringList({v.Venda_Entreg_endereco, v.Venda_Entreg_cidade, v.Venda_Entreg_bairro,
                           v.Venda_Entreg_cep}),
              QStringList({"Rua A, 1", "Recife", "Boa Vista", "50000000"}));
    EXPECT_EQ(v.Plano_ID, 3);
    EXPECT_EQ(v.Plano_Parcelas, 4);
    EXPECT_EQ(v.Plano_Dt_Primeira, QDate(2025, 4, 5));
    EXPECT_EQ(QList<int>({v.Venda_dt_dia, v.Venda_dt_mes, v.Venda_dt_ano}),
              QList<int>({5, 3, 2025}));
    EXPECT_EQ(QList<double>({v.Venda_Entrada, v.Venda_PIX, v.Venda_Cheque, v.Venda_Cartao,
                             v.Venda_Prazo, v.Venda_Troco}),
              QList<double>({10, 20, 30, 40, 50, 1.5}));
    // Nothing writes these: they read as 0.
    EXPECT_EQ(v.Plano_Periodicidade, 0);
    EXPECT_EQ(v.Plano_Carencia, 0);
    EXPECT_EQ(v.Venda_Ticket, 0);
    // Not columns of the sale.
    EXPECT_EQ(v.Plano_Nome, "Carnê");
    EXPECT_EQ(v.Entregador_ID, 8);

    TVenda outra;
    outra.Venda_COD = "antes";
    EXPECT_FALSE(VendaDB::Carregar(conn, 99, outra));
    EXPECT_EQ(outra.Venda_COD, "antes");
}

TEST_F(VendaCoreTest, CancellingANewSaleRemovesItWithItsItems) {
    sale(1, 1);
    sale(2, 0);
    conn.exec("update venda_produtos set apagado=1 where venda_id=2 and id=(select min(id) "
              "from venda_produtos where venda_id=2)");
    VendaDB::Cancelar(conn, 2);
    EXPECT_EQ(scalar("select count(*) from venda where id=2"), 0);
    EXPECT_EQ(scalar("select count(*) from venda_produtos where venda_id=2"), 0);
    // The concluded sale is not touched.
    EXPECT_EQ(scalar("select count(*) from venda where id=1"), 1);
    EXPECT_EQ(scalar("select count(*) from venda_produtos where venda_id=1"), 2);
}

TEST_F(VendaCoreTest, CancellingAReopenedSaleRestoresTheConcludedOne) {
    sale(5, 1, 3);
    // Reopened: one old item removed, two new items added (one of them removed again).
    conn.exec("update venda_produtos set apagado=1 where id=1");
    conn.exec("insert into venda_produtos (venda_id, concluido) values (5, 0), (5, 0)");
    conn.exec("update venda_produtos set apagado=1 where id=5");
    VendaDB::Cancelar(conn, 5);
    EXPECT_EQ(scalar("select concluido from venda where id=5"), 1);
    db::Query q(conn);
    q.setSql("select group_concat(id || ':' || apagado, ' ') as r from (select id, apagado "
             "from venda_produtos where venda_id=5 order by id)");
    q.open();
    EXPECT_EQ(q.field("r").asString(), "1:0 2:0 3:0");
}

// A trigger that fails one statement of the action halfway through: the action throws
// and the database is as before it.
TEST_F(VendaCoreTest, ActionsOnSalesAreAllOrNothing) {
    struct Case {
        const char* nome;
        const char* gatilho;
        std::function<void(db::Connection&)> acao;
    };
    const Case cases[] = {
        {"cancel, third statement",
         "create trigger falha before update on venda_produtos begin "
         "select raise(abort, 'falha'); end",
         [](db::Connection& c) { VendaDB::Cancelar(c, 1); }},
        {"cancel, second statement",
         "create trigger falha before delete on venda_produtos begin "
         "select raise(abort, 'falha'); end",
         [](db::Connection& c) { VendaDB::Cancelar(c, 2); }},
        {"delete, card rows last",
         "create trigger falha before delete on venda_cartao begin "
         "select raise(abort, 'falha'); end",
         [](db::Connection& c) { VendaDB::Excluir(c, 1); }},
        {"delete, cheque",
         "create trigger falha before delete on venda_cheque begin "
         "select raise(abort, 'falha'); end",
         [](db::Connection& c) { VendaDB::Excluir(c, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        conn.exec("delete from venda; delete from venda_produtos; delete from venda_cartao; "
                  "delete from venda_cheque; delete from vendas_descontos;");
        sale(1, 1);
        sale(2, 0);
        conn.exec("update venda_produtos set apagado=1");
        // Sale 1 reopened, with an item added since.
        conn.exec("insert into venda_produtos (venda_id, concluido) values (1, 0)");
        const QString antes = snapshot();
        conn.exec(c.gatilho);
        EXPECT_THROW(c.acao(conn), DbError);
        EXPECT_EQ(snapshot(), antes);
        conn.exec("drop trigger falha");
        // The connection is usable afterwards: no transaction was left open.
        EXPECT_NO_THROW(c.acao(conn));
        EXPECT_NE(snapshot(), antes);
    }
}

TEST_F(VendaCoreTest, DeletingASaleTakesEverythingOfItAndNothingElse) {
    sale(1, 1);
    sale(2, 1);
    VendaDB::Excluir(conn, 2);
    for (const char* tabela :
         {"venda_produtos", "venda_cartao", "venda_cheque", "vendas_descontos"}) {
        SCOPED_TRACE(tabela);
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1 where venda_id=2").arg(tabela)),
                  0);
        EXPECT_GT(scalar(QStringLiteral("select count(*) from %1 where venda_id=1").arg(tabela)),
                  0);
    }
    EXPECT_EQ(scalar("select count(*) from venda where id=2"), 0);
    EXPECT_EQ(scalar("select count(*) from venda where id=1"), 1);
    // The next sale takes number 2 again and starts with no card payments.
    EXPECT_EQ(VendaDB::Proximo_ID(conn), 2);
}

TEST_F(VendaCoreTest, UnsentSalesAreTheConcludedOnesNotAccepted) {
    EXPECT_EQ(VendaDB::NaoEnviadas(conn), 0);
    conn.exec("insert into venda (id, concluido, venda_status) values (1, 1, 0), (2, 1, 1), "
              "(3, 0, 0), (4, 1, 0), (5, -1, 0)");
    EXPECT_EQ(VendaDB::NaoEnviadas(conn), 2);
}

} // namespace
