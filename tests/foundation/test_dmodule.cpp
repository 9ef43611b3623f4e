#include "foundation/DModule_Unit.h"
#include "foundation/IniFile.h"
#include "foundation/MessageBox.h"
#include "foundation/Settings.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

const QString ERRO_CONEXAO = QString::fromUtf8("Erro de conexão com o banco de dados!");

class DModuleTest : public ::testing::Test {
protected:
    void SetUp() override { MessageBox::clearShown(); }

    // A program folder as installed: the shipped, empty database beside the executable.
    void install() {
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(ONDAVIA_PROGRAM_DIR "/dbase.s3db"), dir.file("dbase.s3db")));
        QFile::setPermissions(dir.file("dbase.s3db"), QFile::ReadOwner | QFile::WriteOwner);
    }

    QStringList column(TDModule& dm, const QString& sql) {
        QStringList values;
        db::Query q(dm.FDConnection1);
        q.setSql(sql);
        for (q.open(); !q.eof(); q.next())
            values << q.field(0).asString();
        return values;
    }

    TestDir dir;
};

TEST_F(DModuleTest, StartsOnTheShippedDatabase) {
    install();
    TDModule dm(dir.path());
    dm.DataModuleCreate();
    ASSERT_TRUE(dm.FDConnection1.isOpen());
    EXPECT_EQ(dm.FDConnection1.path(), dir.file("dbase.s3db"));
    EXPECT_EQ(column(dm, "select count(*) from venda"), QStringList{"0"});
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(DModuleTest, MissingDatabaseIsCreatedEmptyAndMissingFolderMade) {
    TDModule dm(dir.path() + "nova/pasta");
    dm.DataModuleCreate();
    EXPECT_EQ(dm.Sistema_DirName, dir.path() + "nova/pasta/");
    EXPECT_TRUE(dm.FDConnection1.isOpen());
    EXPECT_TRUE(dir.exists("nova/pasta/dbase.s3db"));
}

TEST_F(DModuleTest, FileThatIsNotADatabaseShowsTheConnectionError) {
    const QByteArray notADatabase(4096, 'x');
    dir.write("dbase.s3db", notADatabase);
    TDModule dm(dir.path());
    dm.DataModuleCreate();
    EXPECT_FALSE(dm.FDConnection1.isOpen());
    EXPECT_EQ(MessageBox::shown(), QStringList{ERRO_CONEXAO});
    EXPECT_EQ(dir.read("dbase.s3db"), notADatabase); // the owner's file is left alone
    // Later statements fail with the database layer's own error.
    dm.FDQuery1.setSql("select 1");
    EXPECT_THROW(dm.FDQuery1.open(), DbError);
}

struct ScriptCase {
    const char* name;
    QByteArray script;
    QStringList rows; // values of t.a after the run, in insertion order
};

TEST_F(DModuleTest, UpgradeScript) {
    const ScriptCase cases[] = {
        {"statements end at a # line; the last one without # is dropped",
         "create table t(a text);\n#\ninsert into t values('1');\n# comment\n"
         "insert into t values('2');\n",
         {"1"}},
        {"a line with spaces before # belongs to the statement",
         "create table t(a text);\n#\ninsert into t values('x\n  #y');\n#\n",
         {"x\n  #y"}},
        {"blank lines are skipped, CR LF ends lines",
         "create table t(a text);\r\n#\r\n\r\ninsert into t values('p\r\n   \r\nq');\r\n#\r\n",
         {"p\nq"}},
        {"a failing statement does not stop the next",
         "create table t(a text);\n#\nalter table venda add column venda_cod text;\n#\n"
         "insert into t values('depois');\n#\n",
         {"depois"}},
        {"several statements in one block run together",
         "create table t(a text);\ninsert into t values('a');\n#\n",
         {"a"}},
        {"a byte-order mark is not part of the first statement",
         "\xEF\xBB\xBF"
         "create table t(a text);\n#\ninsert into t values('b');\n#\n",
         {"b"}},
        {"text in the Windows code page keeps its accents",
         "create table t(a text);\n#\ninsert into t values('P\xE3o de a\xE7\xFA"
         "car');\n#\n",
         {QString::fromUtf8("Pão de açúcar")}},
        {"UTF-8 text",
         "create table t(a text);\n#\ninsert into t values('Pão');\n#\n",
         {QString::fromUtf8("Pão")}},
    };
    for (const ScriptCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestDir program;
        ASSERT_TRUE(QFile::copy(QStringLiteral(ONDAVIA_PROGRAM_DIR "/dbase.s3db"),
                                program.file("dbase.s3db")));
        QFile::setPermissions(program.file("dbase.s3db"), QFile::ReadOwner | QFile::WriteOwner);
        program.write("atualizar.txt", c.script);
        TDModule dm(program.path());
        dm.DataModuleCreate();
        EXPECT_FALSE(program.exists("atualizar.txt"));
        EXPECT_EQ(column(dm, "select a from t order by rowid"), c.rows);
    }
}

TEST_F(DModuleTest, UpgradeScriptIsNotRunWithoutAConnection) {
    dir.write("dbase.s3db", QByteArray(2048, 'z'));
    dir.write("atualizar.txt", "create table t(a);\n#\n");
    TDModule dm(dir.path());
    dm.DataModuleCreate();
    EXPECT_TRUE(dir.exists("atualizar.txt"));
}

TEST_F(DModuleTest, ScriptSplitting) {
    EXPECT_EQ(Script_Comandos("a\nb\n#\n\n#\nc\n#x\nd"), (QStringList{"a\nb", "c"}));
    EXPECT_EQ(Script_Comandos(""), QStringList{});
    EXPECT_EQ(Script_Comandos("#\n#\n"), QStringList{});
}

class EmpresaTest : public DModuleTest {
protected:
    TSettings signedIn() {
        TSettings s;
        s.Usuario_Email = QStringLiteral("ana@loja.com.br");
        s.Emp_CNPJ = QStringLiteral("11.222.333/0001-81");
        s.Dt_Sinc_Update = QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5));
        return s;
    }
    QString companyDb() { return dir.file("11222333000181/dbase.s3db"); }
};

TEST_F(EmpresaTest, FirstSignInCopiesTheDatabaseAndResetsTheLastSync) {
    install();
    TDModule dm(dir.path());
    dm.DataModuleCreate();
    TSettings s = signedIn();
    dm.Criar_Pasta_Empresa(s);

    EXPECT_EQ(dm.FDConnection1.path(), companyDb());
    const QDateTime early(QDate(1982, 3, 15), QTime(0, 0));
    EXPECT_EQ(s.Dt_Sinc_Update, early);
    IniFile ini(dir.file("confg.ini"));
    EXPECT_EQ(ini.ReadDateTime("ana@loja.com.br", "dt_sinc_update", {}), early);
    EXPECT_FALSE(dir.exists("11222333000181/dbase.s3db.part"));
}

TEST_F(EmpresaTest, SecondSignInKeepsTheCompanyData) {
    install();
    TDModule dm(dir.path());
    dm.DataModuleCreate();
    TSettings s = signedIn();
    dm.Criar_Pasta_Empresa(s);
    dm.FDConnection1.exec("insert into venda (id, venda_cod, concluido) values (1, 'X1', 1)");

    TSettings again = signedIn();
    SettingsFile(dir.path()).Gravar_Dt_Sinc_Update(again.Usuario_Email, again.Dt_Sinc_Update);
    dm.Criar_Pasta_Empresa(again);
    EXPECT_EQ(dm.FDConnection1.path(), companyDb());
    EXPECT_EQ(column(dm, "select venda_cod from venda"), QStringList{"X1"});
    EXPECT_EQ(again.Dt_Sinc_Update, QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
    IniFile ini(dir.file("confg.ini"));
    EXPECT_EQ(ini.ReadDateTime("ana@loja.com.br", "dt_sinc_update", {}), again.Dt_Sinc_Update);
}

TEST_F(EmpresaTest, UpgradeReachesOnlyCompaniesCopiedAfterIt) {
    install();
    {
        TDModule dm(dir.path());
        dm.DataModuleCreate();
        TSettings s = signedIn();
        dm.Criar_Pasta_Empresa(s);
    }
    dir.write("atualizar.txt", "create table extra(a);\n#\n");
    TDModule dm(dir.path());
    dm.DataModuleCreate();
    TSettings other;
    other.Emp_CNPJ = QStringLiteral("99.888.777/0001-00");
    dm.Criar_Pasta_Empresa(other);
    EXPECT_EQ(column(dm, "select count(*) from sqlite_master where name = 'extra'"),
              QStringList{"1"});
    TSettings first = signedIn();
    dm.Criar_Pasta_Empresa(first);
    EXPECT_EQ(column(dm, "select count(*) from sqlite_master where name = 'extra'"),
              QStringList{"0"});
}

TEST_F(EmpresaTest, WithNeitherDatabaseNothingHappens) {
    TDModule dm(dir.path());
    TSettings s = signedIn();
    dm.Criar_Pasta_Empresa(s);
    EXPECT_FALSE(dm.FDConnection1.isOpen());
    EXPECT_FALSE(dir.exists("11222333000181"));
    EXPECT_EQ(s.Dt_Sinc_Update, QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
    EXPECT_FALSE(dir.exists("confg.ini"));
}

TEST_F(EmpresaTest, NoCompanyMeansTheProgramFolder) {
    install();
    TDModule dm(dir.path());
    dm.DataModuleCreate();
    TSettings s;
    s.Dt_Sinc_Update = QDateTime(QDate(2025, 1, 2), QTime(0, 0));
    dm.Criar_Pasta_Empresa(s);
    EXPECT_EQ(dm.FDConnection1.path(), dir.file("dbase.s3db"));
    EXPECT_EQ(s.Dt_Sinc_Update, QDateTime(QDate(2025, 1, 2), QTime(0, 0)));
}

TEST_F(EmpresaTest, ReadOnlyProgramFolder) {
    install();
    dir.write("atualizar.txt", "create table extra(a);\n#\n");
    ReadOnly lock(dir.path());
    if (!lock.ok()) GTEST_SKIP() << "cannot make a folder read-only here";

    TDModule dm(dir.path());
    EXPECT_NO_THROW(dm.DataModuleCreate());
    TSettings s = signedIn();
    EXPECT_NO_THROW(dm.Criar_Pasta_Empresa(s));
    // The copy could not be made: no company database, the connection stays where it
    // was and the last synchronisation is not reset.
    EXPECT_FALSE(dir.exists("11222333000181/dbase.s3db"));
    EXPECT_NE(dm.FDConnection1.path(), companyDb());
    EXPECT_EQ(s.Dt_Sinc_Update, QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
}

} // namespace
