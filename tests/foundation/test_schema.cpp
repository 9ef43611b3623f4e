#include "foundation/Database.h"
#include "foundation/Schema.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QProcess>

using namespace db;


namespace {

// Every table with its columns and declared types, as the terminal's statements use them
// (dates and date-times are TEXT).
const QMap<QString, QString> kTables = {
    {"venda", "id INTEGER, venda_cod TEXT, Dt_Venda TEXT, venda_dt_pedido TEXT, "
              "venda_status INTEGER, concluido INTEGER, venda_frete REAL, venda_desconto REAL, "
              "venda_acrecimo REAL, venda_total REAL, venda_obs TEXT, cliente_id INTEGER, "
              "cliente_cpf TEXT, entreg_endereco TEXT, entreg_cidade TEXT, entreg_bairro TEXT, "
              "entreg_cep TEXT, vendedor_id INTEGER, entregador_id INTEGER, plano_id INTEGER, "
              "plano_parcelas INTEGER, plano_dt_primeira TEXT, plano_periodic INTEGER, "
              "plano_carencia INTEGER, venda_dt_dia INTEGER, venda_dt_mes INTEGER, "
              "venda_dt_ano INTEGER, entrada REAL, pix REAL, cheque REAL, cartao REAL, "
              "ticket REAL, prazo REAL, troco REAL"},
    {"venda_produtos", "id INTEGER, venda_id INTEGER, venda_cod TEXT, prod_id INTEGER, "
                       "produto TEXT, prod_cbarra TEXT, prod_medida TEXT, prod_venda REAL, "
                       "prod_qtd REAL, prod_total REAL, prod_desc REAL, prod_descCC REAL, "
                       "Prod_Acrec REAL, prod_geral REAL, concluido INTEGER, apagado INTEGER"},
    {"venda_cartao", "venda_id INTEGER, venda_cod TEXT, cliente TEXT, operadora TEXT, "
                     "forma TEXT, valor REAL, parcelas INTEGER"},
    {"venda_cheque", "venda_id INTEGER, venda_cod TEXT, cliente TEXT, cliente_cpf TEXT, "
                     "banco TEXT, agencia TEXT, conta TEXT, numero TEXT, dt_compensacao TEXT"},
    {"vendas_descontos", "venda_id INTEGER"},
    {"produtos", "id INTEGER, ativo INTEGER, dt_cadastro TEXT, grupo_id INTEGER, grupo TEXT, "
                 "produto TEXT, tamanho TEXT, marca TEXT, cbarra TEXT, custo REAL, lucro REAL, "
                 "venda REAL, desconto REAL, promocao REAL, promocao_min REAL, "
                 "dt_promocao TEXT, medida TEXT, estoque REAL"},
    {"clientes", "id INTEGER, cod TEXT, ativo INTEGER, tipo TEXT, nome TEXT, apelido TEXT, "
                 "cpf_cnpj TEXT, rg_ie TEXT, endereco TEXT, endereco_obs TEXT, numero TEXT, "
                 "bairro TEXT, cidade TEXT, estado TEXT, cep TEXT, fone TEXT, celular TEXT, "
                 "email TEXT, nascimento TEXT, grupo TEXT, grupo_id INTEGER, gps_latitude REAL, "
                 "gps_longitude REAL, dt_cadastro TEXT, dt_ultatend TEXT, ultatend INTEGER, "
                 "atend_tipo INTEGER, cred_limite REAL, cred_restante REAL, credito TEXT"},
    {"funcionarios", "id INTEGER, nome TEXT, ativo INTEGER"},
    {"cidades", "id INTEGER, uf TEXT, cidade TEXT"},
    {"rotas", "id INTEGER, rota TEXT"},
    {"pagamentos", "id INTEGER, ativo INTEGER, plano TEXT, tipo TEXT, entrada REAL, "
                   "carencia INTEGER, alt_carencia INTEGER, parcelas INTEGER, "
                   "periodicidade INTEGER, acrecimo REAL"},
    {"cartoes", "id INTEGER, ativo INTEGER, operadora TEXT, credito INTEGER, debito INTEGER"},
    {"mensagens", "id INTEGER, tipo TEXT, dt_update TEXT, dt_visualiza TEXT, msg TEXT, "
                  "user_id INTEGER, user_name TEXT, destinatario TEXT, destinatario_id INTEGER"},
};

// "name TYPE" per column, and whether id is the key, as the file declares them.
QString describe(Connection& conn, const QString& table, bool* idIsKey = nullptr) {
    Query q(conn);
    q.setSql("select name, type, pk from pragma_table_info(:table)");
    q.bind(":table", table);
    QStringList columns;
    for (q.open(); !q.eof(); q.next()) {
        columns << q.field("name").asString() + ' ' + q.field("type").asString();
        if (idIsKey && q.field("name").asString() == "id") *idIsKey = q.field("pk").asBoolean();
    }
    return columns.join(", ");
}

void checkSchema(Connection& conn) {
    Query q(conn);
    q.setSql("select count(*) from sqlite_master where type = 'table'");
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), kTables.size()); // no table more, none less
    for (auto it = kTables.cbegin(); it != kTables.cend(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        bool idIsKey = false;
        EXPECT_EQ(describe(conn, it.key(), &idIsKey), it.value());
        EXPECT_EQ(idIsKey, it.value().startsWith("id ")) << "id must be the primary key";
    }
}

class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
    }

    QVariant scalar(const QString& sql) {
        Query q(conn);
        q.setSql(sql);
        q.open();
        return q.eof() ? QVariant() : q.field(0).value();
    }

    TestDir dir;
    Connection conn;
};

TEST_F(SchemaTest, HoldsEveryTableAndColumnWithItsKey) {
    checkSchema(conn);
}

TEST_F(SchemaTest, LookupsUseIndexes) {
    const char* lookups[] = {
        "select * from produtos where cbarra = '789'",
        "select * from venda_produtos where venda_id = 1",
        "select * from venda where concluido = 0",
        "select * from venda where Dt_Venda between '2024-01-01' and '2024-01-31'",
    };
    for (const char* sql : lookups) {
        SCOPED_TRACE(sql);
        Query q(conn);
        q.setSql(QStringLiteral("explain query plan ") + sql);
        q.open();
        EXPECT_TRUE(q.field("detail").asString().contains("USING INDEX"))
            << q.field("detail").asString().toStdString();
    }
}

TEST_F(SchemaTest, InsertOrReplaceReplacesByIdInCloudFilledTables) {
    const QMap<QString, QString> textColumn = {
        {"produtos", "produto"},  {"clientes", "nome"}, {"funcionarios", "nome"},
        {"cidades", "cidade"},    {"rotas", "rota"},    {"pagamentos", "plano"},
        {"cartoes", "operadora"}, {"mensagens", "msg"}, {"venda", "venda_cod"},
    };
    for (auto it = textColumn.cbegin(); it != textColumn.cend(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        Query q(conn);
        q.setSql(QStringLiteral("INSERT OR REPLACE INTO %1 (id, %2) VALUES (:id, :text)")
                     .arg(it.key(), it.value()));
        for (const char* text : {"old", "new"}) {
            q.bind(":id", 7);
            q.bind(":text", text);
            q.exec();
        }
        q.bind(":id", 8);
        q.exec();
        EXPECT_EQ(scalar("select count(*) from " + it.key()).toInt(), 2);
        EXPECT_EQ(scalar(QStringLiteral("select %2 from %1 where id = 7").arg(it.key(), it.value()))
                      .toString(),
                  "new");
    }
}

TEST_F(SchemaTest, SaleNumbersAndItemKeys) {
    EXPECT_EQ(scalar("select coalesce(max(id),0)+1 from venda").toInt(), 1);

    Query item(conn);
    item.setSql("insert into venda_produtos (venda_id, venda_cod) values (:venda_id, :venda_cod)");
    item.bind(":venda_id", 1);
    item.bind(":venda_cod", "A1");
    item.exec();
    const qint64 first = conn.lastInsertId();
    item.exec();
    EXPECT_GT(first, 0);
    EXPECT_EQ(conn.lastInsertId(), first + 1);
}

TEST_F(SchemaTest, ColumnsNeverWrittenReadZero) {
    // A sale as it is opened, then rewritten whole at its conclusion.
    Query q(conn);
    q.setSql("insert into venda (id, venda_cod, Dt_Venda, venda_status, concluido) "
             "values (:id, :venda_cod, :Dt_Venda, 0, 0)");
    q.bind(":id", 1);
    q.bind(":venda_cod", "A1");
    q.bind(":Dt_Venda", QDate(2024, 1, 5));
    q.exec();
    q.setSql("INSERT OR REPLACE INTO venda (id, venda_cod, venda_dt_pedido, concluido) "
             "VALUES (:id, :venda_cod, NOW(), 1)");
    q.bind(":id", 1);
    q.bind(":venda_cod", "A1");
    q.exec();

    q.setSql("select * from venda where id = 1");
    q.open();
    for (const char* column : {"plano_periodic", "plano_carencia", "ticket", "venda_frete",
                               "cliente_id", "entregador_id", "venda_dt_ano"}) {
        SCOPED_TRACE(column);
        EXPECT_FALSE(q.field(column).isNull());
        EXPECT_EQ(q.field(column).asFloat(), 0.0);
    }
    EXPECT_EQ(q.field("venda_obs").asString(), "");
    EXPECT_TRUE(q.field("venda_dt_pedido").asDateTime().isValid());
}

TEST_F(SchemaTest, DatesStayTextAndCompareInOrder) {
    Query q(conn);
    q.setSql("insert into venda (id, Dt_Venda, venda_dt_pedido) values (:id, :dia, :momento)");
    for (int day : {4, 5, 6}) {
        q.bind(":id", day);
        q.bind(":dia", QDate(2024, 1, day));
        q.bind(":momento", QDateTime(QDate(2024, 1, day), QTime(23, 59, 59)));
        q.exec();
    }
    EXPECT_EQ(scalar("select group_concat(distinct typeof(Dt_Venda) || typeof(venda_dt_pedido)) "
                     "from venda")
                  .toString(),
              "texttext");
    EXPECT_EQ(scalar("select group_concat(id) from venda where Dt_Venda = '2024-01-05'").toString(),
              "5");
    EXPECT_EQ(scalar("select group_concat(id) from venda where venda_dt_pedido "
                     "between '2024-01-05 00:00:00' and '2024-01-05 23:59:59'")
                  .toString(),
              "5");
}

TEST(Schema, CreationIsAllOrNothing) {
    TestDir dir;
    Connection conn;
    conn.open(dir.file("half.s3db"));
    conn.exec("create table rotas (x)"); // a clash part-way through
    EXPECT_THROW(Schema_Criar(conn), DbError);
    Query q(conn);
    q.setSql("select group_concat(name) from sqlite_master");
    q.open();
    EXPECT_EQ(q.field(0).asString(), "rotas");
}

// The maker program, run as the build runs it.
class MakeDbaseTest : public ::testing::Test {
protected:
    int run(const QString& target, QString* errors = nullptr) {
        QProcess p;
        p.start(QStringLiteral(ONDAVIA_PROGRAM_DIR "/../tools/make_dbase"), {target});
        if (!p.waitForFinished(30000)) return -1;
        if (errors) *errors = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    TestDir dir;
};

TEST_F(MakeDbaseTest, MakesAnEmptySelfContainedDatabase) {
    dir.write("dbase.s3db", "an older file in the way");
    dir.write("dbase.s3db.tmp", "left by a failed run");
    dir.write("dbase.s3db-journal", "a journal of the older file");
    ASSERT_EQ(run(dir.file("dbase.s3db")), 0);
    EXPECT_FALSE(dir.exists("dbase.s3db.tmp"));
    EXPECT_FALSE(dir.exists("dbase.s3db-journal"));

    Connection conn;
    conn.open(dir.file("dbase.s3db"));
    checkSchema(conn);
    Query q(conn);
    q.setSql("pragma journal_mode");
    q.open();
    EXPECT_EQ(q.field(0).asString(), "delete");
    for (const QString& table : kTables.keys()) {
        q.setSql("select count(*) from " + table);
        q.open();
        EXPECT_EQ(q.field(0).asInteger(), 0) << table.toStdString();
    }
}

TEST_F(MakeDbaseTest, FailedRunLeavesTheTargetAlone) {
    QString errors;
    EXPECT_EQ(run(dir.file("missing/dbase.s3db"), &errors), 1);
    EXPECT_FALSE(errors.isEmpty());

    // A target that cannot be replaced keeps its old bytes.
    dir.write("dbase.s3db", "old");
    ReadOnly locked(dir.path());
    if (!locked.ok()) GTEST_SKIP() << "cannot make a folder unwritable here";
    EXPECT_EQ(run(dir.file("dbase.s3db"), &errors), 1);
    EXPECT_TRUE(errors.contains("dbase.s3db")) << errors.toStdString();
    EXPECT_EQ(dir.read("dbase.s3db"), "old");
    EXPECT_FALSE(dir.exists("dbase.s3db.tmp"));
}

} // namespace
