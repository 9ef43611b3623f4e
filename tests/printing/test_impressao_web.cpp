// The prints the cloud account lays out, and the purchase order's page.

#include "cloud/WebAPI.h"
#include "foundation/Errors.h"
#include "printing/Impressao_Texto.h"
#include "printing/Impressao_Web.h"

#include "Loja.h"
#include "support/CloudSim.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonObject>

namespace {

class ImpressaoWeb : public ::testing::Test {
protected:
    void SetUp() override {
        sim.usar();
        loja.cfg.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
        loja.cfg.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
        loja.cfg.Usuario_ID = 5;
        loja.cfg.conf_cupom_modelo = 2;
        loja.cfg.Emp_Facebook = QStringLiteral("fb.com/mercadinho");
        // Profile 001 on the print library's preview port: the account's prints still
        // go straight to the printer.
        loja.perfil("001", Impressora::Termica, QStringLiteral("Visualizar"),
                    [](TPerfil_Impressao& p) {
                        p.impress_Mensagem.clear();
                        p.impress_Salto = 2;
                    });
        loja.perfil("003", Impressora::Bloco_Notas, QStringLiteral("ARQUIVO"));
    }
    TImpressao_Web web() {
        return {loja.cfg, WebAPI_Base("http"), loja.dir.path(), loja.pasta()};
    }
    QStringList campos(const char* comando) {
        QStringList r;
        for (const auto& c : sim.requests(comando).last().toObject()["fields"].toArray())
            r << c.toArray()[0].toString() + "=" + c.toArray()[1].toString();
        return r;
    }
    QString arquivo() { return loja.dir.file("PreImpressao.txt"); }

    CloudSim sim;
    Loja loja;
};

TEST_F(ImpressaoWeb, CloudReceiptWithTheFooterPrintedAtOnceAfterTheQuestion) {
    MessageBox::setNextAnswer(MessageBox::Ok);
    EXPECT_TRUE(Imprime_Cupom_NaoFiscal_WEB(web(), 1001, true));
    EXPECT_EQ(campos("venda_cupom"),
              QStringList({"comando=venda_cupom", "venda_id=1001",
                           "usuario_email=demo@balcona.com.br", "usuario_senha=demo123",
                           "cupom_modelo=2"}));
    QFile f(arquivo());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList linhas = Txt_Ler(bytes);
    const qsizetype n = linhas.size() - 9; // the account's lines
    ASSERT_GT(n, 5);
    EXPECT_EQ(linhas.mid(n), QStringList({Txt_Traco(40), "", "", "", Txt_Traco(40),
                                          Txt_Brancos(10) + Txt_Site_Fornecedor(), " ", " ",
                                          " "}));
    ASSERT_EQ(loja.termica.size(), 1);
    EXPECT_FALSE(loja.termica[0].visualizar);
    EXPECT_EQ(loja.termica[0].qrcode, "fb.com/mercadinho");
    EXPECT_EQ(MessageBox::shown(), QStringList{QString::fromUtf8(
                                       "Deseja Imprimir o Cupom Não Fiscal?")});
}

TEST_F(ImpressaoWeb, FooterSlicesTheMessage) {
    const QString m50 = QString(40, 'a') + QStringLiteral("  bbbbbbbb");
    EXPECT_EQ(Impressao_Web_Rodape(m50, QString(), -1).mid(0, 5),
              QStringList({Txt_Traco(40), "", QString(40, 'a'), "bbbbbbbb", ""}));
    EXPECT_EQ(Impressao_Web_Rodape(m50, QString(), -1).size(), 7); // no feed when negative
    EXPECT_EQ(Impressao_Web_Rodape("x", "Sempre perto", 0).mid(4, 2),
              QStringList({Txt_Centro("Sempre perto", 40), ""}));
}

TEST_F(ImpressaoWeb, DeliveryListAndReportAskNothingAndUseProfile001) {
    const QDate hoje = QDate::currentDate();
    EXPECT_TRUE(Imprime_Lista_Entrega_WEB(web(), 2, false, hoje));
    EXPECT_TRUE(loja.termica.isEmpty()); // the preview composes, nothing prints
    EXPECT_TRUE(Loja::linhasDe(arquivo()).join('\n').contains("Carlos Entregas"));
    const QString d = hoje.toString("yyyy-MM-dd");
    EXPECT_EQ(campos("lista_entrega"),
              QStringList({"comando=lista_entrega", "entregador_id=2",
                           "usuario_email=demo@balcona.com.br", "usuario_senha=demo123",
                           "venda_busca_data1=" + d + " 00:00:00",
                           "venda_busca_data2=" + d + " 23:59:59"}));

    EXPECT_TRUE(Imprime_Relatorio_GerencialWEB(web(), hoje));
    EXPECT_EQ(campos("rel_gerencial"),
              QStringList({"comando=rel_gerencial", "usuario_email=demo@balcona.com.br",
                           "usuario_senha=demo123", "funcionario_id=5",
                           "rel_data1=" + d + " 00:00:00", "rel_data2=" + d + " 23:59:59"}));
    ASSERT_EQ(loja.termica.size(), 1); // profile 001, not the editor of profile 003
    EXPECT_TRUE(loja.editor.isEmpty());
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(ImpressaoWeb, AFailedRequestSaysSoAndLeavesTheFile) {
    QFile f(arquivo());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("antes\r\n");
    f.close();
    struct Caso {
        const char* modo;
        QByteArray corpo;
    };
    for (const Caso& c : {Caso{"500", {}}, Caso{nullptr, "{\"cupom\": [{\"x\": 1}]}"},
                          Caso{nullptr, "{\"outra\": []}"}}) {
        sim.reset();
        if (c.modo) sim.falhar("venda_cupom", c.modo);
        else sim.responder("venda_cupom", c.corpo);
        MessageBox::clearShown();
        EXPECT_THROW(Imprime_Cupom_NaoFiscal_WEB(web(), 1001, true), Abort);
        ASSERT_EQ(MessageBox::shown().size(), 1);
        EXPECT_TRUE(MessageBox::shown()[0].startsWith("Erro ao conectar-se a API"));
        EXPECT_EQ(Loja::linhasDe(arquivo()), QStringList{"antes"});
    }
    EXPECT_TRUE(loja.termica.isEmpty());
}

TEST_F(ImpressaoWeb, PurchaseOrderAddressAndItsDailyKey) {
    loja.sql("insert into venda (id, venda_cod) values (12, 'PDV0120012')");
    qputenv("ONDAVIA_PORTAL_URL", "http://127.0.0.1:9");
    const QDate dia(2024, 3, 5);
    const QString url = Imprime_Cupom_Pedido001_Endereco(loja.dm.FDConnection1, 7, 12, dia);
    qunsetenv("ONDAVIA_PORTAL_URL");
    EXPECT_TRUE(url.startsWith("http://127.0.0.1:9/app/impressao/?relatorio=vendas_pedido001&id=12"
                               "&buttonvisible=1&documento=PDV0120012&relkey="));
    EXPECT_TRUE(url.endsWith("&key=" + Pedido001_Key(7, dia)));
    EXPECT_TRUE(url.contains("&relkey=rK77b4Lc9Qe2Xw8Z&"));
    // md5(md5("72024-03-05") in lower case), in lower case.
    const QString interno = QString::fromLatin1(
        QCryptographicHash::hash("72024-03-05", QCryptographicHash::Md5).toHex());
    EXPECT_EQ(Pedido001_Key(7, dia),
              QString::fromLatin1(
                  QCryptographicHash::hash(interno.toLatin1(), QCryptographicHash::Md5).toHex()));
    EXPECT_NE(Pedido001_Key(7, dia), Pedido001_Key(7, dia.addDays(1)));
    EXPECT_TRUE(Imprime_Cupom_Pedido001_Endereco(loja.dm.FDConnection1, 7, 99, dia)
                    .contains("&documento=&relkey="));
}

} // namespace
