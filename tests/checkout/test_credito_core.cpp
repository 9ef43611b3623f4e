#include "checkout/Credito_Core.h"
#include "foundation/Database.h"
#include "foundation/Schema.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

class CreditoCore : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
        // Stored with digits only, with punctuation, and one without a document.
        cliente(1, "ANA", "12345678909", "Concedido", 500, 100);
        cliente(2, "BRUNO", "987.654.321-00", "Negativado", 1000, 1000);
        cliente(3, "CARLA", "11122233396", "Avaliacao", 10, 0);
        cliente(4, "DIEGO", "22233344405", "Concedido", 100, 100);
        cliente(5, "SEM DOC", "", "Concedido", 1000, 1000);
        cliente(6, "EVA", "33344455501", "concedido", 1000, 1000);
    }

    void cliente(qint32 id, const char* nome, const char* cpf, const char* credito, double limite,
                 double restante) {
        db::Query q(conn);
        q.setSql(QStringLiteral(
            "insert into clientes (id, nome, cpf_cnpj, credito, cred_limite, cred_restante,"
            " endereco, numero, bairro, cidade, estado, cep, fone, nascimento, endereco_obs)"
            " values (:id, :nome, :cpf, :credito, :limite, :restante, 'RUA A', '12', 'CENTRO',"
            " 'CAMPINAS', 'SP', '13010-000', '19999998888', '1990-05-04', 'PORTAO AZUL')"));
        q.bind(":id", id);
        q.bind(":nome", QString::fromUtf8(nome));
        q.bind(":cpf", QString::fromUtf8(cpf));
        q.bind(":credito", QString::fromUtf8(credito));
        q.bind(":limite", limite);
        q.bind(":restante", restante);
        q.exec();
    }

    TestDir dir;
    db::Connection conn;
};

TEST_F(CreditoCore, DecidesOnCreditPlusCheque) {
    struct Case {
        const char* nome;
        const char* cpf;
        double prazo, cheque;
        bool aprovado;
        const char* titulo;
    };
    const Case cases[] = {
        {"no customer", "", 900, 0, true, "Identificação do Cliente"},
        {"cash only, negative customer", "98765432100", 0, 0, true, "Identificação do Cliente"},
        {"within limit and remaining", "12345678909", 100, 0, true, "Identificação do Cliente"},
        {"above remaining", "12345678909", 150, 0, false, "Alerta de Crédito!"},
        {"cheque counts against the limit", "22233344405", 80, 30, false, "Acima do Credito!"},
        {"equal to limit and remaining passes", "22233344405", 70, 30, true,
         "Identificação do Cliente"},
        {"negative status", "98765432100", 10, 0, false, "Cliente Negativado!"},
        {"typed with punctuation, stored as digits", "123.456.789-09", 150, 0, false,
         "Alerta de Crédito!"},
        {"typed as digits, stored with punctuation", "98765432100", 10, 0, false,
         "Cliente Negativado!"},
        {"no digits match nobody, not the customer without a document", "abc", 10, 0, false,
         "Cliente Negativado!"},
        {"under evaluation: any amount", "11122233396", 5000, 0, true, "Identificação do Cliente"},
        {"unknown document", "55566677788", 10, 0, false, "Cliente Negativado!"},
        {"status compared case-sensitively", "33344455501", 10, 0, false, "Cliente Negativado!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        const TCredito_Resultado r =
            Credito_Validar(conn, QString::fromUtf8(c.cpf), c.prazo, c.cheque);
        EXPECT_EQ(r.Aprovado, c.aprovado);
        EXPECT_EQ(r.Titulo, QString::fromUtf8(c.titulo));
    }
}

TEST_F(CreditoCore, AlertsAndCreditBoxes) {
    TCredito_Resultado r = Credito_Validar(conn, "12345678909", 150, 0);
    EXPECT_EQ(r.Alerta, "O cliente não tem credito restante suficiente para esta compra.");
    EXPECT_TRUE(r.Consultado);
    EXPECT_EQ(r.Lab_Cred_Limite, "R$ 500,00");
    EXPECT_EQ(r.Lab_Cred_Restante, "R$ 100,00");
    EXPECT_EQ(r.Lab_Cred_Situacao, "Concedido");

    r = Credito_Validar(conn, "22233344405", 80, 30);
    EXPECT_EQ(r.Alerta, "A compra está acima do limite de crédito deste cliente.");
    r = Credito_Validar(conn, "98765432100", 1, 0);
    EXPECT_EQ(r.Alerta, "O Cliente encontra-se com crédito negativado no sistema.");

    r = Credito_Validar(conn, "11122233396", 5000, 0);
    EXPECT_EQ(r.Lab_Cred_Situacao, "Avaliacao");
    EXPECT_EQ(r.Lab_Cred_Limite, "R$ 10,00");
    EXPECT_EQ(r.Lab_Cred_Restante, "R$ 0,00");

    // Nothing lent: the boxes keep what they showed.
    r = Credito_Validar(conn, "12345678909", 0, 0);
    EXPECT_FALSE(r.Consultado);
    EXPECT_EQ(r.Alerta, "Preencha corretamente os dados de Entrega.");
}

TEST_F(CreditoCore, AbreClienteFillsCardAndSaleFields) {
    for (const char* doc : {"98765432100", "987.654.321-00"}) {
        SCOPED_TRACE(doc);
        const TCliente_Venda r = Abre_Cliente(conn, doc, QDate(2026, 1, 1));
        ASSERT_TRUE(r.Encontrado);
        EXPECT_EQ(r.id, 2);
        EXPECT_EQ(r.CPF, "98765432100");
        EXPECT_EQ(r.CEP, "13010000");
        EXPECT_EQ(r.Referencia, "PORTAO AZUL");
        EXPECT_EQ(r.Nasc, QDate(1990, 5, 4));
        EXPECT_EQ(r.Lab_Client_Nome, "BRUNO");
        EXPECT_EQ(r.Lab_Client_CPF, "CPF: 98765432100");
        EXPECT_EQ(r.Lab_Client_Nasc, "Nasc:04/05/1990");
        EXPECT_EQ(r.Lab_Client_End, "RUA A, N°: 12");
        EXPECT_EQ(r.Lab_Client_Bairro, "CENTRO, CAMPINAS - SP");
        EXPECT_EQ(r.Lab_Client_CEP, "CEP: 13010-000   Fone:19999998888");
    }
}

TEST_F(CreditoCore, AbreClienteUnknownOrEmptyIsNobody) {
    // The empty document must not pick the customer stored without one.
    for (const char* doc : {"", "   ", "55566677788"}) {
        SCOPED_TRACE(doc);
        const TCliente_Venda r = Abre_Cliente(conn, doc, QDate(2026, 3, 2));
        EXPECT_FALSE(r.Encontrado);
        EXPECT_EQ(r.id, 0);
        EXPECT_TRUE(r.CPF.isEmpty());
        EXPECT_EQ(r.Nasc, QDate(2026, 3, 2));
        EXPECT_EQ(r.Lab_Client_Nome, "Cliente não identificado");
        EXPECT_EQ(r.Lab_Client_CPF, "Utilize as tecla [F11] para buscar uma ");
        EXPECT_EQ(r.Lab_Client_Nasc, "");
        EXPECT_EQ(r.Lab_Client_End, "cliente já cadastrado ou clique na ");
        EXPECT_EQ(r.Lab_Client_Bairro, "tecla [Ins] para inserir um novo cliente.");
        EXPECT_EQ(r.Lab_Client_CEP, "");
    }
}

} // namespace
