#include "foundation/IniFile.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Settings.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { Set_Mask_Decimal(QStringLiteral("0.00,")); }
    void TearDown() override { Set_Mask_Decimal(QStringLiteral("0.00,")); }

    TestDir dir;
    SettingsFile file{dir.path()};

    TSettings signedIn() const {
        TSettings s;
        s.Usuario_Email = QStringLiteral("ana@loja.com.br");
        s.Usuario_Nome = QStringLiteral("Ana Souza");
        s.Usuario_Password = QStringLiteral("segredo");
        s.Usuario_ID = 12;
        s.Vendedor_Nome = QStringLiteral("Ana");
        s.Vendedor_ID = 3;
        s.Vendedor_Nome_Old = QStringLiteral("Bruno");
        s.Emp_Nome = QString::fromUtf8("Mercadinho São José");
        s.Emp_ID = 7;
        s.Emp_Numero = QStringLiteral("120");
        s.Emp_CNPJ = QStringLiteral("11.222.333/0001-81");
        s.Emp_Instagram = QStringLiteral("@mercadinho");
        return s;
    }
};

TEST_F(SettingsTest, FirstStartGivesTheDefaults) {
    TSettings s;
    s.conf_prod_qtd = false; // whatever the fields held, the file decides
    s.conf_Casa_Decimal = 4;
    file.IniFile_Read(s, QString());
    EXPECT_TRUE(s.conf_prod_qtd);
    EXPECT_TRUE(s.conf_prod_valor);
    EXPECT_EQ(s.conf_altvalor, 1);
    EXPECT_FALSE(s.conf_prod_img);
    EXPECT_TRUE(s.conf_Buscar_Enter);
    EXPECT_EQ(s.conf_Buscar_OrderBy, "estoque desc, produto");
    EXPECT_EQ(s.conf_Casa_Decimal, 2);
    EXPECT_EQ(s.conf_Mask_Decimal, "0.00,");
    EXPECT_EQ(s.conf_balanca_qtdcod, 7);
    EXPECT_EQ(s.conf_balanca_qtdval, 4);
    EXPECT_EQ(s.conf_balanca_tipo, "valor");
    EXPECT_EQ(s.conf_Terminal_Tipo, "Caixa");
    EXPECT_EQ(s.conf_terminal_file, "C:\\Tarvel\\Arquivo.txt");
    EXPECT_FALSE(s.conf_Cert_SSL2);
    EXPECT_TRUE(s.conf_Cert_TLS13);
    EXPECT_EQ(s.conf_ProtHTTP, "http");
    EXPECT_EQ(s.conf_MetdHTTP, "POST");
    EXPECT_EQ(s.Dt_Sinc_Update, QDateTime(QDate(2022, 1, 1), QTime(0, 0)));
    EXPECT_TRUE(s.Usuario_Email.isEmpty());
}

TEST_F(SettingsTest, SaveThenReadRoundTrips) {
    TSettings s = signedIn();
    s.conf_prod_qtd = false;
    s.conf_altvalor = 0;
    s.conf_Buscar_OrderBy = QStringLiteral("grupo");
    s.conf_DescOpcional = 2.5;
    s.conf_Desc_Limit = 10.75;
    s.conf_Casa_Decimal = 3;
    s.conf_balanca_tipo = QStringLiteral("PESO");
    s.conf_Terminal_Num = 4;
    s.conf_FormaPG_Che = false;
    s.conf_Cert_SSL2 = true;
    s.conf_ProtHTTP = QStringLiteral("https");
    s.conf_MetdHTTP = QStringLiteral("PUT");
    file.IniFile_Salva(s, s.Usuario_Email);

    TSettings r;
    file.IniFile_Read(r, s.Usuario_Email);
    EXPECT_EQ(r.Usuario_Email, s.Usuario_Email);
    EXPECT_FALSE(r.conf_prod_qtd);
    EXPECT_EQ(r.conf_altvalor, 0);
    EXPECT_EQ(r.conf_Buscar_OrderBy, "grupo");
    EXPECT_DOUBLE_EQ(r.conf_DescOpcional, 2.5);
    EXPECT_DOUBLE_EQ(r.conf_Desc_Limit, 10.75);
    EXPECT_EQ(r.conf_Casa_Decimal, 3);
    EXPECT_EQ(r.conf_Mask_Decimal, "0.000,");
    EXPECT_EQ(Mask_Decimal(), "0.000,"); // the process-wide mask follows
    EXPECT_EQ(r.conf_balanca_tipo, "PESO");
    EXPECT_EQ(r.conf_Terminal_Num, 4);
    EXPECT_FALSE(r.conf_FormaPG_Che);
    EXPECT_TRUE(r.conf_Cert_SSL2);
    EXPECT_EQ(r.conf_ProtHTTP, "https");
    EXPECT_EQ(r.conf_MetdHTTP, "PUT");
    EXPECT_EQ(r.Vendedor_Nome_Old, "Bruno");

    // The password itself is never stored, only the digest of password and e-mail.
    const QByteArray text = dir.read("confg.ini");
    EXPECT_FALSE(text.contains("segredo"));
    EXPECT_TRUE(text.contains("Usuario_Password=" + MD5("segredoana@loja.com.br").toUtf8()));
    EXPECT_TRUE(text.contains("Emp_cnpj=11.222.333/0001-81"));
}

TEST_F(SettingsTest, MaskFollowsCasaDecimal) {
    const struct {
        const char* casas;
        const char* mask;
    } rows[] = {{"2", "0.00,"},  {"3", "0.000,"}, {"4", "0.0000,"},
                {"5", "0.000,"}, {"0", "0.000,"}, {"x", "0.00,"}};
    // Each read starts from a mask of three decimals: values other than 2, 3 and 4
    // leave it, and a value that does not convert reads as the default 2.
    for (const auto& row : rows) {
        dir.write("confg.ini", QByteArray("[conf]\nCasa_Decimal=") + row.casas + "\n");
        TSettings s;
        s.conf_Mask_Decimal = QStringLiteral("0.000,");
        file.IniFile_Read(s, QString());
        EXPECT_EQ(s.conf_Mask_Decimal, row.mask) << row.casas;
    }
    // A fresh start with 5 keeps the initial mask.
    dir.write("confg.ini", "[conf]\nCasa_Decimal=5\n");
    TSettings fresh;
    file.IniFile_Read(fresh, QString());
    EXPECT_EQ(fresh.conf_Mask_Decimal, "0.00,");
}

TEST_F(SettingsTest, SectionsAreNamedByTheLoginBoxAndLastSyncByTheUser) {
    TSettings s = signedIn();
    // The login box holds another e-mail than the signed-in one.
    file.IniFile_Salva(s, QStringLiteral("outra@loja.com.br"));
    IniFile ini(file.fileName());
    EXPECT_EQ(ini.ReadString("Usuario", "Email", ""), "ana@loja.com.br");
    EXPECT_EQ(ini.ReadString("outra@loja.com.br", "Usuario_Nome", ""), "Ana Souza");
    EXPECT_FALSE(ini.SectionExists("ana@loja.com.br"));

    file.Gravar_Dt_Sinc_Update("ANA@loja.com.br", QDateTime(QDate(2025, 5, 6), QTime(7, 8, 9)));
    ini.WriteString("outra@loja.com.br", "Vendedor_Nome_Old", "Carla");
    TSettings r;
    r.Vendedor_Nome_Old = QStringLiteral("antes");
    file.IniFile_Read(r, QStringLiteral("OUTRA@loja.com.br"));
    EXPECT_EQ(r.Dt_Sinc_Update, QDateTime(QDate(2025, 5, 6), QTime(7, 8, 9)));
    EXPECT_EQ(r.Vendedor_Nome_Old, "Carla");

    // With no section for the login box, the seller chosen last stays as it was.
    TSettings k;
    k.Vendedor_Nome_Old = QStringLiteral("antes");
    file.IniFile_Read(k, QStringLiteral("ninguem@loja.com.br"));
    EXPECT_EQ(k.Vendedor_Nome_Old, "antes");
}

TEST_F(SettingsTest, OfflineCheck) {
    const TSettings saved = signedIn();
    file.IniFile_Salva(saved, saved.Usuario_Email);

    const struct {
        const char* email;
        const char* password;
        bool ok;
    } rows[] = {
        {"ana@loja.com.br", "segredo", true},      {"ana@loja.com.br", "errada", false},
        {"ANA@loja.com.br", "segredo", false}, // the e-mail must match exactly
        {"ninguem@loja.com.br", "segredo", false}, {"", "", false},
    };
    for (const auto& row : rows) {
        TSettings s;
        s.Emp_Site = QStringLiteral("mantido");
        file.Open_User_OLD(s, row.email, row.password);
        SCOPED_TRACE(row.email);
        EXPECT_EQ(!s.Emp_Nome.isEmpty(), row.ok);
        if (row.ok) {
            EXPECT_EQ(s.Usuario_Nome, "Ana Souza");
            EXPECT_EQ(s.Usuario_ID, 12);
            EXPECT_EQ(s.Emp_CNPJ, "11.222.333/0001-81");
            EXPECT_EQ(s.Emp_Instagram, "@mercadinho");
            EXPECT_EQ(s.Usuario_Password, "segredo");
        } else {
            EXPECT_TRUE(s.Usuario_Nome.isEmpty());
        }
    }

    // Keys missing from the section take their defaults.
    IniFile ini(file.fileName());
    ini.DeleteKey(saved.Usuario_Email, "Emp_Numero");
    ini.DeleteKey(saved.Usuario_Email, "Emp_Site");
    TSettings s;
    s.Emp_Site = QStringLiteral("mantido");
    file.Open_User_OLD(s, saved.Usuario_Email, saved.Usuario_Password);
    EXPECT_EQ(s.Emp_Numero, " S/N");
    EXPECT_EQ(s.Emp_Site, "mantido");
}

TEST_F(SettingsTest, UnwritableFileStopsTheSaveWithItsMessage) {
    dir.write("confg.ini", "[Usuario]\nEmail=velho@loja.com.br\n");
    ReadOnly lock(file.fileName());
    if (!lock.ok()) GTEST_SKIP() << "cannot make a file read-only here";
    try {
        file.IniFile_Salva(signedIn(), QStringLiteral("ana@loja.com.br"));
        FAIL() << "no error";
    } catch (const IniFileError& e) {
        EXPECT_EQ(e.message(), "Unable to write to " + file.fileName());
    }
    EXPECT_EQ(dir.read("confg.ini"), QByteArray("[Usuario]\nEmail=velho@loja.com.br\n"));
}

TEST_F(SettingsTest, RememberedEmails) {
    QStringList list = file.List_Usuario_Email_Read({"antes"});
    EXPECT_EQ(list, QStringList{"antes"}); // no file: the list stays

    list = file.List_Usuario_Email_Add({}, "ana@loja.com.br");
    list = file.List_Usuario_Email_Add(list, "bruno@loja.com.br");
    list = file.List_Usuario_Email_Add(list, "ANA@LOJA.COM.BR");
    EXPECT_EQ(list, (QStringList{"ana@loja.com.br", "bruno@loja.com.br"}));
    EXPECT_EQ(file.List_Usuario_Email_Read({}), list);

    // A failure to save the list is ignored.
    ReadOnly lock(file.emailListFileName());
    if (!lock.ok()) GTEST_SKIP() << "cannot make a file read-only here";
    EXPECT_NO_THROW(file.List_Usuario_Email_Add(list, "carla@loja.com.br"));
    EXPECT_EQ(file.List_Usuario_Email_Read({}), list);
}

TEST_F(SettingsTest, ReadCreatesAMissingProgramFolder) {
    SettingsFile nested(dir.path() + "sub/pasta/");
    TSettings s;
    nested.IniFile_Read(s, QString());
    EXPECT_TRUE(dir.exists("sub/pasta"));
}

} // namespace
