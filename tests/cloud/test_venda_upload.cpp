#include "cloud/Venda_Upload_Core.h"
#include "foundation/Database.h"
#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "foundation/Schema.h"
#include "foundation/Settings.h"

#include "support/CloudSim.h"
#include "support/TestDir.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

// A company database with one concluded, unsent sale (id 7) of two items: 1.5 at 2.00
// with a surcharge of 0.10, and 2 at 8.49.
class Upload : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::clearShown();
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
        conn.exec(QString::fromUtf8(
            "insert into funcionarios (id, nome) values (12, 'Ana Vendedora');"
            "insert into produtos (id, produto, estoque) values (1, 'Arroz', 40);"
            "insert into venda (id, venda_cod, Dt_Venda, venda_status, concluido, venda_desconto,"
            " venda_total, vendedor_id, entregador_id, plano_id, entrada, pix, troco, cheque,"
            " cartao, prazo, cliente_id, cliente_cpf, venda_obs) values (7, 'PDV120007', "
            " '2020-01-02', 0, 1, 0.5, 19.63, 12, 3, 0, 20, 0, 0.37, 0, 0, 0, 0, '', '')"));
        conn.exec("insert into venda_produtos (venda_id, venda_cod, prod_id, prod_venda, prod_qtd,"
                  " Prod_Acrec, prod_desc, prod_descCC, prod_geral, concluido) values"
                  " (7, 'PDV120007', 1, 2.00, 1.5, 0.10, 0, 0, 3.15, 1),"
                  " (7, 'PDV120007', 2, 8.49, 2, 0, 0.25, 0, 16.98, 1)");
        cfg.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
        cfg.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
        cfg.Usuario_Nome = QString::fromUtf8("Operador Demonstração");
        cfg.Emp_ID = 1;
        cfg.Emp_CNPJ = QStringLiteral("11.222.333/0001-81");
        cfg.Emp_Endereco = QString::fromUtf8("Praça São João");
        cfg.Emp_Bairro = QStringLiteral("Centro");
        cfg.Emp_Cidade = QString::fromUtf8("Ribeirão Preto");
        cfg.Emp_UF = QStringLiteral("sp");
        cfg.Emp_Fone = QStringLiteral(" (16)3333-4444 ");
    }
    void TearDown() override { MessageBox::clearShown(); }

    QString linha(const QString& sql) {
        db::Query q(conn);
        q.setSql(sql);
        q.open();
        return q.eof() ? QString() : q.field(0).asString();
    }

    TUpload_Resultado enviar(QStringList* mostrado = nullptr) {
        sim.usar();
        return Venda_Lista_UpLoad(conn, cfg, WebAPI_Base("http"), dir.path(), 7,
                                  [mostrado](const QString& arquivo, const QString& resposta) {
                                      if (mostrado) *mostrado << arquivo << resposta;
                                  });
    }

    static QString valor(const QList<TCampo>& campos, const char* nome) {
        for (const TCampo& c : campos)
            if (c.nome == QLatin1String(nome)) return c.valor;
        ADD_FAILURE() << "no field " << nome;
        return {};
    }

    TestDir dir;
    db::Connection conn;
    TSettings cfg;
    CloudSim sim;
};

TEST_F(Upload, BodyOfTwoItemsWithoutCardsLineByLine) {
    const QString corpo = Venda_Upload_Corpo(conn, 7, QStringLiteral("PDV120007"));
    ASSERT_TRUE(corpo.endsWith(QStringLiteral("}\r\n")));
    QStringList linhas = corpo.split(QStringLiteral("\r\n"));
    linhas.removeLast(); // after the last CR LF
    ASSERT_EQ(linhas.size(), 24);
    const QStringList primeiro = linhas.mid(0, 12);
    EXPECT_EQ(primeiro, (QStringList{"{\"produtos\":[", "{", "\"prod_id\":\"1\", ",
                                     "\"prod_val_venda\":\"2,1\", ", "\"prod_quant\":\"1,5\", ",
                                     "\"prod_unitario\":\"2,1\", ", "\"prod_desc\":\"0\", ",
                                     "\"prod_desccc\":\"0\", ", "\"prod_acrec\":\"0,1\", ",
                                     "\"prod_total\":\"3,15\" ", "},", "{"}));
    EXPECT_EQ(linhas[19], "\"prod_total\":\"16,98\" ");
    EXPECT_EQ(linhas.mid(20), (QStringList{"},", "{}],", "\"venda_cartao\":[", "{}]}"}));
    EXPECT_FALSE(QJsonDocument::fromJson(corpo.toUtf8()).isNull());
}

TEST_F(Upload, CardRowsEscapedAndWithoutAccents) {
    conn.exec(QString::fromUtf8(
        "insert into venda_cartao (venda_id, cliente, operadora, forma, valor, parcelas) values"
        " (7, 'JOSÉ \"ZÉ\" C:\\ SILVA', 'Elo', 'Crédito', 12.5, 3),"
        " (8, 'OUTRA VENDA', 'Visa', 'Débito', 1, 1)"));
    conn.exec(QString::fromUtf8("update venda_cartao set cliente = cliente || char(9) || 'º'"));
    const QString corpo = Venda_Upload_Corpo(conn, 7, QStringLiteral("PDV120007"));
    QStringList linhas = corpo.split(QStringLiteral("\r\n"));
    linhas.removeLast();
    ASSERT_EQ(linhas.size(), 31);
    EXPECT_EQ(
        linhas.mid(23),
        (QStringList{"{",
                     QString::fromUtf8("\"cartao_cliente\":\"JOSE \\\"ZE\\\" "
                                       "C:\\\\ SILVA\\tº\", "),
                     "\"cartao_operadora\":\"Elo\", ", "\"cartao_forma\":\"Credito\", ",
                     "\"cartao_valor\":\"12,5\", ", "\"cartao_parcelas\":\"3\" ", "},", "{}]}"}));
    // The account reads it back as the holder's name.
    const QJsonObject cartao =
        QJsonDocument::fromJson(corpo.toUtf8()).object()["venda_cartao"].toArray()[0].toObject();
    EXPECT_EQ(cartao["cartao_cliente"].toString(), QString::fromUtf8("JOSE \"ZE\" C:\\ SILVA\tº"));
}

TEST_F(Upload, FieldsWithoutACustomerNameTheShop) {
    const QList<TCampo> campos = Venda_Upload_Campos(conn, cfg, 7, QDate(2025, 3, 5));
    QStringList nomes;
    for (const TCampo& c : campos)
        nomes << c.nome;
    EXPECT_EQ(nomes.join(' '),
              "venda_serial venda_terminal venda_loja venda_cupom venda_numero_venda venda_dav "
              "venda_dt_dav venda_dt_cupom venda_entreg_id venda_vend_id venda_vend_nome "
              "venda_clie_cpf venda_venda_obs venda_valor_produtos venda_valor_desconto "
              "venda_valor_acrecimo venda_valor_total venda_valor_dinheiro venda_valor_pix "
              "venda_valor_troco venda_valor_cheque venda_valor_cartao venda_valor_ticket "
              "venda_valor_prazo venda_valor_devolucao venda_plano_id venda_plano_dt_primeira "
              "venda_cancelamento comando emp_simcardnum usuario_nome usuario_email "
              "usuario_senha cliente_dt_cadastro cliente_ativo cliente_cod cliente_tipo "
              "cliente_nome cliente_apelido cliente_cpf_cnpj cliente_rg_ie cliente_endereco "
              "cliente_endereco_obs cliente_numero cliente_bairro cliente_cidade cliente_estado "
              "cliente_fone cliente_celular cliente_nascimento cliente_email cliente_grupo "
              "cliente_grupo_id cliente_cep cliente_gps_latitude cliente_gps_longitude");
    const QString md5 = QString::fromLatin1(
        QCryptographicHash::hash("112223330001811", QCryptographicHash::Md5).toHex().toUpper());
    const struct {
        const char* campo;
        QString valor;
    } esperados[] = {
        {"venda_serial", ""},
        {"venda_terminal", "1"},
        {"venda_numero_venda", "PDV120007"},
        {"venda_dav", "PDV120007"},
        {"venda_dt_dav", "2025-03-05"},
        {"venda_entreg_id", "3"},
        {"venda_vend_nome", "Ana Vendedora"},
        {"venda_valor_produtos", "20,13"},
        {"venda_valor_desconto", "0,5"},
        {"venda_valor_total", "19,63"},
        {"venda_valor_dinheiro", "20"},
        {"venda_valor_troco", "0,37"},
        {"venda_valor_ticket", "0"},
        {"venda_plano_dt_primeira", "1899-12-30"}, // no date
        {"venda_cancelamento", "NAO"},
        {"comando", "upload_venda"},
        {"usuario_senha", "demo123"},
        {"cliente_dt_cadastro", "2025-03-05"},
        {"cliente_cod", md5},
        {"cliente_tipo", "J"},
        {"cliente_nome", "Venda Sem Cliente"},
        {"cliente_apelido", "Venda Sem Cliente"},
        {"cliente_cpf_cnpj", "11222333000181"},
        {"cliente_rg_ie", "11222333000181"},
        {"cliente_endereco", "Praca Sao Joao"},
        {"cliente_cidade", "Ribeirao Preto"},
        {"cliente_estado", "SP"},
        {"cliente_fone", "(16)3333-4444"},
        {"cliente_celular", "(16)3333-4444"},
        {"cliente_nascimento", "2025-03-05"},
        {"cliente_grupo_id", "0"},
        {"cliente_gps_latitude", ""},
    };
    for (const auto& e : esperados)
        EXPECT_EQ(valor(campos, e.campo), e.valor) << e.campo;
    EXPECT_EQ(md5.size(), 32);
}

TEST_F(Upload, FieldsOfACustomer) {
    conn.exec(QString::fromUtf8(
        "insert into clientes (id, cod, tipo, nome, apelido, cpf_cnpj, rg_ie, endereco, numero,"
        " bairro, cidade, estado, cep, fone, celular, email, nascimento, grupo, grupo_id,"
        " gps_latitude, gps_longitude) values (44, ' C0002 ', 'F', 'José Conceição', 'Zé',"
        " '529.982.247-25', '12.345.678-9', 'Avenida Norte-Sul', ' 455 ', 'Cambuí', 'Campinas',"
        " 'sp', '13025-320', ' (19)98123-4567', '', 'José.Pereira@Exemplo.COM.br',"
        " '1980-02-29', 'Cambuí', 2, -22.9056, -47.06)"));
    conn.exec("update venda set cliente_id = 44, cliente_cpf = '52998224725'");
    const QList<TCampo> campos = Venda_Upload_Campos(conn, cfg, 7, QDate(2025, 3, 5));
    ASSERT_EQ(campos.size(), 33 + 23);
    EXPECT_EQ(campos[35].nome, "cliente_tipo"); // before the code, unlike a sale without one
    const struct {
        const char* campo;
        const char* valor;
    } esperados[] = {
        {"venda_clie_cpf", "52998224725"},
        {"cliente_tipo", "F"},
        {"cliente_cod", "C0002"},
        {"cliente_nome", "Jose Conceicao"},
        {"cliente_apelido", "Ze"},
        {"cliente_cpf_cnpj", "52998224725"},
        {"cliente_rg_ie", "123456789"},
        {"cliente_numero", "455"},
        {"cliente_bairro", "Cambui"},
        {"cliente_estado", "SP"},
        {"cliente_fone", "(19)98123-4567"},
        {"cliente_nascimento", "1980-02-29"},
        {"cliente_email", "jose.pereira@exemplo.com.br"},
        {"cliente_grupo_id", "2"},
        {"cliente_cep", "13025320"},
        {"cliente_gps_latitude", "-22,9056"},
        {"cliente_gps_longitude", "-47,06"},
    };
    for (const auto& e : esperados)
        EXPECT_EQ(valor(campos, e.campo), QString::fromUtf8(e.valor)) << e.campo;
}

TEST_F(Upload, NoSuchSaleIsRefusedBeforeSending) {
    sim.usar();
    EXPECT_THROW(Venda_Lista_UpLoad(conn, cfg, WebAPI_Base("http"), dir.path(), 99), Error);
    EXPECT_EQ(sim.uploads().size(), 0);
}

TEST_F(Upload, AcceptedSaleIsMarkedSentItsReplyKeptAndShown) {
    QStringList mostrado;
    const TUpload_Resultado r = enviar(&mostrado);
    EXPECT_TRUE(r.Enviada);
    EXPECT_TRUE(r.Resposta.startsWith("Status:OK Venda PDV120007")) << r.Resposta.toStdString();
    EXPECT_EQ(linha("select venda_status from venda where id=7"), "1");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), r.Resposta);
    EXPECT_EQ(mostrado, (QStringList{r.Arquivo, r.Resposta}));
    EXPECT_TRUE(r.Arquivo.startsWith(dir.path() + "Venda_Lista_UpLoad_API_WEB"))
        << r.Arquivo.toStdString();
    EXPECT_EQ(dir.read(QFileInfo(r.Arquivo).fileName()), r.Resposta.toUtf8());
    EXPECT_TRUE(MessageBox::shown().isEmpty());

    const QJsonArray uploads = sim.uploads();
    ASSERT_EQ(uploads.size(), 1);
    const QJsonObject u = uploads[0].toObject();
    EXPECT_EQ(u["produtos"].toArray().size(), 2);
    const QJsonArray pedido = sim.requests("upload_venda");
    EXPECT_EQ(pedido[0].toObject()["method"].toString(), "PUT");
    EXPECT_EQ(pedido[0].toObject()["headers"].toObject()["Content-Type"].toString(),
              "application/json");
    EXPECT_EQ(pedido[0].toObject()["headers"].toObject()["Accept"].toString(), "application/json");
    // The day of the upload, not that of the sale (2020-01-02).
    const QString hoje = QDate::currentDate().toString(Qt::ISODate);
    for (const auto& f : u["fields"].toArray()) {
        const QString nome = f.toArray()[0].toString();
        if (nome == "venda_dt_cupom" || nome == "venda_dt_dav") {
            EXPECT_EQ(f.toArray()[1].toString(), hoje) << nome.toStdString();
        }
    }
}

TEST_F(Upload, ReplyFileNameHoursAndSeconds) {
    EXPECT_EQ(Venda_Upload_Arquivo("/p/", QTime(14, 7, 33)),
              "/p/Venda_Lista_UpLoad_API_WEB1433.html");
    EXPECT_EQ(Venda_Upload_Arquivo("/p", QTime(9, 0, 5)), "/p/Venda_Lista_UpLoad_API_WEB0905.html");
}

TEST_F(Upload, StatementTagsAndTheirOffsets) {
    const struct {
        const char* nome;
        const char* resposta;
        QList<std::pair<int, QString>> comandos;
    } casos[] = {
        {"a blank after tag 1", "Status:OK <SQL1> update a</SQL1>", {{1, "update a"}}},
        {"no blank loses the first letter", "Status:OK <SQL1>update a</SQL1>", {{1, "pdate a"}}},
        {"tag 2 alone", "<SQL2> delete b</SQL2>", {{2, "delete b"}}},
        {"from 10 on right after the tag",
         "<SQL10>update c</SQL10><SQL99>d</SQL99>",
         {{10, "update c"}, {99, "d"}}},
        {"and 100 too", "<SQL100>update e</SQL100>", {{100, "update e"}}},
        {"by number, not by place", "<SQL12>x</SQL12> <SQL3> y</SQL3>", {{3, "y"}, {12, "x"}}},
        {"the first of a repeated tag", "<SQL4> a</SQL4><SQL4> b</SQL4>", {{4, "a"}}},
        {"no closing tag: empty", "<SQL5> update f", {{5, ""}}},
        {"closing before opening: empty", "</SQL6><SQL6> g", {{6, ""}}},
        {"no tags", "Status:OK", {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        QList<std::pair<int, QString>> obtidos;
        for (const TUpload_Comando& cmd : Venda_Upload_Comandos(QString::fromUtf8(c.resposta)))
            obtidos.append({cmd.n, cmd.sql});
        EXPECT_EQ(obtidos, c.comandos);
    }
}

TEST_F(Upload, StatementsRunOnlyWhenTheSaleIsAccepted) {
    const QString tags =
        QStringLiteral(" <SQL1> update produtos set estoque=5 where id=1</SQL1>"
                       "<SQL2> insert into rotas (id, rota) values (9, 'N')</SQL2>");
    sim.upload_venda(false, tags);
    TUpload_Resultado r = enviar();
    EXPECT_FALSE(r.Enviada);
    EXPECT_TRUE(r.Resposta.endsWith(tags));
    EXPECT_EQ(linha("select venda_status from venda where id=7"), "0");
    EXPECT_EQ(linha("select estoque from produtos where id=1"), "40.0");
    EXPECT_EQ(linha("select count(*) from rotas"), "0");
    EXPECT_TRUE(MessageBox::shown().isEmpty()); // a refusal is only shown as the reply

    sim.upload_venda(true, tags);
    r = enviar();
    EXPECT_TRUE(r.Enviada);
    EXPECT_EQ(linha("select venda_status from venda where id=7"), "1");
    EXPECT_EQ(linha("select estoque from produtos where id=1"), "5.0");
    EXPECT_EQ(linha("select rota from rotas where id=9"), "N");
}

TEST_F(Upload, ABadStatementStopsAfterTheSaleIsMarkedSent) {
    const char* casos[] = {"<SQL1>update produtos set estoque=5</SQL1>", // "pdate ..."
                           "<SQL1> update produtos set estoque=5"};      // never closed
    for (const char* tags : casos) {
        SCOPED_TRACE(tags);
        conn.exec("update venda set venda_status=0");
        sim.upload_venda(true, QString::fromLatin1(tags));
        EXPECT_THROW(enviar(), DbError);
        EXPECT_EQ(linha("select venda_status from venda where id=7"), "1");
        EXPECT_EQ(linha("select estoque from produtos where id=1"), "40.0");
    }
}

TEST_F(Upload, AFailedExchangeSaysSoAndEndsTheAction) {
    const struct {
        const char* modo;
        const char* mensagem;
    } casos[] = {{"500", "500 Internal Server Error"}, {"recusar", "REST request failed: "}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        sim.reset();
        MessageBox::clearShown();
        sim.falhar("upload_venda", c.modo);
        QStringList mostrado;
        EXPECT_THROW(enviar(&mostrado), Abort);
        ASSERT_EQ(MessageBox::shown().size(), 1);
        EXPECT_TRUE(MessageBox::shown()[0].startsWith(
            QStringLiteral("Erro ao conectar-se a API Verifique sua Internet \r\r\r") + c.mensagem))
            << MessageBox::shown()[0].toStdString();
        EXPECT_TRUE(mostrado.isEmpty());
        // Concluded and waiting for the next upload.
        EXPECT_EQ(linha("select concluido || venda_status from venda where id=7"), "10");
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({"Venda_Lista_UpLoad_API_WEB*"}).isEmpty());
}

} // namespace
