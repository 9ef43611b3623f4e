#include "checkout/Clientes_Core.h"
#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Schema.h"
#include "foundation/Settings.h"

#include "support/CloudSim.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

class ClientesCore : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
        cfg.Emp_ID = 3;
        cfg.Vendedor_ID = 12;
        cfg.Emp_Cidade = QStringLiteral("CAMPINAS");
        cfg.Emp_UF = QStringLiteral("SP");
    }

    void cliente(qint32 id, const QString& nome, const QString& cpf_cnpj,
                 const QString& apelido = QString(), const QString& rg_ie = QString(),
                 const QString& credito = QStringLiteral("Concedido")) {
        db::Query q(conn);
        q.setSql(QStringLiteral(
            "insert into clientes (id, nome, apelido, cpf_cnpj, rg_ie, cidade, credito)"
            " values (:id, :nome, :apelido, :cpf_cnpj, :rg_ie, 'Campinas', :credito)"));
        q.bind(":id", id);
        q.bind(":nome", nome);
        q.bind(":apelido", apelido);
        q.bind(":cpf_cnpj", cpf_cnpj);
        q.bind(":rg_ie", rg_ie);
        q.bind(":credito", credito);
        q.exec();
    }

    QList<qint32> ids(const QString& texto) {
        QList<qint32> r;
        for (const TCliente_Linha& l : Clientes_Pesquisar(conn, texto))
            r << l.id;
        return r;
    }

    QString coluna(qint32 id, const QString& nome) {
        db::Query q(conn);
        q.setSql("select " + nome + " from clientes where id=:id");
        q.bind(":id", id);
        q.open();
        return q.eof() ? QStringLiteral("<none>") : q.field(0).asString();
    }

    static TCliente_Form formCompleto() {
        TCliente_Form f;
        f.cpf = QStringLiteral("529.982.247-25");
        f.nome = QStringLiteral("MARIA DAS DORES");
        f.cep = QStringLiteral("13015001");
        f.fone = QStringLiteral("19998765432");
        f.endereco = QStringLiteral("RUA DAS FLORES");
        f.numero = QStringLiteral("12");
        f.bairro = QStringLiteral("CENTRO");
        f.estado_digitado = f.estado = QStringLiteral("SP");
        f.cidade_digitada = f.cidade = QStringLiteral("Valinhos");
        return f;
    }

    TestDir dir;
    db::Connection conn;
    TSettings cfg;
};

TEST_F(ClientesCore, SearchByIdDocumentRgAndNamePattern) {
    cliente(7, "Jose da Silva", "52998224725", "Ze", "MG-12.345");
    cliente(12, "Joana Silveira", "11444777000161");
    cliente(30, "Ana O'Hara", "390.533.447-05", "Aninha");
    cliente(52998, "Pedro Souza", "");

    const struct {
        const char* texto;
        QList<qint32> esperado;
    } casos[] = {
        {"7", {7}},               // the id
        {"  52998224725 ", {7}},  // the document, trimmed
        {"MG-12.345", {7}},       // the identity card exactly as stored
        {"390.533.447-05", {30}}, // a punctuated document as stored
        {"39053344705", {}},      // ... is not found by its digits
        {"jo si", {12, 7}},       // the words in order, any case; name order
        {"si jo", {}},            // not in the other order
        {"aninha", {30}},         // the nickname
        {"o'hara", {30}},         // a quote is bound, not pasted
        {"52998", {52998}},       // an id that is a prefix of a document
        {"", {30, 12, 7, 52998}}, // empty: everyone, by name
    };
    for (const auto& c : casos)
        EXPECT_EQ(ids(QString::fromUtf8(c.texto)), c.esperado) << c.texto;
}

TEST_F(ClientesCore, SearchStopsAtFiftyInNameOrder) {
    db::Transaction t(conn);
    for (int i = 1; i <= 60; ++i)
        cliente(i, QStringLiteral("Cliente %1").arg(100 - i), QString());
    t.commit();
    const QList<TCliente_Linha> linhas = Clientes_Pesquisar(conn, QString());
    ASSERT_EQ(linhas.size(), 50);
    EXPECT_EQ(linhas.first().nome, "Cliente 40");
    EXPECT_EQ(linhas.last().nome, "Cliente 89");
}

TEST_F(ClientesCore, RowTexts) {
    TCliente_Linha l{42,         "Jose da Silva", "Ze do Bairro Alto da Serra", "52998224725",
                     "Campinas", " concedido "};
    EXPECT_EQ(Clientes_Lista_Linha1(l), "JOSE DA SILVA - [ZE DO BAIRRO AL]");
    EXPECT_EQ(Clientes_Lista_Linha2(l), "0042  |  CPF/CNPJ: 52998224725");
    EXPECT_FALSE(Clientes_Lista_Sem_Credito(l));
    l.apelido = QStringLiteral(" jose da silva ");
    l.credito = QStringLiteral("Avaliacao");
    EXPECT_EQ(Clientes_Lista_Linha1(l), "JOSE DA SILVA");
    EXPECT_TRUE(Clientes_Lista_Sem_Credito(l));
}

TEST_F(ClientesCore, DuplicateDocumentIgnoresTheCustomerItself) {
    cliente(5, "Jose", "52998224725");
    cliente(6, "Sem Documento", "");
    EXPECT_TRUE(Cliente_CPF_Duplicado(conn, "529.982.247-25", 0));
    EXPECT_FALSE(Cliente_CPF_Duplicado(conn, "529.982.247-25", 5));
    EXPECT_FALSE(Cliente_CPF_Duplicado(conn, "111.444.777-35", 0));
    // Letters only must not match the customers stored without a document.
    EXPECT_FALSE(Cliente_CPF_Duplicado(conn, "abc", 0));
}

TEST_F(ClientesCore, DocumentValidity) {
    EXPECT_TRUE(Cliente_Documento_Valido("529.982.247-25"));
    EXPECT_TRUE(Cliente_Documento_Valido("11.444.777/0001-61"));
    EXPECT_FALSE(Cliente_Documento_Valido("529.982.247-26"));
}

TEST_F(ClientesCore, ValidationMessagesInOrder) {
    using C = Campo_Cliente;
    const struct {
        void (*estraga)(TCliente_Form&);
        C campo;
        const char* mensagem;
        bool esvaziar;
    } casos[] = {
        {[](TCliente_Form& f) { f.cpf = "  "; }, C::CPF, "Preencha corretamente o campo CPF!",
         true},
        {[](TCliente_Form& f) { f.nome = " "; }, C::Nome,
         "Preencha corretamente o campo Nome Completo!", true},
        {[](TCliente_Form& f) { f.cep = "1301500"; }, C::CEP,
         "O CEP precisa ter 8 dígitos numéricos", false},
        {[](TCliente_Form& f) { f.cep = "130150012"; }, C::CEP,
         "O CEP precisa ter 8 dígitos numéricos", false},
        {[](TCliente_Form& f) { f.estado_digitado.clear(); }, C::Estado,
         "Preencha corretamente o campo Estado!", true},
        {[](TCliente_Form& f) { f.cidade_digitada = " "; }, C::Cidade,
         "Preencha corretamente o campo Cidade!", true},
        {[](TCliente_Form& f) { f.endereco.clear(); }, C::Endereco,
         "Preencha corretamente o campo Endereço Completo!", true},
        {[](TCliente_Form& f) { f.bairro.clear(); }, C::Bairro,
         "Preencha corretamente o campo Bairro!", true},
        {[](TCliente_Form& f) { f.fone = "(  )    -    "; }, C::Fone,
         "Preencha corretamente o campo Contato!", false},
        // The first failure wins.
        {[](TCliente_Form& f) {
             f.nome.clear();
             f.bairro.clear();
         },
         C::Nome, "Preencha corretamente o campo Nome Completo!", true},
    };
    for (const auto& c : casos) {
        TCliente_Form f = formCompleto();
        c.estraga(f);
        const TCliente_Validacao v = Cliente_Validar(f);
        EXPECT_EQ(v.campo, c.campo) << c.mensagem;
        EXPECT_EQ(v.mensagem, QString::fromUtf8(c.mensagem));
        EXPECT_EQ(v.esvaziar, c.esvaziar) << c.mensagem;
    }
}

TEST_F(ClientesCore, ValidationRewritesTheForm) {
    TCliente_Form f = formCompleto();
    f.numero = QStringLiteral("  ");
    EXPECT_EQ(Cliente_Validar(f).campo, Campo_Cliente::Nenhum);
    EXPECT_EQ(f.numero, "SN");
    EXPECT_EQ(f.cep, "13.015-001");
    EXPECT_EQ(f.fone, "+1(99)9876-5432");
}

TEST_F(ClientesCore, LastGuardBeforeInsert) {
    TCliente_Form f = formCompleto();
    EXPECT_EQ(Cliente_Salva_Conferir(f).campo, Campo_Cliente::Nenhum);
    f.cpf = QStringLiteral("abc"); // passes the first check, has no digits
    EXPECT_EQ(Cliente_Salva_Conferir(f).mensagem, "Preencha o CPF do cliente");
    f = formCompleto();
    f.fone = QStringLiteral("-");
    EXPECT_EQ(Cliente_Salva_Conferir(f).mensagem, "Preencha o FONE do cliente");
}

TEST_F(ClientesCore, SaveStoresTheTableRules) {
    cliente(41, "Outro", "11144477735");
    TCliente_Form f = formCompleto();
    f.nome = QStringLiteral("MARIA DAS DORES");
    f.endereco = QStringLiteral("RUA SÃO BENTO");
    f.numero = QStringLiteral("SN");
    f.cep = QStringLiteral("13.015-001");
    f.estado = QStringLiteral("sp");
    f.cidade = QStringLiteral("Valinhos");
    const QDateTime agora(QDate(2026, 3, 5), QTime(14, 7, 9));
    const qint32 id = Cliente_Salva(conn, f, cfg, agora);
    EXPECT_EQ(id, 42);

    const struct {
        const char* coluna;
        QString esperado;
    } casos[] = {
        {"nome", "Maria das Dores"},
        {"apelido", "Maria das Dores"},
        {"cpf_cnpj", "52998224725"},
        {"endereco", "Rua Sao Bento"},
        {"endereco_obs", ""},
        {"numero", "SN"},
        {"bairro", "CENTRO"},
        {"cidade", "VALINHOS"},
        {"estado", "SP"},
        {"cep", "13015001"},
        {"fone", "19998765432"},
        {"celular", "19998765432"},
        {"credito", "Avaliacao"},
        {"ativo", "1"},
        {"tipo", "F"},
        {"grupo", ""},
        {"grupo_id", "0"},
        {"dt_cadastro", "2026-03-05"},
        {"cod", MD5("312"
                    "20260305140709"
                    "42"
                    "MARIA DAS DORES")},
        {"typeof(endereco_obs)", "text"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(coluna(id, QString::fromLatin1(c.coluna)), c.esperado) << c.coluna;
}

TEST_F(ClientesCore, SaveCutsLongTextsAndCapitalisesWithoutAccents) {
    TCliente_Form f = formCompleto();
    f.nome = QStringLiteral("joão ") + QString(70, u'x');
    f.bairro = QString(50, u'b');
    f.numero = QStringLiteral("12345678901");
    f.fone = QStringLiteral("+55 (19) 99876-5432 ramal 12");
    const qint32 id = Cliente_Salva(conn, f, cfg);
    EXPECT_EQ(coluna(id, "nome"), "Joao X" + QString(52, u'x'));
    EXPECT_EQ(coluna(id, "bairro"), QString(40, u'b'));
    EXPECT_EQ(coluna(id, "numero"), "1234567890");
    EXPECT_EQ(coluna(id, "fone"), "+55 (19) 99876-543");
}

TEST_F(ClientesCore, CityAndStateNotPickedFallBackToTheCompany) {
    TCliente_Form f = formCompleto();
    f.cidade_digitada = QStringLiteral("Cidade Inventada");
    f.cidade.clear();
    f.estado_digitado = QStringLiteral("XX");
    f.estado.clear();
    const qint32 id = Cliente_Salva(conn, f, cfg);
    EXPECT_EQ(coluna(id, "cidade"), "CAMPINAS");
    EXPECT_EQ(coluna(id, "estado"), "SP");
}

TEST_F(ClientesCore, SameSecondSameSellerDifferentCodes) {
    const QDateTime agora(QDate(2026, 3, 5), QTime(14, 7, 9));
    TCliente_Form f = formCompleto();
    const qint32 a = Cliente_Salva(conn, f, cfg, agora);
    f.cpf = QStringLiteral("111.444.777-35");
    const qint32 b = Cliente_Salva(conn, f, cfg, agora);
    EXPECT_EQ(b, a + 1);
    EXPECT_NE(coluna(a, "cod"), coluna(b, "cod"));
    EXPECT_EQ(coluna(a, "cod").size(), 32);
}

TEST_F(ClientesCore, LoadByDocumentIdOrName) {
    cliente(8, "Jose da Silva", "52998224725");
    cliente(9, "Ana Souza", "390.533.447-05");
    TCliente_Registro r;
    EXPECT_TRUE(Cliente_Carregar(conn, "529.982.247-25", "", r));
    EXPECT_EQ(r.id, 8);
    EXPECT_TRUE(Cliente_Carregar(conn, "390.533.447-05", "", r));
    EXPECT_EQ(r.id, 9);
    EXPECT_EQ(r.cpf_cnpj, "39053344705");
    EXPECT_TRUE(Cliente_Carregar(conn, "8", "", r));
    EXPECT_EQ(r.id, 8);
    EXPECT_TRUE(Cliente_Carregar(conn, "", "  Ana Souza ", r));
    EXPECT_EQ(r.id, 9);
    // With a document typed the name is not looked at.
    EXPECT_FALSE(Cliente_Carregar(conn, "111.444.777-35", "Ana Souza", r));
    // Customers without a document are reached by name only, not by an empty field.
    cliente(2, "Sem Documento", "");
    EXPECT_FALSE(Cliente_Carregar(conn, "", "", r));
    EXPECT_FALSE(Cliente_Carregar(conn, "abc", "", r));
    EXPECT_TRUE(Cliente_Carregar(conn, "", "Ana Souza", r));
    EXPECT_EQ(r.id, 9);
}

class ClientesCEP : public ::testing::Test {
protected:
    void SetUp() override { qputenv("ONDAVIA_CEP_HOST", ("http://" + sim.host()).toUtf8()); }
    void TearDown() override { qunsetenv("ONDAVIA_CEP_HOST"); }
    CloudSim sim;
};

TEST_F(ClientesCEP, KnownUnknownAndBrokenReplies) {
    TCEP r;
    ASSERT_TRUE(CEP_Buscar("13.015-001", r));
    EXPECT_EQ(r.cep, "13015-001");
    EXPECT_EQ(r.logradouro, "Rua Barão de Jaguara");
    EXPECT_EQ(r.bairro, "Centro");
    EXPECT_EQ(r.localidade, "Campinas");
    EXPECT_EQ(r.uf, "SP");
    const QJsonArray pedidos = sim.requests();
    ASSERT_EQ(pedidos.size(), 1);
    EXPECT_EQ(pedidos[0].toObject()["path"].toString(), "/ws/13015001/json");
    EXPECT_EQ(pedidos[0].toObject()["method"].toString(), "GET");

    r = TCEP{};
    EXPECT_FALSE(CEP_Buscar("99999999", r)); // {"erro": true}
    EXPECT_FALSE(CEP_Buscar("1301500", r));  // never sent
    EXPECT_EQ(sim.requests().size(), 2);
    EXPECT_TRUE(r.cep.isEmpty());

    for (const QByteArray& corpo : {QByteArray("<html>oops</html>"), QByteArray("{\"cep\": \"1")}) {
        sim.responder("cep", corpo);
        EXPECT_FALSE(CEP_Buscar("13015001", r)) << corpo.constData();
    }
    sim.responder("cep", "{}", 500);
    EXPECT_FALSE(CEP_Buscar("13015001", r));
}

TEST(ClientesCEPSemServidor, NoConnectionIsAFailure) {
    qputenv("ONDAVIA_CEP_HOST", "http://127.0.0.1:9");
    TCEP r;
    EXPECT_FALSE(CEP_Buscar("13015001", r));
    qunsetenv("ONDAVIA_CEP_HOST");
}

} // namespace

namespace {

TEST_F(ClientesCore, UpdateKeepsIdCodeAndCredit) {
    const QDateTime agora(QDate(2026, 3, 5), QTime(14, 7, 9));
    const qint32 id = Cliente_Salva(conn, formCompleto(), cfg, agora);
    const QString cod = coluna(id, "cod");
    TCliente_Form f = formCompleto();
    f.nome = QStringLiteral("MARIA DAS DORES SOUZA");
    f.numero = QStringLiteral("99");
    Cliente_Atualiza(conn, id, f, cfg);
    EXPECT_EQ(coluna(id, "nome"), "Maria das Dores Souza");
    EXPECT_EQ(coluna(id, "numero"), "99");
    EXPECT_EQ(coluna(id, "cod"), cod);
    EXPECT_EQ(coluna(id, "credito"), "Avaliacao");
    EXPECT_EQ(coluna(id, "dt_cadastro"), "2026-03-05");
    db::Query q(conn);
    q.setSql(QStringLiteral("select count(*) from clientes"));
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 1);
    EXPECT_THROW(Cliente_Atualiza(conn, id + 1, f, cfg), DbError);
}

} // namespace
