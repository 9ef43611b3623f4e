#include "foundation/IniFile.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    TestDir dir;
    QString path() const { return dir.file(QStringLiteral("confg.ini")); }
};

TEST_F(IniFileTest, MissingFileReadsDefaults) {
    IniFile ini(path());
    EXPECT_EQ(ini.ReadString("conf", "x", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("conf", "x", 7), 7);
    EXPECT_TRUE(ini.ReadBool("conf", "x", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("conf", "x", 2.5), 2.5);
    EXPECT_FALSE(dir.exists("confg.ini")); // reading never creates the file
}

TEST_F(IniFileTest, ValuesRoundTripInTheirForms) {
    {
        IniFile ini(path());
        ini.WriteString("Usuario", "Email", QString::fromUtf8("joão@loja.com.br"));
        ini.WriteInteger("conf", "Casa_Decimal", -3);
        ini.WriteBool("conf", "prod_qtd", true);
        ini.WriteBool("conf", "prod_valor", false);
        ini.WriteFloat("conf", "Desc_Limit", 12.5);
        ini.WriteDateTime("a@b", "dt_sinc_update", QDateTime(QDate(1982, 3, 15), QTime(0, 0)));
        ini.WriteDateTime("a@b", "outro", QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58)));
    }
    const QString text = QString::fromUtf8(dir.read("confg.ini"));
    EXPECT_TRUE(text.contains("prod_qtd=1"));
    EXPECT_TRUE(text.contains("prod_valor=0"));
    EXPECT_TRUE(text.contains("Desc_Limit=12,5"));
    EXPECT_TRUE(text.contains("dt_sinc_update=15/03/1982 00:00:00"));

    IniFile ini(path());
    EXPECT_EQ(ini.ReadString("Usuario", "Email", ""), QString::fromUtf8("joão@loja.com.br"));
    EXPECT_EQ(ini.ReadInteger("conf", "Casa_Decimal", 0), -3);
    EXPECT_TRUE(ini.ReadBool("conf", "prod_qtd", false));
    EXPECT_FALSE(ini.ReadBool("conf", "prod_valor", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("conf", "Desc_Limit", 0), 12.5);
    EXPECT_EQ(ini.ReadDateTime("a@b", "dt_sinc_update", {}),
              QDateTime(QDate(1982, 3, 15), QTime(0, 0)));
    EXPECT_EQ(ini.ReadDateTime("a@b", "outro", {}),
              QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58)));
}

TEST_F(IniFileTest, ValueConversionTable) {
    struct Row {
        const char* value;
        qint32 asInteger; // default 99
        bool asBool;      // default false
        double asFloat;   // default -1
    };
    const Row rows[] = {
        {"1", 1, true, 1},
        {"0", 0, false, 0},
        {"-7", -7, true, -7},
        {"  42  ", 42, true, 42},
        {"2", 2, true, 2}, // any integer but 0 is yes
        {"yes", 99, false, -1},
        {"1,5", 99, false, 1.5},
        {"1.5", 99, false, -1}, // the decimal separator is the comma
        {"1.234,5", 99, false, -1},
        {",5", 99, false, 0.5},
        {"2147483647", 2147483647, true, 2147483647},
        {"2147483648", 99, false, 2147483648.0},
        {"1e400", 99, false, -1},
        {"", 99, false, -1},
        {"-", 99, false, -1},
    };
    for (const Row& row : rows) {
        dir.write("confg.ini", QByteArray("[conf]\nv=") + row.value + "\n");
        IniFile ini(path());
        SCOPED_TRACE(row.value);
        EXPECT_EQ(ini.ReadInteger("conf", "v", 99), row.asInteger);
        EXPECT_EQ(ini.ReadBool("conf", "v", false), row.asBool);
        EXPECT_DOUBLE_EQ(ini.ReadFloat("conf", "v", -1), row.asFloat);
    }
}

TEST_F(IniFileTest, DatesOfTheFileForm) {
    const QDateTime def(QDate(2022, 1, 1), QTime(0, 0));
    const struct {
        const char* value;
        QDateTime expected;
    } rows[] = {
        {"15/03/1982", QDateTime(QDate(1982, 3, 15), QTime(0, 0))},
        {"5/3/2024 7:08", QDateTime(QDate(2024, 3, 5), QTime(7, 8))},
        {"29/02/2024 10:11:12", QDateTime(QDate(2024, 2, 29), QTime(10, 11, 12))},
        {"29/02/2023 10:11:12", def}, // no such day
        {"2024-02-29 10:11:12", def}, // the cloud's form is not the file's
        {"31/12/2024 24:00:00", def},
        {"lixo", def},
    };
    for (const auto& row : rows) {
        dir.write("confg.ini", QByteArray("[s]\nd=") + row.value + "\n");
        EXPECT_EQ(IniFile(path()).ReadDateTime("s", "d", def), row.expected) << row.value;
    }
}

TEST_F(IniFileTest, NamesAreComparedWithoutCase) {
    dir.write("confg.ini", "[CONF]\nProd_Qtd=0\n");
    IniFile ini(path());
    EXPECT_FALSE(ini.ReadBool("conf", "prod_qtd", true));
    ini.WriteBool("Conf", "PROD_QTD", true);
    // The key is replaced in place, not added a second time.
    EXPECT_EQ(dir.read("confg.ini"), QByteArray("[CONF]\nPROD_QTD=1\n"));
}

TEST_F(IniFileTest, WritesLeaveEveryOtherLineAsItWas) {
    const QByteArray before = "; comentario\r\n"
                              "[conf]\r\n"
                              "prod_qtd = 1\r\n"
                              "linha sem igual\r\n"
                              "\r\n"
                              "[IMPRESSAO]\r\n"
                              "impress_nome001=EPSON \xff\xfe lixo\r\n";
    dir.write("confg.ini", before);
    IniFile ini(path());
    ini.WriteString("conf", "Terminal_Tipo", "VENDA");
    ini.WriteString("nova", "chave", "valor");
    const QByteArray after = dir.read("confg.ini");
    EXPECT_EQ(after, QByteArray("; comentario\r\n"
                                "[conf]\r\n"
                                "prod_qtd = 1\r\n"
                                "linha sem igual\r\n"
                                "Terminal_Tipo=VENDA\r\n"
                                "\r\n"
                                "[IMPRESSAO]\r\n"
                                "impress_nome001=EPSON \xff\xfe lixo\r\n"
                                "\r\n"
                                "[nova]\r\n"
                                "chave=valor\r\n"));
}

TEST_F(IniFileTest, DuplicateSectionsAndKeysReadTheFirst) {
    dir.write("confg.ini", "[conf]\na=1\na=2\n[outra]\nb=3\n[CONF]\na=4\nc=5\n");
    IniFile ini(path());
    EXPECT_EQ(ini.ReadString("conf", "a", ""), "1");
    EXPECT_EQ(ini.ReadString("conf", "c", ""), "5"); // found in the repeated section
    ini.WriteString("conf", "a", "9");
    IniFile again(path());
    EXPECT_EQ(again.ReadString("conf", "a", ""), "9");
    EXPECT_EQ(QString::fromUtf8(dir.read("confg.ini")).count("a=2"), 1);
}

TEST_F(IniFileTest, GarbageAndOddLinesDoNotBreakReading) {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) % 256);
    dir.write("confg.ini",
              garbage + "\n[conf]\n=sem chave\n[sem fim\nx=1\n[conf]\nCasa_Decimal=3\n");
    IniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("conf", "Casa_Decimal", 2), 3);
    EXPECT_EQ(ini.ReadString("sem fim", "x", ""), "1");
    ini.WriteInteger("conf", "Casa_Decimal", 4);
    EXPECT_TRUE(dir.read("confg.ini").startsWith(garbage)); // untouched bytes
    EXPECT_EQ(IniFile(path()).ReadInteger("conf", "Casa_Decimal", 2), 4);
}

TEST_F(IniFileTest, LineBreaksInNamesAndValuesCannotPlantKeys) {
    IniFile ini(path());
    ini.WriteString("a@b.com\n[conf]", "Usuario_Nome", "Ana\r\nprod_qtd=0");
    IniFile again(path());
    EXPECT_TRUE(again.ReadBool("conf", "prod_qtd", true));
    EXPECT_EQ(again.ReadSection("conf"), QStringList());
}

TEST_F(IniFileTest, UnwritableFileRaisesAndKeepsEarlierWrites) {
    IniFile ini(path());
    ini.WriteString("conf", "primeira", "1");
    ReadOnly lock(path());
    if (!lock.ok()) GTEST_SKIP() << "cannot make a file read-only here";
    try {
        ini.WriteString("conf", "segunda", "2");
        FAIL() << "no error";
    } catch (const IniFileError& e) {
        EXPECT_EQ(e.message(), "Unable to write to " + path());
    }
    IniFile again(path());
    EXPECT_EQ(again.ReadString("conf", "primeira", ""), "1");
    EXPECT_FALSE(again.ValueExists("conf", "segunda"));
}

TEST_F(IniFileTest, UnwritableFolderRaises) {
    ReadOnly lock(dir.path());
    if (!lock.ok()) GTEST_SKIP() << "cannot make a folder read-only here";
    IniFile ini(path());
    EXPECT_THROW(ini.WriteString("conf", "x", "1"), IniFileError);
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey) {
    dir.write("confg.ini", "[a]\nx=1\ny=2\n[b]\nz=3\n[A]\nw=4\n");
    IniFile ini(path());
    ini.DeleteKey("a", "x");
    ini.EraseSection("A");
    EXPECT_EQ(dir.read("confg.ini"), QByteArray("[b]\nz=3\n"));
}

} // namespace
