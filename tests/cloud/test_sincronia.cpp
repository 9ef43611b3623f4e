// The catalogue synchronisation: the reply written into the company database, the screen
// steps, the dump, the failures, and the worker thread.

#include "cloud/JsonLeitor.h"
#include "cloud/Sincronia_Resposta.h"
#include "cloud/Sincronia_Secoes.h"
#include "cloud/Tarvel_Sincronia_Donwload_Unit.h"
#include "cloud/WebAPI.h"
#include "foundation/Database.h"
#include "platform/Platform.h"

#include "support/CloudSim.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QPointer>
#include <QThread>

#include <functional>

namespace {

// The screen steps as they came, one text each, and the threads they came on.
class Tela_Gravada : public ISincronia_Tela {
public:
    void Iniciar_Sincronia() override { anotar(QStringLiteral("iniciar")); }
    void Update_Title(const QString& titulo, const QString& mensagem) override {
        anotar(QStringLiteral("titulo|") + titulo + u'|' + mensagem);
    }
    void Update_Progress(const QString& titulo) override {
        anotar(QStringLiteral("progresso|") + titulo);
    }
    void FinalizaSincronia(bool Ok, const QDateTime& Exe_Update) override {
        anotar(QStringLiteral("finaliza|%1|%2")
                   .arg(Ok ? "ok" : "falha", Exe_Update.toString("yyyy-MM-dd HH:mm:ss")));
        if (aoFinalizar) aoFinalizar();
    }
    void Diagnostico(const QString& texto) override {
        diagnostico = texto;
        anotar(QStringLiteral("diagnostico"));
    }

    QStringList passos(const QString& tipo) const {
        QStringList r;
        for (const QString& p : passosTodos)
            if (p.startsWith(tipo + u'|') || p == tipo) r << p.mid(tipo.size() + 1);
        return r;
    }

    QStringList passosTodos;
    QList<QThread*> threads;
    QString diagnostico;
    std::function<void()> aoIniciar;
    std::function<void()> aoFinalizar;

private:
    void anotar(const QString& passo) {
        passosTodos << passo;
        threads << QThread::currentThread();
        if (passo == u"iniciar" && aoIniciar) aoIniciar();
    }
};

QJsonObject produto(int id) {
    return {{"id", QString::number(id)},
            {"ativo", "1"},
            {"dt_cadastro", "2024-01-02 03:04:05"},
            {"grupo_id", "2"},
            {"grupo", "BEBIDAS"},
            {"produto", QStringLiteral("Produto %1").arg(id)},
            {"tamanho", "2L"},
            {"marca", "Cola"},
            {"cbarra", QStringLiteral("789%1").arg(id, 10, 10, QLatin1Char('0'))},
            {"custo", "1.5"},
            {"lucro", "30"},
            {"venda", "2.5"},
            {"desconto", "0"},
            {"promocao", "0"},
            {"promocao_min", "0"},
            {"dt_promocao", QJsonValue::Null},
            {"medida", "UN"},
            {"estoque", "10"}};
}

QJsonObject cliente(int id) {
    return {{"id", QString::number(id)},
            {"ativo", "1"},
            {"cod", QStringLiteral("C%1").arg(id)},
            {"tipo", "F"},
            {"nome", QStringLiteral("Cliente %1").arg(id)},
            {"apelido", ""},
            {"cpf_cnpj", QStringLiteral("100.000.%1-00").arg(id, 3, 10, QLatin1Char('0'))},
            {"endereco", "Rua A"},
            {"endereco_obs", ""},
            {"numero", "10"},
            {"bairro", "Centro"},
            {"cidade", "Campinas"},
            {"estado", "SP"},
            {"fone", "(19) 3333-4444"},
            {"grupo", "Rota 1"},
            {"grupo_id", "1"},
            {"cep", "13000-000"},
            {"dt_ultatend", "2024-05-06 07:08:09"},
            {"credito", "Concedido"}};
}

QJsonObject plano(int id, const QString& periodicidade = "mensal",
                  const QJsonValue& acrecimo = "0") {
    return {{"id", QString::number(id)}, {"plano", QStringLiteral(" Plano %1 ").arg(id)},
            {"tipo", "PRAZO"},           {"carencia", "30"},
            {"parcelas", "3"},           {"periodicidade", periodicidade},
            {"acrecimo", acrecimo}};
}

// A reply of every section, one or two rows each; the tests change what they look at.
struct Resposta {
    QString datahora = "2025-06-10 11:12:13";
    QString instalador = "";
    QJsonArray produtos{produto(1), produto(2)};
    QJsonArray clientes{cliente(1), cliente(2)};
    QJsonArray funcionarios{QJsonObject{{"id", "1"}, {"nome", "ana"}},
                            QJsonObject{{"id", "2"}, {"nome", "Beto"}, {"ativo", "0"}}};
    QJsonArray cidades{QJsonObject{{"id", "1"}, {"uf", " SP "}, {"cidade", "Campinas"}}};
    QJsonArray rotas{QJsonObject{{"id", "1"}, {"rota", " Centro "}}};
    QJsonArray pagamentos{plano(1)};
    QJsonArray cartoes{QJsonObject{{"id", "1"}, {"operadora", " Visa "}, {"gredito", "1"}}};
    QJsonArray mensagens{QJsonObject{{"id", "1"},
                                     {"tipo", "AVISO"},
                                     {"dt_update", "2025-06-01 10:00:00"},
                                     {"msg", "Bom dia"},
                                     {"user_id", "3"},
                                     {"user_name", "Marina"},
                                     {"detinatario_id", "4"}}};
    QStringList sem; // root keys left out

    QString texto() const {
        QJsonObject r{
            {"datahora", datahora},  {"instalador", instalador},     {"produtos", produtos},
            {"clientes", clientes},  {"funcionarios", funcionarios}, {"cidades", cidades},
            {"rotas", rotas},        {"pagamentos", pagamentos},     {"cartoes", cartoes},
            {"mensagens", mensagens}};
        for (const QString& k : sem)
            r.remove(k);
        return QString::fromUtf8(QJsonDocument(r).toJson(QJsonDocument::Compact));
    }
};

QJsonArray com(QJsonArray a, int i, const QString& chave, const QJsonValue& valor) {
    QJsonObject o = a[i].toObject();
    if (valor.isUndefined())
        o.remove(chave);
    else
        o[chave] = valor;
    a[i] = o;
    return a;
}

bool esperar(const std::function<bool()>& pronto, int ms = 30000) {
    QDeadlineTimer prazo(ms);
    while (!pronto()) {
        if (prazo.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

class Sincronia : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::copy(QStringLiteral(ONDAVIA_PROGRAM_DIR "/dbase.s3db"), dir.file("dbase.s3db"));
        QFile::setPermissions(dir.file("dbase.s3db"), QFile::ReadOwner | QFile::WriteOwner);
        QDir().mkpath(dir.file("Tarvel"));
        p.Banco = dir.file("dbase.s3db");
        p.ArquivoJSON = dir.file("Tarvel/JSONText.txt");
        p.ArquivoLog = dir.file("dados/LogError.txt");
        p.Config.Dt_Sinc_Update = QDateTime(QDate(1982, 3, 15), QTime(0, 0));
        p.Config.Dt_Exe_Update = QDateTime(QDate(2025, 1, 1), QTime(0, 0));
        c.open(p.Banco, db::Journal::Wal, db::Sync::Normal);
    }

    TSincronia_Resultado executar(const QString& resposta) {
        return Sincronia_Executar(p, c, tela, &resposta);
    }

    // The rows of a query, columns joined by "|".
    QStringList linhas(const QString& consulta) {
        db::Query q(c);
        q.setSql(consulta);
        q.open();
        QStringList r;
        for (; !q.eof(); q.next()) {
            QStringList colunas;
            for (int i = 0; i < q.fieldCount(); ++i)
                colunas << (q.field(i).isNull() ? QStringLiteral("NULL") : q.field(i).asString());
            r << colunas.join(u'|');
        }
        return r;
    }
    QString valor(const QString& consulta) {
        const QStringList r = linhas(consulta);
        return r.isEmpty() ? QStringLiteral("<none>") : r.first();
    }

    TestDir dir;
    TSincronia_Parametros p;
    db::Connection c;
    Tela_Gravada tela;
};

TEST_F(Sincronia, ProductsByTheirRules) {
    Resposta r;
    QJsonArray a;
    for (int i = 1; i <= 9; ++i)
        a << produto(i);
    a = com(a, 0, "medida", "UNIDADE");
    a = com(a, 1, "medida", QJsonValue::Undefined);
    a = com(a, 2, "ativo", QJsonValue::Undefined);
    a = com(a, 3, "ativo", "0");
    a = com(a, 4, "dt_promocao", "");
    a = com(a, 5, "dt_promocao", "2025-02-03 04:05:06");
    a = com(a, 6, "tamanho", QJsonValue::Undefined);
    a = com(a, 6, "marca", QJsonValue::Null);
    a = com(a, 6, "cbarra", QJsonValue::Undefined);
    a = com(a, 7, "venda", 12.75);
    a = com(a, 7, "grupo", QString(120, u'G'));
    a = com(a, 8, "id", 9);
    r.produtos = a;
    ASSERT_TRUE(executar(r.texto()).Ok) << tela.diagnostico.toStdString();

    const QString dados = "select medida, ativo, dt_promocao, tamanho, marca, cbarra, venda, "
                          "length(grupo), dt_cadastro from produtos where id=%1";
    const struct {
        int id;
        const char* linha;
    } casos[] = {
        {1, "UNIDA|1|1982-03-15 00:00:00|2L|Cola|7890000000001|2.5|7|2024-01-02 03:04:05"},
        // Without a unit the default stands whole, not cut to "Padra".
        {2, "Padrao|1|1982-03-15 00:00:00|2L|Cola|7890000000002|2.5|7|2024-01-02 03:04:05"},
        {3, "UN|1|1982-03-15 00:00:00|2L|Cola|7890000000003|2.5|7|2024-01-02 03:04:05"},
        {4, "<none>"},
        {5, "UN|1|1982-03-15 00:00:00|2L|Cola|7890000000005|2.5|7|2024-01-02 03:04:05"},
        {6, "UN|1|2025-02-03 04:05:06|2L|Cola|7890000000006|2.5|7|2024-01-02 03:04:05"},
        {7, "UN|1|1982-03-15 00:00:00|Padrao|Nenhuma||2.5|7|2024-01-02 03:04:05"},
        {8, "UN|1|1982-03-15 00:00:00|2L|Cola|7890000000008|12.75|100|2024-01-02 03:04:05"},
        {9, "UN|1|1982-03-15 00:00:00|2L|Cola|7890000000009|2.5|7|2024-01-02 03:04:05"},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(valor(dados.arg(caso.id)), caso.linha) << "product " << caso.id;
}

TEST_F(Sincronia, CustomersByTheirRules) {
    // Registered on this terminal: the same document as customer 1 under another id, and
    // one without a document.
    c.exec("insert into clientes (id, nome, cpf_cnpj, ativo) values (500, 'Local', "
           "'10000000100', 1), (501, 'Sem documento', '', 1)");
    Resposta r;
    QJsonArray a{cliente(1), cliente(2), cliente(3), cliente(4)};
    a = com(a, 0, "tipo", " j ");
    a = com(a, 0, "estado", "sp");
    a = com(a, 0, "cidade", QStringLiteral(" Campinas%1 ").arg(QString(50, u'x')));
    a = com(a, 0, "fone", "(19) 99999-8888 ramal 12");
    a = com(a, 0, "grupo_id", 12);
    a = com(a, 0, "cod", " C1 ");
    a = com(a, 1, "ativo", QJsonValue::Undefined);
    a = com(a, 2, "cpf_cnpj", "isento");
    a = com(a, 3, "ativo", "0");
    r.clientes = a;
    ASSERT_TRUE(executar(r.texto()).Ok) << tela.diagnostico.toStdString();

    EXPECT_EQ(valor("select tipo, estado, length(cidade), fone, celular, grupo_id, cod, "
                    "cpf_cnpj, atend_tipo, dt_ultatend from clientes where id=1"),
              "J|SP|44|(19) 99999-8888 ra|(19) 99999-8888 ra|12|C1|10000000100|7|"
              "2024-05-06 07:08:09");
    EXPECT_EQ(valor("select count(*) from clientes where id in (2, 4)"), "0"); // not active
    EXPECT_EQ(valor("select cpf_cnpj from clientes where id=3"), "");
    // The document's other holder went; the customer without a document stayed.
    EXPECT_EQ(linhas("select id from clientes order by id"), QStringList({"1", "3", "501"}));
}

TEST_F(Sincronia, PlansCardsMessagesAndSellers) {
    Resposta r;
    const struct {
        const char* periodicidade;
        QJsonValue acrecimo;
        const char* linha;
    } planos[] = {
        {"Quinzenal", "2.5", "15|2.5"},  {"QUINZENAL", "3", "15|3.0"}, {"MENSAL", 3, "30|3.0"},
        {"semanal", "1.234,5", "7|0.0"}, {"anual", 2.25, "30|2.25"},
    };
    r.pagamentos = {};
    for (int i = 0; i < 5; ++i)
        r.pagamentos << plano(i + 1, planos[i].periodicidade, planos[i].acrecimo);
    r.cartoes = {QJsonObject{{"id", "1"}, {"operadora", " Visa "}, {"gredito", "1"}, {"debito", 1}},
                 QJsonObject{{"id", "2"}, {"operadora", "Elo"}, {"credito", "1"}}};
    ASSERT_TRUE(executar(r.texto()).Ok) << tela.diagnostico.toStdString();

    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(valor(QStringLiteral("select periodicidade, acrecimo from pagamentos where id=%1")
                            .arg(i + 1)),
                  planos[i].linha)
            << planos[i].periodicidade;
    EXPECT_EQ(valor("select ativo, plano, entrada, carencia, alt_carencia, parcelas "
                    "from pagamentos where id=1"),
              "1|Plano 1|0.0|30|0|3");
    EXPECT_EQ(linhas("select id, ativo, operadora, credito, debito from cartoes order by id"),
              QStringList({"1|1|Visa|1|1", "2|1|Elo|0|0"}));
    EXPECT_EQ(linhas("select * from mensagens"),
              QStringList({"1|AVISO|2025-06-01 10:00:00|NULL|Bom dia|3|Marina|TODOS|4"}));
    EXPECT_EQ(linhas("select * from funcionarios order by id"),
              QStringList({"1|ANA|1", "2|BETO|1"}));
    EXPECT_EQ(linhas("select * from cidades"), QStringList({"1|SP|CAMPINAS"}));
    EXPECT_EQ(linhas("select * from rotas"), QStringList({"1|Centro"}));
}

TEST_F(Sincronia, TablesEmptiedFirstHoldJustTheReply) {
    c.exec("insert into funcionarios (id, nome) values (7, 'VELHO');"
           "insert into rotas (id, rota) values (7, 'Velha');"
           "insert into pagamentos (id, plano) values (7, 'Velho');"
           "insert into cartoes (id, operadora) values (7, 'Velha');"
           "insert into mensagens (id, msg) values (7, 'Velha');"
           "insert into cidades (id, cidade) values (7, 'VELHA');"
           "insert into produtos (id, produto, ativo) values (7, 'Velho', 1);"
           "insert into clientes (id, nome, cpf_cnpj, ativo) values (7, 'Velho', '1', 1)");
    ASSERT_TRUE(executar(Resposta().texto()).Ok) << tela.diagnostico.toStdString();
    const struct {
        const char* tabela;
        QStringList ids;
    } esvaziadas[] = {{"funcionarios", {"1", "2"}},
                      {"rotas", {"1"}},
                      {"pagamentos", {"1"}},
                      {"cartoes", {"1"}},
                      {"mensagens", {"1"}}};
    for (const auto& t : esvaziadas)
        EXPECT_EQ(linhas(QStringLiteral("select id from %1 order by id").arg(t.tabela)), t.ids)
            << t.tabela;
    EXPECT_EQ(linhas("select id from cidades order by id"), QStringList({"1", "7"}));
    EXPECT_EQ(linhas("select id from produtos order by id"), QStringList({"1", "2", "7"}));
    EXPECT_EQ(linhas("select id from clientes order by id"), QStringList({"1", "2", "7"}));
}

TEST_F(Sincronia, ScreenStepsInOrder) {
    Resposta r;
    r.instalador = "2025-05-04 03:02:01";
    r.clientes = com(r.clientes, 1, "id", QJsonValue::Undefined);
    const TSincronia_Resultado res = executar(r.texto());
    ASSERT_TRUE(res.Ok) << tela.diagnostico.toStdString();
    EXPECT_EQ(res.Dt_Update, "2025-06-10 11:12:13");
    EXPECT_EQ(res.Linha, 22);

    EXPECT_EQ(tela.passosTodos.first(), "iniciar");
    EXPECT_EQ(tela.passosTodos.last(), "finaliza|ok|2025-05-04 03:02:01");
    EXPECT_EQ(tela.passos("titulo"),
              QStringList({
                  "Iniciando...|Preparando o sistema",
                  QString::fromUtf8("Iniciando...|Obtendo horário..."),
                  "Iniciando...|Data: 2025-06-10 11:12:13",
                  "Produtos|Iniciando Produtos",
                  "Inserindo Produtos...|Produtos            [2]",
                  "Clientes|Iniciando Clientes",
                  "Inserindo Clientes...|Clientes            [2]",
                  "Vendedores|Iniciando Vendedores",
                  "Excluindo Vendedores...|Excluindo Vendedores...",
                  "Inserindo Vendedores...|Vendedor  [2]",
                  "Clientes - Cidades |Iniciando Cidades",
                  "Inserindo Cidades...|Cidade  [1]",
                  "Grupos de Clientes|Iniciando Rotas",
                  "Inserindo Rotas...|Grupos / Rotas    [1]",
                  "Planos de Pagamento|Iniciando Planos de Pagamento",
                  "Excluindo Planos de Pagamento...|Excluindo Planos de Pagamento...",
                  "Planos de Pagamento...|Planos de Pagamento   [1]",
                  QString::fromUtf8("Operadoras de Cartão|Iniciando Operadoras de Cartão"),
                  QString::fromUtf8("Cartões de Credito...|Cartões de Credito   [1]"),
                  "Mensagens|Iniciando Mensagens",
                  "Inserindo Mensagens...|Mensagem    [1]",
              }));
    EXPECT_EQ(tela.passos("progresso"), QStringList({
                                            "Inserindo Produtos...[1]",
                                            "Inserindo Produtos...[2]",
                                            "Inserindo Clientes...[1]",
                                            "Inserindo Clientes...[0]",
                                            "Inserindo Vendedor...[1]",
                                            "Inserindo Vendedor...[2]",
                                            "Inserindo Cidades...[1]",
                                            "Inserindo Rotas...[1]",
                                            "Planos de Pagamento...[1]",
                                            QString::fromUtf8("Cartões de Credito...[1]"),
                                            "Inserindo Mensagens...[1]",
                                        }));
    EXPECT_TRUE(tela.diagnostico.isEmpty());
}

TEST_F(Sincronia, EmptyInstallerAndDateLeaveTheDefaults) {
    Resposta r;
    r.datahora = "";
    const TSincronia_Resultado res = executar(r.texto());
    ASSERT_TRUE(res.Ok) << tela.diagnostico.toStdString();
    EXPECT_EQ(res.Exe_Update, p.Config.Dt_Exe_Update);
    EXPECT_TRUE(tela.passos("titulo").contains("Iniciando...|"));
}

// A failure ends the run where it happens: what was written stays, the rest is untouched.
TEST_F(Sincronia, FailuresStopWhereTheyHappen) {
    const struct {
        const char* nome;
        std::function<void(Resposta&)> mudar;
        int linha;
        QString sql; // the last statement of the main query object
        const char* mensagem;
        QStringList produtos, clientes, funcionarios, rotas;
    } casos[] = {
        {"product without dt_promocao",
         [](Resposta& r) { r.produtos = com(r.produtos, 1, "dt_promocao", QJsonValue::Undefined); },
         18,
         Sincronia_SQL::Produtos,
         "dt_promocao",
         {"1"},
         {},
         {"9"},
         {"9"}},
        {"product with an empty dt_cadastro",
         [](Resposta& r) { r.produtos = com(r.produtos, 1, "dt_cadastro", ""); },
         6,
         Sincronia_SQL::Produtos,
         "",
         {"1"},
         {},
         {"9"},
         {"9"}},
        {"customer without a name",
         [](Resposta& r) {
             r.clientes = {cliente(1), cliente(2), cliente(3)};
             r.clientes = com(r.clientes, 1, "nome", QJsonValue::Undefined);
         },
         22,
         Sincronia_SQL::Clientes,
         "nome",
         {"1", "2"},
         {"1"},
         {"9"},
         {"9"}},
        {"no customers at all",
         [](Resposta& r) { r.sem << "clientes"; },
         22,
         Sincronia_SQL::Produtos_Excluir,
         "clientes",
         {"1", "2"},
         {},
         {"9"},
         {"9"}},
        {"no sellers: their table was emptied before",
         [](Resposta& r) { r.sem << "funcionarios"; },
         22,
         Sincronia_SQL::Vendedores_Excluir,
         "funcionarios",
         {"1", "2"},
         {"1", "2"},
         {},
         {"9"}},
        {"two routes with one id",
         [](Resposta& r) {
             r.rotas = {QJsonObject{{"id", "1"}, {"rota", "A"}},
                        QJsonObject{{"id", "1"}, {"rota", "B"}}};
         },
         22,
         Sincronia_SQL::Rotas,
         "UNIQUE",
         {"1", "2"},
         {"1", "2"},
         {"1", "2"},
         {"1"}},
        {"an installer date that is no date",
         [](Resposta& r) { r.instalador = "amanhã"; },
         0,
         QString(),
         "amanh",
         {},
         {},
         {"9"},
         {"9"}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nome);
        TestDir d;
        p.Banco = d.file("dbase.s3db");
        QFile::copy(QStringLiteral(ONDAVIA_PROGRAM_DIR "/dbase.s3db"), p.Banco);
        QFile::setPermissions(p.Banco, QFile::ReadOwner | QFile::WriteOwner);
        c.open(p.Banco, db::Journal::Wal, db::Sync::Normal);
        c.exec("insert into funcionarios (id, nome) values (9, 'ANTES');"
               "insert into rotas (id, rota) values (9, 'Antes')");
        tela = Tela_Gravada();

        Resposta r;
        caso.mudar(r);
        const QString texto = r.texto();
        const TSincronia_Resultado res = executar(texto);

        EXPECT_FALSE(res.Ok);
        EXPECT_EQ(res.Linha, caso.linha);
        EXPECT_TRUE(tela.diagnostico.startsWith(
            QStringLiteral("Line = %1 ResponseContent=").arg(caso.linha) + texto +
            " ErroMessage= "))
            << tela.diagnostico.left(100).toStdString();
        EXPECT_TRUE(res.Erro.contains(QString::fromUtf8(caso.mensagem))) << res.Erro.toStdString();
        EXPECT_EQ(tela.passosTodos.last(), "finaliza|falha|2025-01-01 00:00:00");
        QFile log(p.ArquivoLog);
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        EXPECT_EQ(Platform::fromSystem8bit(log.readAll()), caso.sql);

        EXPECT_EQ(linhas("select id from produtos order by id"), caso.produtos);
        EXPECT_EQ(linhas("select id from clientes order by id"), caso.clientes);
        EXPECT_EQ(linhas("select id from funcionarios order by id"), caso.funcionarios);
        EXPECT_EQ(linhas("select id from rotas order by id"), caso.rotas);
        EXPECT_EQ(linhas("select count(*) from pagamentos"), QStringList({"0"}));
        EXPECT_EQ(valor("PRAGMA integrity_check"), "ok");
        c.close();
    }
}

// Runs of elements are read on a second thread and written in short transactions: a
// catalogue of several runs, and a failure inside the second one.
TEST_F(Sincronia, LongSectionsAndAFailureInALaterRun) {
    Resposta r;
    const int n = Sincronia_Lote * 2 + 500;
    r.produtos = {};
    for (int i = 1; i <= n; ++i)
        r.produtos << produto(i);
    r.produtos = com(r.produtos, n - 1, "ativo", "0");
    ASSERT_TRUE(executar(r.texto()).Ok) << tela.diagnostico.toStdString();
    EXPECT_EQ(valor("select count(*), min(id), max(id) from produtos"),
              QStringLiteral("%1|1|%1").arg(n - 1));
    EXPECT_EQ(tela.passos("progresso").size(), n + 2 + 2 + 1 + 1 + 1 + 1 + 1);

    const int falha = Sincronia_Lote + 300;
    r.produtos = com(r.produtos, falha - 1, "produto", QJsonValue::Undefined);
    r.produtos = com(r.produtos, 0, "venda", "9.5");
    r.produtos = com(r.produtos, falha - 2, "venda", "9.5");
    r.produtos = com(r.produtos, falha, "venda", "9.5");
    const TSincronia_Resultado res = executar(r.texto());
    EXPECT_FALSE(res.Ok);
    EXPECT_EQ(res.Linha, 8);
    EXPECT_EQ(valor("select count(*) from produtos where venda = 9.5"), "2");
    EXPECT_EQ(valor(QStringLiteral("select venda from produtos where id=%1").arg(falha + 1)),
              "2.5");
    EXPECT_EQ(valor("PRAGMA integrity_check"), "ok");
}

TEST_F(Sincronia, TheDumpIsTheReplyReindented) {
    const QString texto = QString::fromUtf8(
        R"( {"datahora":"2025-06-10 11:12:13","instalador":"","x":{"a":[1,-2.5e+3,true,null],)"
        R"("b":{},"c":[],"d":"aspas \"{[,:]}\" e \\ barra","e":"ação 😀 \u00e7\ud83d\ude00"},)"
        "\r\n\t\"produtos\" : [ ] ,\"clientes\":[],\"funcionarios\":[],\"cidades\":[],"
        R"("rotas":[],"pagamentos":[],"cartoes":[],"mensagens":[[],{}]} )");
    // Messages of the wrong shape make the run fail, after the dump.
    executar(texto);
    QFile f(p.ArquivoJSON);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray dump = f.readAll();
    EXPECT_EQ(dump, Platform::toSystem8bit(Json_Indentar(texto) + u'\n'));
    EXPECT_TRUE(
        dump.startsWith("{\n    \"datahora\": \"2025-06-10 11:12:13\",\n    \"instalador\""));
}

TEST_F(Sincronia, TheScanAgreesWithTheParser) {
    const char* const textos[] = {
        "",
        "  ",
        "{",
        "}",
        "[1,]",
        "{\"a\":1,}",
        "01",
        "-01",
        "1.",
        ".5",
        "-",
        "1e",
        "1e+",
        "tru",
        "nul",
        "nulll",
        "\"a",
        "\"\\x\"",
        "\"\\u12\"",
        "\"\\u12g4\"",
        "\"a\tb\"",
        "[1] 2",
        "{\"a\" 1}",
        "{1:2}",
        "{\"a\":}",
        "[,1]",
        "\"\\uD800\"",
        "\"\\uDC00\"",
        "\"\\uD800\\u0041\"",
        "1",
        "-0.5e+3",
        "0",
        "\"x\"",
        "[]",
        "{}",
        " [[[]]] ",
        "{\"a\":[1,2,{\"b\":null}],\"c\":\"\\\"\"}",
        "\"\\uD83D\\uDE00\\/\\b\\f\\n\\r\\t\"",
        "{\"a\":1}{",
        "[true,false,null]",
        "[1,2]]",
    };
    for (const char* t : textos) {
        const QString texto = QString::fromUtf8(t);
        EXPECT_EQ(TSincronia_Resposta(texto).valida(), !Json_Indentar(texto).isEmpty()) << t;
    }
    const QString fundo = QString(1100, u'[') + QString(1100, u']');
    EXPECT_EQ(TSincronia_Resposta(fundo).valida(), !Json_Indentar(fundo).isEmpty());
}

TEST_F(Sincronia, AReplyThatIsNotJsonLeavesAnEmptyDump) {
    QFile velho(p.ArquivoJSON);
    ASSERT_TRUE(velho.open(QIODevice::WriteOnly));
    velho.write("old");
    velho.close();
    const TSincronia_Resultado res = executar("<html>404</html>");
    EXPECT_FALSE(res.Ok);
    EXPECT_EQ(res.Linha, 0);
    EXPECT_EQ(QFileInfo(p.ArquivoJSON).size(), 0);
    EXPECT_EQ(tela.passos("titulo").size(), 2); // the dump came before the reading
}

TEST_F(Sincronia, WithoutTheDumpFolderNothingIsTouched) {
    c.exec("insert into funcionarios (id, nome) values (9, 'ANTES')");
    p.ArquivoJSON = dir.file("naoexiste/JSONText.txt");
    const QString texto = Resposta().texto();
    const TSincronia_Resultado res = executar(texto);
    EXPECT_FALSE(res.Ok);
    EXPECT_TRUE(
        tela.diagnostico.startsWith("Line = 0 ResponseContent=" + texto + " ErroMessage= "));
    EXPECT_FALSE(QFileInfo::exists(dir.file("naoexiste")));
    EXPECT_EQ(linhas("select id from funcionarios"), QStringList({"9"}));
    EXPECT_EQ(valor("select count(*) from produtos"), "0");
    EXPECT_TRUE(QFileInfo::exists(p.ArquivoLog));
    EXPECT_EQ(QFileInfo(p.ArquivoLog).size(), 0);
}

// ---- against the simulator of the cloud account ----

class Sincronia_Nuvem : public Sincronia {
protected:
    void SetUp() override {
        Sincronia::SetUp();
        sim.usar();
        p.Config.Usuario_Email = CloudSim::EMAIL;
        p.Config.Usuario_Password = CloudSim::SENHA;
        p.WebAPI_URL = WebAPI_Base("http");
        qputenv("ONDAVIA_API_TIMEOUT", "5");
    }
    void TearDown() override { qunsetenv("ONDAVIA_API_TIMEOUT"); }

    TSincronia_Resultado executar() { return Sincronia_Executar(p, c, tela); }

    CloudSim sim;
};

TEST_F(Sincronia_Nuvem, TheFirstRunAsksForEverything) {
    const TSincronia_Resultado res = executar();
    ASSERT_TRUE(res.Ok) << tela.diagnostico.toStdString();
    const QJsonArray pedidos = sim.requests("sincronia");
    ASSERT_EQ(pedidos.size(), 1);
    EXPECT_EQ(pedidos[0].toObject()["fields"].toArray(),
              QJsonArray({QJsonArray{"usuario_email", CloudSim::EMAIL},
                          QJsonArray{"usuario_senha", CloudSim::SENHA},
                          QJsonArray{"comando", "sincronia"},
                          QJsonArray{"dt_update", "1982-03-15 00:00:00"}}));
    // Product 61 and customer 9 come inactive, customer 8 without "ativo".
    EXPECT_EQ(valor("select count(*), sum(id=60) from produtos"), "60|1");
    EXPECT_EQ(valor("select count(*), sum(id in (8, 9)) from clientes"), "18|0");
    EXPECT_EQ(valor("select periodicidade from pagamentos order by id"), "30");
    EXPECT_EQ(valor("PRAGMA integrity_check"), "ok");

    p.Config.Dt_Sinc_Update = QDateTime(QDate(2025, 6, 1), QTime(0, 0));
    ASSERT_TRUE(executar().Ok) << tela.diagnostico.toStdString();
    EXPECT_EQ(sim.requests("sincronia")[1].toObject()["fields"].toArray()[3].toArray()[1],
              "2025-06-01 00:00:00");
}

TEST_F(Sincronia_Nuvem, FaultsOfTheAccountEndTheRun) {
    const struct {
        const char* modo;
        const char* chave;
        int linha;
    } casos[] = {
        {"500", "", 0},
        {"html404", "", 0},
        {"json", "", 0},
        {"sem_chave", "datahora", 0},
        {"sem_chave", "produtos.3.dt_promocao", 18},
        {"truncado", "", 0},
        {"recusar", "", 0},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(std::string(caso.modo) + " " + caso.chave);
        sim.reset();
        sim.falhar("sincronia", caso.modo, caso.chave);
        tela = Tela_Gravada();
        const TSincronia_Resultado res = executar();
        EXPECT_FALSE(res.Ok);
        EXPECT_EQ(res.Linha, caso.linha);
        EXPECT_TRUE(tela.diagnostico.startsWith(QStringLiteral("Line = %1 ").arg(caso.linha)));
        EXPECT_EQ(tela.passosTodos.last(), "finaliza|falha|2025-01-01 00:00:00");
        EXPECT_EQ(valor("PRAGMA integrity_check"), "ok");
    }
    // The fourth product failed: the three before it are in.
    EXPECT_EQ(valor("select count(*) from produtos"), "3");
}

TEST_F(Sincronia_Nuvem, SlowWrongAndHugeReplies) {
    // A reply slower than the time-out.
    qputenv("ONDAVIA_API_TIMEOUT", "1");
    sim.falhar("sincronia", "lento", {}, 4);
    TSincronia_Resultado res = executar();
    EXPECT_FALSE(res.Ok);
    EXPECT_TRUE(res.Erro.startsWith("REST request failed: ")) << res.Erro.toStdString();
    qputenv("ONDAVIA_API_TIMEOUT", "5");

    // Values of the wrong type end the run where they are read.
    const struct {
        const char* nome;
        QByteArray corpo;
    } errados[] = {
        {"an array that is a text",
         R"({"datahora": "2025-01-01 00:00:00", "instalador": "", "produtos": "nenhum"})"},
        {"a price that is no number",
         R"({"datahora": "2025-01-01 00:00:00", "instalador": "", "produtos": [{"id": 1,
            "dt_cadastro": "2024-01-02 03:04:05", "grupo": "G", "produto": "P",
            "venda": "abc", "dt_promocao": null}], "clientes": [], "funcionarios": [],
            "cidades": [], "rotas": [], "pagamentos": [], "cartoes": [], "mensagens": []})"},
    };
    for (const auto& e : errados) {
        SCOPED_TRACE(e.nome);
        sim.reset();
        sim.responder("sincronia", e.corpo);
        tela = Tela_Gravada();
        res = executar();
        EXPECT_FALSE(res.Ok);
        EXPECT_TRUE(tela.diagnostico.startsWith("Line = "));
        EXPECT_EQ(valor("PRAGMA integrity_check"), "ok");
    }

    // A reply of 200 MB is read like any other.
    sim.reset();
    sim.falhar("sincronia", "grande", {}, 0, 200);
    tela = Tela_Gravada();
    res = executar();
    EXPECT_TRUE(res.Ok) << tela.diagnostico.left(300).toStdString();
    EXPECT_EQ(valor("select count(*) from produtos"), "60");
    EXPECT_EQ(valor("PRAGMA integrity_check"), "ok");
}

// ---- the worker thread ----

TEST_F(Sincronia_Nuvem, TheWorkerHandsItsStepsToTheScreenThread) {
    c.close();
    QObject contexto;
    QPointer<Tarvel_Sincronia_Donwload> segundo;
    bool segundoTerminou = false;
    tela.aoIniciar = [&] {
        // A second start while this run goes on ends without a step.
        EXPECT_TRUE(Tarvel_Sincronia_Donwload::Ativa());
        segundo = new Tarvel_Sincronia_Donwload(p, tela, &contexto);
        segundo->start();
        segundoTerminou = segundo->wait(10000);
    };
    auto* worker = new Tarvel_Sincronia_Donwload(p, tela, &contexto);
    QPointer<Tarvel_Sincronia_Donwload> vigia(worker);
    worker->start();
    EXPECT_TRUE(Tarvel_Sincronia_Donwload::Ativa());
    ASSERT_TRUE(esperar([] { return !Tarvel_Sincronia_Donwload::Ativa(); }));
    EXPECT_TRUE(esperar([&] { return vigia.isNull() && segundo.isNull(); })); // freed themselves

    EXPECT_TRUE(segundoTerminou);
    EXPECT_EQ(tela.passos("iniciar").size(), 1);
    ASSERT_EQ(tela.passos("finaliza").size(), 1);
    EXPECT_TRUE(tela.passos("finaliza").first().startsWith("ok|"))
        << tela.diagnostico.toStdString();
    EXPECT_GT(tela.passos("progresso").size(), 0);
    for (QThread* t : tela.threads)
        EXPECT_EQ(t, QCoreApplication::instance()->thread());

    db::Connection outra;
    outra.open(p.Banco, db::Journal::Wal);
    db::Query q(outra);
    q.setSql("select count(*) from produtos");
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 60);
}

} // namespace
