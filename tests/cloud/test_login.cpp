#include "cloud/Login_Core.h"
#include "cloud/WebAPI.h"
#include "foundation/Settings.h"

#include "support/CloudSim.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

class Login : public ::testing::Test {
protected:
    void SetUp() override { sim.usar(); }
    QString base() const { return WebAPI_Base("http"); }

    // A reply of one user and the given companies.
    static QByteArray resposta(const QByteArray& usuario, const QByteArray& empresas) {
        return "{\"empresas_user\": [" + usuario + "], \"empresas\": [" + empresas + "]}";
    }
    static QByteArray empresa(const char* nome, const char* extra = ", \"venda_altvalor\": 1") {
        return QByteArray("{\"id\": \"7\", \"fantasia\": \"") + nome +
               "\", \"uf\": \"SP\", \"cidade\": \"Campinas\", \"endereco\": \"Rua A\","
               " \"numero\": \"1\", \"bairro\": \"Centro\", \"fone1\": \"(19)3333-4444\","
               " \"cnpj\": \"11.222.333/0001-81\", \"site\": \"\", \"email\": \"\","
               " \"instagram\": \"@loja\", \"facebook\": null, \"tiktok\": \"\","
               " \"twitter\": \"\", \"youtube\": \"\", \"conf_desc_limit\": \"7.5\"" +
               extra + "}";
    }

    CloudSim sim;
};

TEST_F(Login, FieldsInOrderAndTheHour) {
    TSettings s;
    Login_webAPI(s, base(), QStringLiteral("demo@balcona.com.br "), QStringLiteral("demo 1&2"),
                 QDateTime(QDate(2025, 12, 9), QTime(14, 30, 5)));
    const QJsonArray campos = sim.requests("login")[0].toObject()["fields"].toArray();
    ASSERT_EQ(campos.size(), 4);
    EXPECT_EQ(campos[0].toArray()[1].toString(), "demo@balcona.com.br "); // sent as typed
    EXPECT_EQ(campos[1].toArray()[1].toString(), "demo 1&2");
    EXPECT_EQ(campos[2].toArray()[1].toString(), "login");
    EXPECT_EQ(campos[3].toArray()[1].toString(), "09122025143005");
}

TEST_F(Login, TheReplyFillsTheMembers) {
    TSettings s;
    Login_webAPI(s, base(), QStringLiteral("DEMO@balcona.com.br"), QStringLiteral("demo123"));
    // The e-mail as the account returns it replaces the typed one.
    EXPECT_EQ(s.Usuario_Email, "demo@balcona.com.br");
    EXPECT_EQ(s.Usuario_Password, "demo123");
    EXPECT_EQ(s.Emp_Nome, QString::fromUtf8("Mercadinho São José"));
    EXPECT_EQ(s.Emp_CNPJ, "11.222.333/0001-81");
    EXPECT_EQ(s.Vendedor_ID, 1);
    EXPECT_EQ(s.Funcionario_ID, 1);
    EXPECT_DOUBLE_EQ(s.conf_Desc_Limit, 10);
    EXPECT_EQ(s.conf_venda_altvalor, 1);
}

TEST_F(Login, RepliesOfOddShape) {
    const QByteArray usuario =
        "{\"email\": \"ana@loja.com.br\", \"usuario\": \"Ana\", \"funcionario_id\": \"4\"}";
    const QByteArray semFuncionario = "{\"email\": \"ana@loja.com.br\", \"usuario\": \"Ana\"}";
    struct Caso {
        const char* nome;
        QByteArray corpo;
        bool falha;
        const char* empresa;
        int vendedor;
    };
    const Caso casos[] = {
        {"two companies: the second stands", resposta(usuario, empresa("A") + "," + empresa("B")),
         false, "B", 4},
        {"no seller id: 0", resposta(semFuncionario, empresa("A")), false, "A", 0},
        {"no company: nothing changes there", resposta(usuario, ""), false, "", 4},
        // The user members are set before the company fails.
        {"no venda_altvalor fails the call", resposta(usuario, empresa("A", "")), true, "A", 4},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        sim.reset();
        sim.responder("login", c.corpo);
        TSettings s;
        if (c.falha)
            EXPECT_THROW(Login_webAPI(s, base(), "ana@loja.com.br", "x"), WebAPIError);
        else
            EXPECT_NO_THROW(Login_webAPI(s, base(), "ana@loja.com.br", "x"));
        EXPECT_EQ(s.Usuario_Nome, "Ana");
        EXPECT_EQ(s.Emp_Nome, c.empresa);
        EXPECT_EQ(s.Vendedor_ID, c.vendedor);
    }
}

TEST_F(Login, FailuresReachTheCaller) {
    for (const char* modo : {"500", "json", "recusar"}) {
        SCOPED_TRACE(modo);
        sim.reset();
        sim.falhar("login", modo);
        TSettings s;
        EXPECT_THROW(Login_webAPI(s, base(), CloudSim::EMAIL, CloudSim::SENHA), WebAPIError);
    }
}

} // namespace
