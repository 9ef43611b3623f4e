#include "foundation/Database.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

using namespace db;


namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("test.s3db"));
        // v has no declared type, so it keeps whatever type was bound.
        conn.exec("CREATE TABLE t (id INTEGER PRIMARY KEY, txt TEXT, v)");
    }

    qint64 count(const QString& table = "t") {
        Query q(conn);
        q.setSql("select count(*) as n from " + table);
        q.open();
        return q.field("n").asInt64();
    }

    TestDir dir;
    Connection conn;
};

// Runs fn and returns the DbError message it throws, or a marker when it throws none.
template <typename Fn> QString dbErrorOf(Fn fn) {
    try {
        fn();
    } catch (const DbError& e) {
        return e.message();
    }
    return QStringLiteral("<no DbError>");
}

TEST_F(DatabaseTest, AwkwardTextTravelsAsBoundValueUnchanged) {
    const QString texts[] = {
        QStringLiteral("O'Brien's \"quoted\" shop"),
        QStringLiteral("x'); DROP TABLE t; --"),
        QStringLiteral("-- not a comment /* nor this */"),
        QStringLiteral("Pão de Açúcar"),
        QStringLiteral("café 🍞🧀"),
        QStringLiteral(":id ? @x $y"),
        QStringLiteral("line one\nline two\ttab"),
        QString::fromUtf8("nul\0inside", 10),
        QString(),
    };
    Query ins(conn);
    ins.setSql("insert into t (id, txt) values (:id, :txt)");
    for (int i = 0; i < int(std::size(texts)); ++i) {
        ins.bind(":id", i);
        ins.bind(":txt", texts[i]);
        EXPECT_EQ(ins.exec(), 1);
    }

    Query q(conn);
    q.setSql("select txt, length(txt) as chars, typeof(txt) as kind from t where id = :id");
    for (int i = 0; i < int(std::size(texts)); ++i) {
        SCOPED_TRACE(texts[i].toStdString());
        q.close();
        q.bind(":id", i);
        q.open();
        ASSERT_FALSE(q.eof());
        EXPECT_EQ(q.field("txt").asString(), texts[i]);
        EXPECT_EQ(q.field("kind").asString(), "text"); // an empty QString stays text, not NULL
        // SQLite counts characters in the UTF-8 it holds, up to a NUL.
        if (!texts[i].contains(QChar(0))) {
            EXPECT_EQ(q.field("chars").asInteger(), texts[i].toUcs4().size());
        }
    }
    EXPECT_EQ(count(), qint64(std::size(texts))); // the table is still there
}

TEST_F(DatabaseTest, TypedValuesRoundTrip) {
    const QDate day(2024, 1, 5);
    const QDateTime moment(QDate(2024, 1, 5), QTime(13, 4, 9));
    Query ins(conn);
    ins.setSql("insert into t (id, v) values (:id, :v)");
    struct Row {
        int id;
        std::function<void(Query&)> bind;
        const char* stored; // as the file holds it
        const char* type;
    };
    const Row rows[] = {
        {1, [](Query& q) { q.bind(":v", 42); }, "42", "integer"},
        {2, [](Query& q) { q.bind(":v", qint64(1) << 40); }, "1099511627776", "integer"},
        {3, [](Query& q) { q.bind(":v", 12.5); }, "12.5", "real"},
        {4, [](Query& q) { q.bind(":v", true); }, "1", "integer"},
        {5, [](Query& q) { q.bind(":v", false); }, "0", "integer"},
        {6, [&](Query& q) { q.bind(":v", day); }, "2024-01-05", "text"},
        {7, [&](Query& q) { q.bind(":v", moment); }, "2024-01-05 13:04:09", "text"},
        {8, [](Query& q) { q.bindNull(":v"); }, "", "null"},
        {9, [](Query& q) { q.bind(":v", QDate()); }, "", "null"},
        {10, [](Query& q) { q.bind(":v", "12.5"); }, "12.5", "text"},
    };
    for (const Row& row : rows) {
        ins.bind(":id", row.id);
        row.bind(ins);
        ins.exec();
    }

    Query q(conn);
    q.setSql("select id, v, typeof(v) as type from t order by id");
    q.open();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        ASSERT_FALSE(q.eof());
        EXPECT_EQ(q.field("type").asString(), row.type);
        EXPECT_EQ(q.field("v").asString(), row.stored);
        q.next();
    }
    EXPECT_TRUE(q.eof());

    auto at = [&](int id) {
        q.close();
        q.setSql("select v from t where id = :id");
        q.bind(":id", id);
        q.open();
        return q.field("v");
    };
    EXPECT_EQ(at(1).asInteger(), 42);
    EXPECT_EQ(at(1).value(), QVariant(qint64(42)));
    EXPECT_EQ(at(2).asInt64(), qint64(1) << 40);
    EXPECT_THROW(at(2).asInteger(), DbError); // does not wrap round
    EXPECT_DOUBLE_EQ(at(3).asFloat(), 12.5);
    EXPECT_TRUE(at(4).asBoolean());
    EXPECT_FALSE(at(5).asBoolean());
    EXPECT_EQ(at(6).asDate(), day);
    EXPECT_EQ(at(6).asDateTime(), QDateTime(day, QTime(0, 0))); // a date reads as midnight
    EXPECT_EQ(at(7).asDateTime(), moment);
    EXPECT_EQ(at(7).asDate(), day); // a date-time reads as its day
    EXPECT_TRUE(at(8).isNull());
    EXPECT_EQ(at(8).asString(), QString());
    EXPECT_EQ(at(8).asInteger(), 0);
    EXPECT_FALSE(at(8).asDate().isValid());
    EXPECT_FALSE(at(8).asDateTime().isValid());
    EXPECT_FALSE(at(8).value().isValid());
    EXPECT_DOUBLE_EQ(at(10).asFloat(), 12.5);
}

TEST(StorageForms, TextToDateAcceptsOnlyTheStorageForms) {
    struct Case {
        const char* text;
        QDate date;
        QTime time;
    };
    const Case cases[] = {
        {"2024-01-05", QDate(2024, 1, 5), QTime(0, 0)},
        {"2024-01-05 13:04:09", QDate(2024, 1, 5), QTime(13, 4, 9)},
        {"2024-01-05T13:04", QDate(2024, 1, 5), QTime(13, 4)},
        {"2024-01-05 13:04:09.5", QDate(2024, 1, 5), QTime(13, 4, 9, 500)},
        {"", {}, {}},
        {"05/01/2024", {}, {}},
        {"2024-02-30", {}, {}},
        {"0000-00-00 00:00:00", {}, {}},
        {"2024-01-05 25:00:00", {}, {}},
        {"2024-01-05 junk", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(textToDate(c.text), c.date);
        EXPECT_EQ(textToDateTime(c.text),
                  c.date.isValid() ? QDateTime(c.date, c.time) : QDateTime());
    }
    // The form keeps the order of time, so text comparison orders moments.
    EXPECT_LT(dateTimeToText(QDateTime(QDate(2024, 1, 5), QTime(9, 0))),
              dateTimeToText(QDateTime(QDate(2024, 1, 5), QTime(10, 0))));
    EXPECT_EQ(dateToText(QDate()), QString());
}

TEST_F(DatabaseTest, NamesOfFieldsAndParametersIgnoreCase) {
    Query q(conn);
    q.setSql("select :Prod_Acrec as Prod_Acrec, 2 as prod_descCC");
    q.bind(":prod_acrec", 7);
    q.open();
    EXPECT_EQ(q.field("prod_acrec").asInteger(), 7);
    EXPECT_EQ(q.field("PROD_ACREC").asInteger(), 7);
    EXPECT_EQ(q.field("Prod_DescCC").asInteger(), 2);
    EXPECT_EQ(q.fieldName(0), "Prod_Acrec");

    const QString unknown = dbErrorOf([&] { q.field("prod_acrescimo"); });
    EXPECT_TRUE(unknown.contains("prod_acrescimo")) << unknown.toStdString();
}

TEST_F(DatabaseTest, NowGivesTheCurrentLocalMomentInStorageForm) {
    Query q(conn);
    q.setSql("select NOW() as agora, now() >= :before as ordered");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    q.bind(":before", before);
    q.open();
    const QString text = q.field("agora").asString();
    EXPECT_TRUE(
        QRegularExpression(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}$)").match(text).hasMatch())
        << text.toStdString();
    EXPECT_LE(std::abs(q.field("agora").asDateTime().secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_TRUE(q.field("ordered").asBoolean());
}

TEST_F(DatabaseTest, QueryWalksRowsAndRunsAgain) {
    conn.exec("insert into t (id) values (1); insert into t (id) values (2); "
              "insert into t (id) values (3)");
    Query q(conn);
    q.clearSql();
    q.addSql("select id -- the line break ends this remark");
    q.addSql("from t where id >= :min order by id");
    q.bind(":min", 2);
    q.open();
    EXPECT_FALSE(q.isEmpty());
    QList<int> seen;
    for (; !q.eof(); q.next())
        seen << q.field("id").asInteger();
    EXPECT_EQ(seen, QList<int>({2, 3}));
    q.next(); // past the end stays at the end, never starts over
    EXPECT_TRUE(q.eof());
    EXPECT_THROW(q.field("id").asInteger(), DbError); // no current row

    // The kept value serves again; a new one replaces it.
    q.close();
    q.open();
    EXPECT_EQ(q.field("id").asInteger(), 2);
    q.close();
    q.bind(":min", 9);
    q.open();
    EXPECT_TRUE(q.eof());
    EXPECT_TRUE(q.isEmpty());
    EXPECT_THROW(q.field("id").asString(), DbError);
}

TEST_F(DatabaseTest, ExecCountsOnlyRowsItChanged) {
    conn.exec("insert into t (id) values (1); insert into t (id) values (2)");
    Query q(conn);
    q.setSql("update t set txt = 'x'");
    EXPECT_EQ(q.exec(), 2);
    q.setSql("select * from t"); // allowed, runs to the end
    EXPECT_EQ(q.exec(), 0);
    q.setSql("create table u (a)");
    EXPECT_EQ(q.exec(), 0);
    q.setSql("delete from t where id = 99");
    EXPECT_EQ(q.exec(), 0);

    // open() of a statement without rows runs it and stands at the end.
    q.setSql("insert into t (id) values (7)");
    q.open();
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(conn.lastInsertId(), 7);
    EXPECT_EQ(count(), 3);
}

TEST_F(DatabaseTest, FailuresThrowWithSQLitesMessage) {
    Query q(conn);

    q.setSql("selec * from t");
    QString message = dbErrorOf([&] { q.open(); });
    EXPECT_TRUE(message.contains("syntax error")) << message.toStdString();
    EXPECT_TRUE(message.contains("selec * from t")) << message.toStdString();

    q.setSql("select * from t where id = :id");
    message = dbErrorOf([&] { q.bind(":idd", 1); });
    EXPECT_TRUE(message.contains(":idd")) << message.toStdString();
    message = dbErrorOf([&] { q.open(); });
    EXPECT_TRUE(message.contains(":id")) << message.toStdString(); // never bound

    conn.exec("insert into t (id) values (1)");
    q.setSql("insert into t (id) values (1)");
    message = dbErrorOf([&] { q.exec(); });
    EXPECT_TRUE(message.contains("UNIQUE constraint failed")) << message.toStdString();

    // A second statement in one query would be dropped unseen.
    q.setSql("delete from t; delete from u");
    EXPECT_THROW(q.exec(), DbError);
    EXPECT_EQ(count(), 1);

    message = dbErrorOf([&] { conn.exec("insert into t (id) values (5); insert into nowhere"); });
    EXPECT_TRUE(message.contains("syntax error") || message.contains("incomplete input"))
        << message.toStdString();

    conn.close();
    EXPECT_THROW(q.open(), DbError);
    EXPECT_THROW(conn.exec("select 1"), DbError);
}

TEST(Connection, FileThatIsNotADatabaseFailsAtOpen) {
    TestDir dir;
    dir.write("junk.s3db", QByteArray("this is the settings file, not a database\n").repeated(200));
    Connection conn;
    const QString message = dbErrorOf([&] { conn.open(dir.file("junk.s3db")); });
    EXPECT_TRUE(message.contains("file is not a database")) << message.toStdString();
    EXPECT_FALSE(conn.isOpen());
    EXPECT_THROW(conn.handle(), DbError);

    EXPECT_THROW(conn.open(dir.file("no/such/folder/x.s3db")), DbError);
    EXPECT_FALSE(conn.isOpen());
    EXPECT_THROW(conn.open(""), DbError);

    conn.open(dir.file("good.s3db")); // still usable afterwards
    EXPECT_TRUE(conn.isOpen());
    EXPECT_EQ(conn.path(), dir.file("good.s3db"));
}

TEST(Connection, JournalAndSyncAreSet) {
    struct Case {
        Journal journal;
        Sync sync;
        const char* mode;
        int level;
    };
    for (const Case& c : {Case{Journal::Delete, Sync::Full, "delete", 2},
                          Case{Journal::Wal, Sync::Normal, "wal", 1}}) {
        SCOPED_TRACE(c.mode);
        TestDir dir;
        Connection conn;
        conn.open(dir.file("j.s3db"), c.journal, c.sync);
        Query q(conn);
        q.setSql("pragma journal_mode");
        q.open();
        EXPECT_EQ(q.field(0).asString(), c.mode);
        q.setSql("pragma synchronous");
        q.open();
        EXPECT_EQ(q.field(0).asInteger(), c.level);
    }
}

TEST_F(DatabaseTest, TransactionGuardRollsBackUnlessCommitted) {
    try {
        Transaction tx(conn);
        conn.exec("insert into t (id) values (1)");
        throw std::runtime_error("screen failed half-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(count(), 0);

    {
        Transaction tx(conn);
        conn.exec("insert into t (id) values (2)");
        tx.commit();
        EXPECT_THROW(tx.commit(), DbError);
    }
    EXPECT_EQ(count(), 1);
}

TEST_F(DatabaseTest, StaleTransactionGuardLeavesANewConnectionAlone) {
    std::optional<Transaction> stale(std::in_place, conn);
    conn.exec("insert into t (id) values (1)");
    conn.close(); // rolls back what the guard held
    conn.open(dir.file("test.s3db"));
    EXPECT_EQ(count(), 0);

    Transaction fresh(conn);
    conn.exec("insert into t (id) values (2)");
    stale.reset();
    EXPECT_NO_THROW(fresh.commit());
    EXPECT_EQ(count(), 1);
}

TEST_F(DatabaseTest, ConnectionRefusesOtherThreads) {
    QString fromQuery, fromExec, fromClose;
    std::thread worker([&] {
        Query q(conn);
        q.setSql("select 1");
        fromQuery = dbErrorOf([&] { q.open(); });
        fromExec = dbErrorOf([&] { conn.exec("delete from t"); });
        fromClose = dbErrorOf([&] { conn.close(); });
    });
    worker.join();
    for (const QString& m : {fromQuery, fromExec, fromClose})
        EXPECT_EQ(m, "database connection used from another thread");
    EXPECT_TRUE(conn.isOpen());
}

TEST_F(DatabaseTest, EachThreadWorksOnItsOwnConnection) {
    Connection wal;
    wal.open(dir.file("shared.s3db"), Journal::Wal, Sync::Normal);
    wal.exec("create table p (id INTEGER PRIMARY KEY)");
    QString failure;
    std::thread worker([&] {
        try {
            Connection own;
            own.open(dir.file("shared.s3db"), Journal::Wal, Sync::Normal);
            Query q(own);
            q.setSql("insert into p (id) values (:id)");
            for (int id = 1; id <= 50; ++id) {
                q.bind(":id", id);
                q.exec();
            }
        } catch (const DbError& e) {
            failure = e.message();
        }
    });
    worker.join();
    EXPECT_EQ(failure, QString());
    Query q(wal);
    q.setSql("select count(*) from p");
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 50);
}

TEST_F(DatabaseTest, QuerySurvivesCloseAndPreparesAgainAfterReconnect) {
    conn.exec("insert into t (id, txt) values (1, 'first file')");
    Connection other;
    other.open(dir.file("other.s3db"));
    other.exec("create table t (id INTEGER PRIMARY KEY, txt TEXT);"
               "insert into t (id, txt) values (1, 'second file')");
    other.close();

    Query q(conn);
    q.setSql("select txt from t where id = :id");
    q.bind(":id", 1);
    q.open();
    EXPECT_EQ(q.field("txt").asString(), "first file");

    conn.close(); // while the query stands on a row
    EXPECT_FALSE(q.isOpen());
    EXPECT_THROW(q.field("txt").asString(), DbError);
    EXPECT_THROW(q.open(), DbError);

    conn.open(dir.file("other.s3db"));
    q.open(); // same SQL and value, new file
    EXPECT_EQ(q.field("txt").asString(), "second file");
    EXPECT_EQ(q.connection().path(), dir.file("other.s3db"));
}

TEST(Connection, QueryOutlivingItsConnectionFailsCleanly) {
    TestDir dir;
    auto conn = std::make_unique<Connection>();
    conn->open(dir.file("x.s3db"));
    Query q(*conn);
    q.setSql("select 1 as one");
    q.open();
    conn.reset();
    EXPECT_FALSE(q.isOpen());
    EXPECT_THROW(q.open(), DbError);
    EXPECT_THROW(q.connection(), DbError);
}

} // namespace
