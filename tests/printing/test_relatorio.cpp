// The local management report of one day: its statements and 40-column lines, profile
// 003, sent once without a question; the cloud branch when online.

#include "printing/Relatorio_Gerencial.h"

#include "printing/Loja.h"

#include <gtest/gtest.h>

namespace {

const QDate Dia(2024, 5, 17);

void produto(Loja& l) {
    l.sql(QStringLiteral("insert into produtos (id, produto) values (1, 'Arroz')"));
}

QStringList relatorio(Loja& l, bool* resultado = nullptr) {
    const bool r = Imprime_Relatorio_Gerencial_Local(l.dm, l.cfg, QDateTime(Dia, QTime(0, 0, 0)),
                                                     QDateTime(Dia, QTime(23, 59, 59)));
    if (resultado) *resultado = r;
    return l.preImpressao();
}

QString linha(const char* rotulo, const char* qtd, const char* valor) {
    const QString r = QString::fromUtf8(rotulo), v = QString::fromUtf8(valor);
    return r + QString(18 - r.size(), u' ') + QLatin1String(qtd) + QStringLiteral("  ") +
           QString(16 - v.size(), u' ') + v;
}

TEST(Relatorio, TwoFinishedSalesOneSent) {
    Loja l;
    produto(l);
    // Around the day: the evening before and midnight after do not count, nor an open sale.
    l.sql(QStringLiteral(
        "insert into venda (id, venda_dt_pedido, concluido, venda_status, venda_total, entrada,"
        " troco) values (1, '2024-05-17 09:15:00', 1, 1, 100, 100, 0),"
        " (2, '2024-05-17 10:42:30', 1, 0, 57.50, 60, 2.50),"
        " (3, '2024-05-16 23:59:59', 1, 0, 999, 999, 0),"
        " (4, '2024-05-18 00:00:00', 1, 0, 999, 999, 0),"
        " (5, '2024-05-17 11:00:00', 0, 0, 999, 999, 0)"));
    l.perfil("003", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
    bool r = false;
    const QStringList obtido = relatorio(l, &r);
    EXPECT_TRUE(r);
    const QStringList esperado = Golden("relatorio_dia.txt");
    for (qsizetype i = 0; i < std::max(obtido.size(), esperado.size()); ++i)
        EXPECT_EQ(obtido.value(i, QStringLiteral("<none>")),
                  esperado.value(i, QStringLiteral("<none>")))
            << "line " << i + 1;
}

TEST(Relatorio, DayWithoutSales) {
    Loja l;
    produto(l);
    l.perfil("003", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
    const QStringList r = relatorio(l);
    const qsizetype vendas = r.indexOf(QStringLiteral("                VENDAS"));
    EXPECT_EQ(r.mid(vendas + 2, 5),
              (QStringList{linha("FINALIZADAS", "0000", "0,00"), linha("ENVIADAS", "0000", "0,00"),
                           linha("NÃO ENVIADAS", "0000", "0,00"),
                           linha("EXCLUIDAS", "0000", "0,00"), QString(40, u'-')}));
    EXPECT_FALSE(r.contains(QStringLiteral("HORA   FORMA           ENTRADA     SAIDA")));
    const qsizetype pag = r.indexOf(QStringLiteral("          PAGAMENTOS FINALIZADOS"));
    for (const char* rotulo : {"DINHEIRO", "PIX", "CARTAO", "CHEQUE", "PRAZO", "TROCO"})
        EXPECT_TRUE(r.mid(pag, 9).contains(linha(rotulo, "0000", "0,00"))) << rotulo;
}

TEST(Relatorio, DeletedSaleCountsOnlyAsDeleted) {
    Loja l;
    produto(l);
    l.sql(QStringLiteral(
        "insert into venda (id, venda_dt_pedido, concluido, venda_status, venda_total, entrada)"
        " values (1, '2024-05-17 08:00:00', -1, 0, 30, 30)"));
    l.perfil("003", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
    const QStringList r = relatorio(l);
    EXPECT_TRUE(r.contains(linha("EXCLUIDAS", "0001", "30,00")));
    EXPECT_TRUE(r.contains(linha("FINALIZADAS", "0000", "0,00")));
    EXPECT_TRUE(r.contains(linha("NÃO ENVIADAS", "0000", "0,00")));
    EXPECT_TRUE(r.contains(linha("DINHEIRO", "0000", "0,00")));
    EXPECT_FALSE(r.contains(QStringLiteral("HORA   FORMA           ENTRADA     SAIDA")));
}

TEST(Relatorio, UnsentSalesListTakesCashSalesOnly) {
    Loja l;
    produto(l);
    l.sql(QStringLiteral(
        "insert into venda (id, venda_dt_pedido, concluido, venda_status, venda_total, entrada,"
        " pix) values (1, '2024-05-17 08:05:00', 1, 0, 30, 0, 30),"
        " (2, '2024-05-17 18:30:00', 1, 0, 10, 10, 0)"));
    l.perfil("003", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
    const QStringList r = relatorio(l);
    const qsizetype cabecalho =
        r.indexOf(QStringLiteral("HORA   FORMA           ENTRADA     SAIDA"));
    ASSERT_GT(cabecalho, 0);
    EXPECT_EQ(r.mid(cabecalho + 1, 2),
              (QStringList{QStringLiteral("18:30  DINHEIRO      "), QString(40, u'-')}));
}

TEST(Relatorio, EmptyProductTableDropsTheSalesSummaryOnly) {
    Loja com, sem;
    produto(com);
    for (Loja* l : {&com, &sem}) {
        l->sql(QStringLiteral("insert into venda (id, venda_dt_pedido, concluido, venda_total,"
                              " entrada) values (1, '2024-05-17 08:00:00', 1, 10, 10)"));
        l->perfil("003", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
    }
    QStringList esperado = relatorio(com);
    esperado.remove(16, 4);
    EXPECT_EQ(relatorio(sem), esperado);
}

TEST(Relatorio, FeedDeskjetAndOneSendingWithoutQuestion) {
    {
        Loja l;
        produto(l);
        l.perfil("003", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"),
                 [](TPerfil_Impressao& p) { p.impress_Salto = 0; });
        const QStringList r = relatorio(l);
        EXPECT_TRUE(r[r.size() - 2].endsWith(QStringLiteral("www.tarvel.com.br")));
        EXPECT_EQ(r.last(), QString());
    }
    {
        Loja l;
        produto(l);
        l.perfil("003", Impressora::Deskjet, QStringLiteral("Visualizar"));
        bool r = true;
        relatorio(l, &r);
        EXPECT_FALSE(r);
        EXPECT_FALSE(l.dir.exists("PreImpressao.txt"));
    }
    {
        Loja l;
        produto(l);
        l.cfg.Emp_Instagram = QStringLiteral("instagram.com/loja");
        l.cfg.conf_cupom_copias = 3;
        // The receipt's profile is not the report's.
        l.perfil("001", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
        l.perfil("003", Impressora::Termica, QStringLiteral("Visualizar"));
        relatorio(l);
        EXPECT_TRUE(MessageBox::shown().isEmpty());
        EXPECT_TRUE(l.editor.isEmpty());
        ASSERT_EQ(l.termica.size(), 1);
        EXPECT_EQ(l.termica[0].qrcode, QString());
        EXPECT_TRUE(l.termica[0].visualizar);
    }
}

TEST(Relatorio, OnlineTheCloudRendersIt) {
    for (bool online : {true, false}) {
        SCOPED_TRACE(online);
        Loja l;
        produto(l);
        l.perfil("003", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
        QList<QDate> nuvem_dias;
        TImpressao_Nuvem nuvem;
        nuvem.Imprime_Relatorio_GerencialWEB = [&](const QDate& d) { nuvem_dias << d; };
        Imprime_Relatorio_Gerencial(l.dm, l.cfg, online, Dia, nuvem);
        EXPECT_EQ(nuvem_dias, online ? QList<QDate>{Dia} : QList<QDate>{});
        EXPECT_EQ(l.editor.size(), online ? 0 : 1);
        if (!online) {
            EXPECT_TRUE(l.preImpressao().contains(
                QStringLiteral("DATA INICIAL:        17/05/2024 00:00:00")));
        }
    }
}

} // namespace
