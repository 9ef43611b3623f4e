// The day's sales list: local rows, the cloud account's rows grouped by courier, and the
// courier assignment.

#include "cloud/JsonLeitor.h"
#include "cloud/Vendas_Lista_Core.h"
#include "cloud/WebAPI.h"
#include "foundation/Database.h"
#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "foundation/Schema.h"
#include "foundation/Settings.h"

#include "support/CloudSim.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

namespace {

QString resumo(const QList<TLista_Linha>& linhas) {
    QStringList r;
    for (const TLista_Linha& l : linhas)
        r << (l.tipo == TLista_Tipo::Entregador ? "[" + l.linha1 + "]"
                                                : QString::number(l.tag) + ":" +
                                                      QString::number(l.figura));
    return r.join(' ');
}

QByteArray venda(int id, const char* entregador, const char* extra = "") {
    return QByteArray("{\"id\": ") + QByteArray::number(id) + ", " + entregador +
           ", \"clie_nome\": \"Ana\", \"clie_cpf\": \"1\", \"vendedor_nome\": \"Bia\","
           " \"valor_total\": \"1234.5\", \"dt_venda\": \"2026-12-11 09:05:07\","
           " \"numero_venda\": \"N" +
           QByteArray::number(id) + "\"" + extra + "}";
}

TEST(VendasListaNuvem, GroupsByRunOfCourierAndPicksThePicture) {
    struct Caso {
        const char* nome;
        QByteArray vendas;
        const char* esperado;
    };
    const QByteArray c0 = "\"entregador_id\": 0, \"entregador_nome\": \"x\"";
    const QByteArray c5 = "\"entregador_id\": 5, \"entregador_nome\": \"Maria Souza\"";
    const QByteArray c7 = "\"entregador_id\": \"7\", \"entregador_nome\": \" \"";
    const Caso casos[] = {
        {"couriers 0, 5, 5", venda(1, c0) + "," + venda(2, c5) + "," + venda(3, c5),
         "[0 - LOJA DO ZÉ] 1:2 [5 - MARIA SOUZA] 2:2 3:2"},
        {"couriers 5, 0, 5: three headers", venda(1, c5) + "," + venda(2, c0) + "," + venda(3, c5),
         "[5 - MARIA SOUZA] 1:2 [0 - LOJA DO ZÉ] 2:2 [5 - MARIA SOUZA] 3:2"},
        {"billing 0 is sent, 3 is billed", venda(1, c7, ", \"faturamento_id\": 0") + "," +
                                               venda(2, c7, ", \"faturamento_id\": 3"),
         "[7 - ENTREGADOR NÃO IDENTIFICADO] 1:1 2:2"},
        {"no courier key is courier 0", venda(9, "\"x\": 1"), "[0 - LOJA DO ZÉ] 9:2"},
        {"nothing that day", "", ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const JsonDocumento doc("{\"vendas\": [" + c.vendas + "]}");
        QList<TLista_Linha> linhas;
        Venda_Lista_Nuvem(doc.raiz(), QStringLiteral("Loja do Zé"), QStringLiteral("0.00,"),
                          linhas);
        EXPECT_EQ(resumo(linhas), QString::fromUtf8(c.esperado));
    }
    const JsonDocumento doc("{\"vendas\": [" + venda(4, c5) + "]}");
    QList<TLista_Linha> linhas;
    Venda_Lista_Nuvem(doc.raiz(), "Loja", "0.00,", linhas);
    const TLista_Linha& l = linhas[1];
    EXPECT_EQ(l.tipo, TLista_Tipo::Nuvem);
    EXPECT_EQ(l.detalhe, "N4");
    EXPECT_EQ(QStringList({l.linha1, l.linha2, l.linha3, l.total, l.data, l.hora}),
              QStringList({"ANA", "1", "VEND: Bia", "1.234,50", "11/12/2026", "09:05:07"}));
}

TEST(VendasListaNuvem, AnElementMissingARequiredKeyFailsAndKeepsTheRowsBefore) {
    const JsonDocumento doc("{\"vendas\": [" + venda(1, "\"entregador_id\": 2") +
                            ", {\"id\": 2}]}");
    QList<TLista_Linha> linhas;
    EXPECT_THROW(Venda_Lista_Nuvem(doc.raiz(), "Loja", "0.00,", linhas), WebAPIError);
    EXPECT_EQ(resumo(linhas), QString::fromUtf8("[2 - ENTREGADOR NÃO IDENTIFICADO] 1:2"));
}

class VendasListaLocal : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
        conn.exec(QStringLiteral(
            "insert into funcionarios (id, nome) values (1, 'Zeca'), (2, 'Ana');"
            "insert into clientes (id, nome) values (3, ' Joana ');"
            "insert into venda (id, venda_cod, venda_dt_pedido, Dt_Venda, venda_status,"
            " venda_total, cliente_id, vendedor_id, concluido) values"
            " (1, 'pdv1', '2026-12-11 08:07:06', '2026-12-11', 0, 10.5, 3, 1, 1),"
            " (2, 'pdv2', '2026-12-11 09:00:00', '2026-12-11', 1, 20, 3, 1, 1),"
            " (3, 'pdv3', '2026-12-11 10:11:12', '2026-12-11', -1, 1234.5, 99, 2, 1),"
            " (4, 'pdv4', '2026-12-10 10:00:00', '2026-12-10', 0, 5, 3, 1, 1)"));
    }
    TestDir dir;
    db::Connection conn;
};

TEST_F(VendasListaLocal, UnsentSalesOfTheDayNewestFirst) {
    const QList<TLista_Linha> l =
        Venda_Lista_Locais(conn, QDate(2026, 12, 11), QStringLiteral("0.00,"));
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(QStringList({l[0].linha1, l[0].linha2, l[0].linha3, l[0].total, l[0].data,
                           l[0].hora}),
              QStringList({"CLIENTE NÃO ENCONTRADO", "N° VENDA: PDV3", "Ana", "1.234,50",
                           "11/12/2026", "10:11:12"}));
    EXPECT_EQ(l[1].linha1, "JOANA");
    EXPECT_EQ(l[1].hora, "8:7:6");
    EXPECT_EQ(l[1].tipo, TLista_Tipo::Local);
    EXPECT_EQ(l[1].figura, 0);
    EXPECT_EQ(l[1].detalhe, "");
    EXPECT_EQ(Venda_Lista_Funcionarios(conn), QStringList({"Ana", "Zeca"}));
}

TEST_F(VendasListaLocal, TheRowsTheReopenServes) {
    TLista_Linha local;
    local.tipo = TLista_Tipo::Local;
    local.tag = 3;
    TLista_Linha nuvem = Lista_Vendas_Criar(77, "", "", "", "", "", "", "pdv1", 1);
    TLista_Linha outra = Lista_Vendas_Criar(78, "", "", "", "", "", "", "XYZ", 1);
    const TLista_Linha grupo = Lista_Vendas_Grupos(3, "Ana");
    EXPECT_EQ(Venda_Lista_Codigo_Reabrir(conn, local), "pdv3");
    EXPECT_EQ(Venda_Lista_Codigo_Reabrir(conn, nuvem), "pdv1");
    EXPECT_EQ(Venda_Lista_Codigo_Reabrir(conn, outra), "");
    EXPECT_EQ(Venda_Lista_Codigo_Reabrir(conn, grupo), "");
    EXPECT_EQ(Venda_Lista_Status(conn, 2), 1);
    EXPECT_EQ(Venda_Lista_Status(conn, 42), -1);
}

class VendasListaNuvemSim : public ::testing::Test {
protected:
    void SetUp() override {
        sim.usar();
        cfg.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
        cfg.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
        cfg.Emp_Nome = QStringLiteral("Mercadinho São José");
        MessageBox::clearShown();
    }
    void TearDown() override { MessageBox::clearShown(); }
    static QStringList nomes(const QJsonArray& campos) {
        QStringList r;
        for (const auto& c : campos)
            r << c.toArray()[0].toString() + "=" + c.toArray()[1].toString();
        return r;
    }
    CloudSim sim;
    TSettings cfg;
};

TEST_F(VendasListaNuvemSim, TheDayFromTheAccountAndTheCourierAssignment) {
    QList<TLista_Linha> linhas;
    Venda_Lista_WebAPI(cfg, WebAPI_Base("http"), "", QDate::currentDate(), linhas);
    EXPECT_EQ(resumo(linhas), QString::fromUtf8(
                                  "[0 - MERCADINHO SÃO JOSÉ] 1001:2 [2 - CARLOS ENTREGAS] 1002:1 "
                                  "1003:1 [4 - PAULO ENTREGAS] 1004:2 [2 - CARLOS ENTREGAS] 1005:1"));
    const QString dia = QDate::currentDate().toString("yyyy-MM-dd");
    EXPECT_EQ(nomes(sim.requests("venda_consultas")[0].toObject()["fields"].toArray()),
              QStringList({"usuario_email=demo@balcona.com.br", "usuario_senha=demo123",
                           "comando=venda_consultas", "venda_busca=",
                           "venda_busca_data1=" + dia + " 00:00:00",
                           "venda_busca_data2=" + dia + " 23:59:59"}));

    EXPECT_TRUE(Entregador_Update_WEB(cfg, WebAPI_Base("http"), 1005, 4));
    EXPECT_EQ(nomes(sim.requests("entregador_update")[0].toObject()["fields"].toArray()),
              QStringList({"comando=entregador_update", "venda_id=1005", "entregador_id=4",
                           "usuario_email=demo@balcona.com.br", "usuario_senha=demo123"}));
    linhas.clear();
    Venda_Lista_WebAPI(cfg, WebAPI_Base("http"), "", QDate::currentDate(), linhas);
    EXPECT_TRUE(resumo(linhas).endsWith("[4 - PAULO ENTREGAS] 1004:2 1005:1"));

    sim.falhar("entregador_update", "500");
    EXPECT_THROW(Entregador_Update_WEB(cfg, WebAPI_Base("http"), 1005, 2), Abort);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_TRUE(MessageBox::shown()[0].startsWith("Erro ao conectar-se a API"));
}

} // namespace
