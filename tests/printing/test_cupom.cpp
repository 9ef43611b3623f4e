// The non-fiscal receipt: its 41-column lines, the preview file, the questions and copies,
// and the routing of the sales list's and the checkout's print.

#include "printing/Cupom_NaoFiscal.h"
#include "printing/Impressao_Texto.h"

#include "printing/Loja.h"

#include <gtest/gtest.h>

namespace {

// A sale with three items (one discounted, one whose catalogue name differs from the
// one stored with the item), a sale discount, two card payments, a rest on a plan,
// change and credit; and a sale in cash only with an item no longer in the catalogue.
void vendas(Loja& l) {
    l.sql(
        QStringLiteral("insert into pagamentos (id, plano, parcelas) values (3, '3X MENSAL', 3)"));
    l.sql(QStringLiteral("insert into clientes (id, nome, cpf_cnpj, endereco) values"
                         " (10, 'MARIA SILVA', '12345678909', 'Av. Brasil, 500')"));
    l.sql(QStringLiteral("insert into funcionarios (id, nome, ativo) values (1, 'Ana', 1),"
                         " (2, 'Bruno', 1)"));
    l.sql(QStringLiteral(
        "insert into produtos (id, produto, marca, medida, venda) values"
        " (1, 'ARROZ TIO TIPO 1 5KG', 'Tio', 'UN', 27.90), (3, 'Café Torrado 500g', 'Serra',"
        " 'UN', 15), (6, 'Queijo Mussarela KG', 'Sul', 'KG', 49.90), (2, 'Feijão Carioca 1kg',"
        " 'Cam', 'UN', 8.49)"));
    l.sql(QStringLiteral(
        "insert into venda (id, venda_cod, cliente_id, cliente_cpf, vendedor_id, entregador_id,"
        " plano_id, venda_desconto, entrada, pix, cheque, cartao, prazo, troco, concluido,"
        " venda_total) values (7, '20240517-0001-000007', 10, '123.456.789-09', 1, 2, 3, 5.25,"
        " 20, 0, 0, 60, 35, 2, 1, 115), (8, '20240517-0001-000008', 0, '', 2, 0, 0, 0, 33.92, 0,"
        " 0, 0, 0, 0, 1, 33.92)"));
    l.sql(QStringLiteral(
        "insert into venda_produtos (venda_id, prod_id, produto, prod_medida, prod_venda,"
        " prod_qtd, prod_desc, prod_descCC) values"
        " (7, 1, 'Arroz Branco 5kg', 'UN', 27.90, 2, 0, 0),"
        " (7, 3, 'Café Torrado 500g', 'UN', 15, 3, 4.5, 0),"
        " (7, 6, 'Queijo Mussarela KG', 'KG', 49.90, 0.5, 0, 1),"
        " (8, 2, 'Feijão Carioca 1kg', 'UN', 8.49, 3, 0, 0),"
        " (8, 99, 'Pão Francês', 'KG', 16.90, 0.5, 0, 0)"));
    l.sql(QStringLiteral("insert into venda_cartao (venda_id, operadora, forma, valor, parcelas)"
                         " values (7, 'VISA', 'Crédito', 45, 3), (7, 'MASTER', 'Débito', 15, 1)"));
}

void compararLinhas(const QStringList& obtido, const QStringList& esperado) {
    for (qsizetype i = 0; i < std::max(obtido.size(), esperado.size()); ++i)
        EXPECT_EQ(obtido.value(i, QStringLiteral("<none>")),
                  esperado.value(i, QStringLiteral("<none>")))
            << "line " << i + 1;
}

TEST(Cupom, GoldenReceipts) {
    const struct {
        qint32 venda;
        const char* golden;
    } cases[] = {{7, "cupom_completo.txt"}, {8, "cupom_dinheiro.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        Loja l;
        vendas(l);
        l.perfil("001", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
        EXPECT_TRUE(Imprime_Cupom_NaoFiscal_LOCAL(l.dm, l.cfg, c.venda, false));
        compararLinhas(l.preImpressao(), Golden(c.golden));
        // Every line ends with CR LF, the last one included.
        const QByteArray bytes = l.dir.read("PreImpressao.txt");
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
        EXPECT_TRUE(bytes.endsWith("\r\n"));
    }
}

TEST(Cupom, FixedWidthOperations) {
    const QString dez = QStringLiteral("ABCDEFGHIJ");
    EXPECT_EQ(Txt_Centro(dez, 41), QString(16, u' ') + dez);  // 15.5 -> 16
    EXPECT_EQ(Txt_Centro_Espacos(QString(12, u'x'), 41), 14); // 14.5 -> 14
    EXPECT_EQ(Txt_Centro_Espacos(QString(13, u'x'), 41), 14);
    EXPECT_EQ(Txt_Centro_Espacos(QString(41, u'x'), 41), 0);
    EXPECT_EQ(Txt_Centro(QString(45, u'x'), 41), QString(45, u'x')); // never cut
    EXPECT_EQ(Txt_Direita(QStringLiteral("1.234,56"), 7), QStringLiteral("1.234,5"));
    EXPECT_EQ(Txt_Direita(QStringLiteral("9,90"), 7), QStringLiteral("   9,90"));
    EXPECT_EQ(Txt_Esquerda(QStringLiteral("1.234,56"), 6), QStringLiteral("1.234,"));
    EXPECT_EQ(Txt_Esquerda(QStringLiteral("2,00"), 6), QStringLiteral("2,00  "));
    // A value too long for the room left pushes the label out.
    EXPECT_EQ(Txt_Rotulo(QStringLiteral("TROCO:"), 46, QString(38, u'9')),
              QStringLiteral("TRO") + QString(38, u'9'));
    EXPECT_EQ(Txt_Rotulo(QStringLiteral("TROCO:"), 46, QString(45, u'9')), QString(45, u'9'));
}

// A receipt laid out from its data, with the fixed clock.
QStringList cupom(const std::function<void(TCupom_Dados&)>& ajuste) {
    TCupom_Dados d;
    d.Emp_Nome = QStringLiteral("Loja");
    d.Mensagem = QStringLiteral("OBRIGADO");
    ajuste(d);
    return Cupom_Linhas(d, QDateTime(QDate(2024, 5, 17), QTime(14, 3, 9)));
}

TCupom_Item item(double venda, double qtd, double desc = 0) {
    TCupom_Item i;
    i.produto = QStringLiteral("Item");
    i.prod_medida = QStringLiteral("UN");
    i.prod_venda = venda;
    i.prod_qtd = qtd;
    i.prod_desc = desc;
    return i;
}

TEST(Cupom, LineRules) {
    // Centring of the company name.
    EXPECT_EQ(cupom([](TCupom_Dados& d) { d.Emp_Nome = QStringLiteral("mercado 10"); })[1],
              QString(16, u' ') + QStringLiteral("MERCADO 10"));
    EXPECT_EQ(cupom([](TCupom_Dados& d) { d.Emp_Nome = QStringLiteral("Mercadinho12"); })[1],
              QString(14, u' ') + QStringLiteral("MERCADINHO12"));
    // Seller id and name cut to 27 before alignment.
    EXPECT_EQ(cupom([](TCupom_Dados& d) {
                  d.vendedor_id = QStringLiteral("12345");
                  d.vendedor_Nome = QStringLiteral("Maria Aparecida dos Santos Oliveira");
              })[9],
              QStringLiteral("Vendedor:     12345-Maria Aparecida dos S"));

    // Item line: a unit price of 8 characters loses its last one, an amount of 10 too,
    // and a discount takes the room of 9 blanks.
    const QStringList caro = cupom([](TCupom_Dados& d) { d.Itens = {item(1234.56, 1)}; });
    EXPECT_EQ(caro[18], QStringLiteral("1,00   X 1.234,5         UN      1.234,56"));
    const QStringList longo = cupom([](TCupom_Dados& d) { d.Itens = {item(123456.78, 1, 2)}; });
    EXPECT_EQ(longo[18], QStringLiteral("1,00   X 123.456 - 2,00  UN     123.454,7"));
}

TEST(Cupom, MessageSlices) {
    const QString a41(41, u'A');
    const QString m90 =
        a41 + QStringLiteral("  ") + QString(38, u'B') + QStringLiteral("  CCCCCCC");
    ASSERT_EQ(m90.size(), 90);
    const struct {
        const char* nome;
        QString mensagem;
        QStringList linhas;
    } cases[] = {
        {"41 characters, one line", a41, {a41}},
        {"90 characters, three lines, the later ones trimmed",
         m90,
         {a41, QString(38, u'B'), QStringLiteral("CCCCCCC")}},
        {"blanks only after 41 add nothing", a41 + QString(30, u' '), {a41}},
        {"the first slice keeps its blanks",
         QStringLiteral("  OBRIGADO  "),
         {QStringLiteral("  OBRIGADO  ")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nome);
        const QStringList l = cupom([&](TCupom_Dados& d) {
            d.Mensagem = c.mensagem;
            d.Salto = -1;
        });
        // The message sits between the empty line after the rule and the one before it.
        const qsizetype inicio = l.indexOf(QString(41, u'-'), 20) + 2;
        EXPECT_EQ(l.mid(inicio, c.linhas.size()), c.linhas);
        EXPECT_EQ(l.value(inicio + c.linhas.size()), QString());
        EXPECT_EQ(l.value(inicio + c.linhas.size() + 1), QString(41, u'-'));
    }
}

TEST(Cupom, RestChangeCreditSloganAndFeed) {
    auto pago = [](double total, double dinheiro) {
        return [=](TCupom_Dados& d) {
            d.Itens = {item(total, 1)};
            d.entrada = dinheiro;
            d.plano_id = 4;
            d.Plano_Nome = QStringLiteral("30 DIAS");
        };
    };
    const auto restante = [](const QStringList& l) {
        return l.filter(QStringLiteral("Restante a parcelar:"));
    };
    EXPECT_TRUE(restante(cupom(pago(100.00, 100))).isEmpty());
    EXPECT_TRUE(restante(cupom(pago(100.05, 100))).isEmpty());
    const QStringList vinte = cupom(pago(100.20, 100));
    ASSERT_EQ(restante(vinte).size(), 1);
    EXPECT_TRUE(restante(vinte)[0].endsWith(QStringLiteral(" 0,20")));
    EXPECT_EQ(vinte[vinte.indexOf(restante(vinte)[0]) + 1],
              QStringLiteral("    - 30 DIAS                 "));

    const QStringList simples = cupom(pago(50, 50));
    EXPECT_TRUE(simples.filter(QStringLiteral("TROCO")).isEmpty());
    EXPECT_TRUE(simples.filter(QStringLiteral("Assinatura")).isEmpty());

    const QStringList slogan =
        cupom([](TCupom_Dados& d) { d.Emp_Slogan = QStringLiteral("O melhor preço"); });
    const qsizetype site = slogan.size() - 5; // then the feed of 3 + 1
    EXPECT_EQ(slogan[site - 3], QString(13, u' ') + QStringLiteral("O melhor preço"));
    EXPECT_EQ(slogan[site - 2], QString());

    const QStringList tres = cupom([](TCupom_Dados& d) { d.Salto = 3; });
    EXPECT_TRUE(tres[tres.size() - 5].endsWith(QStringLiteral("www.tarvel.com.br")));
    EXPECT_EQ(tres.mid(tres.size() - 4), QStringList(4, QString()));
    const QStringList nenhum = cupom([](TCupom_Dados& d) { d.Salto = -1; });
    EXPECT_TRUE(nenhum.last().endsWith(QStringLiteral("www.tarvel.com.br")));
}

TEST(Cupom, GateByPrinterType) {
    const struct {
        QString tipo;
        bool compoe;
    } cases[] = {
        {Impressora::Deskjet, false},
        {QStringLiteral("mini-impressora matricial"), false}, // types match exactly
        {QStringLiteral("Qualquer"), false},
        {Impressora::Sweda_SI300S, true},
        {Impressora::Bematech_MP4000, true},
        {Impressora::Epson_TMT20, true},
        {Impressora::Bematech_MP2500, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tipo.toStdString());
        Loja l;
        vendas(l);
        l.perfil("001", c.tipo, QStringLiteral("Visualizar"));
        EXPECT_EQ(Imprime_Cupom_NaoFiscal_LOCAL(l.dm, l.cfg, 8, true), c.compoe);
        EXPECT_EQ(l.dir.exists("PreImpressao.txt"), c.compoe);
        // These types have no channel: asked, and nothing leaves.
        EXPECT_EQ(MessageBox::shown().size(), c.compoe ? 1 : 0);
        EXPECT_TRUE(l.editor.isEmpty());
        EXPECT_TRUE(l.termica.isEmpty());
    }
}

TEST(Cupom, QuestionsAndCopies) {
    using A = MessageBox::Answer;
    const QString primeira = QStringLiteral("Deseja Imprimir o Cupom Não Fiscal?");
    const QString segunda = QStringLiteral("Imprimir 2° Via do Cupom?");
    const struct {
        const char* nome;
        bool imprimir;
        int copias;
        QList<A> respostas;
        QStringList perguntas;
        int envios;
    } cases[] = {
        {"composing only", false, 3, {}, {}, 0},
        {"one copy", true, 1, {A::Ok}, {primeira}, 1},
        {"no to the first question", true, 3, {A::Cancel}, {primeira}, 0},
        {"three copies ask for the second once",
         true,
         3,
         {A::Ok, A::Ok, A::Ok},
         {primeira, segunda},
         2},
        {"no to the second copy", true, 2, {A::Ok, A::Cancel}, {primeira, segunda}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nome);
        Loja l;
        vendas(l);
        l.perfil("001", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
        l.cfg.conf_cupom_copias = c.copias;
        l.dir.write("PreImpressao.txt", "an earlier print\r\n");
        for (A r : c.respostas)
            MessageBox::setNextAnswer(r);
        EXPECT_TRUE(Imprime_Cupom_NaoFiscal_LOCAL(l.dm, l.cfg, 8, c.imprimir));
        EXPECT_EQ(MessageBox::shown(), c.perguntas);
        EXPECT_EQ(l.editor, QStringList(c.envios, l.dir.file("PreImpressao.txt")));
        EXPECT_EQ(l.preImpressao().value(7),
                  QStringLiteral("N. Venda:            20240517-0001-000008"));
    }
}

TEST(Cupom, PrintLibraryGetsFirstSocialAddressAndPreviewFlag) {
    const struct {
        QString porta;
        QString instagram, facebook, tiktok;
        QString qrcode;
        bool visualizar;
    } cases[] = {
        {QStringLiteral("visualizar"),
         {},
         QStringLiteral("fb.com/loja"),
         QStringLiteral("tiktok.com/@loja"),
         QStringLiteral("fb.com/loja"),
         true},
        {QStringLiteral("Imprimir"),
         QStringLiteral("instagram.com/loja"),
         QStringLiteral("fb.com/loja"),
         {},
         QStringLiteral("instagram.com/loja"),
         false},
        {QStringLiteral("COM1"), {}, {}, {}, {}, false}, // the port text is not used
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.porta.toStdString());
        Loja l;
        vendas(l);
        l.cfg.Emp_Instagram = c.instagram;
        l.cfg.Emp_Facebook = c.facebook;
        l.cfg.Emp_TikTok = c.tiktok;
        l.perfil("001", Impressora::Termica, c.porta);
        Imprime_Cupom_NaoFiscal_LOCAL(l.dm, l.cfg, 7, true);
        ASSERT_EQ(l.termica.size(), 1);
        EXPECT_EQ(l.termica[0].arquivo, l.dir.file("PreImpressao.txt"));
        EXPECT_EQ(l.termica[0].qrcode, c.qrcode);
        EXPECT_EQ(l.termica[0].visualizar, c.visualizar);
        EXPECT_EQ(l.termica[0].linhas, Golden("cupom_completo.txt"));
    }
}

TEST(Cupom, UnknownSalePrintsEmptyReceipt) {
    Loja l;
    l.perfil("001", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
    EXPECT_TRUE(Imprime_Cupom_NaoFiscal_LOCAL(l.dm, l.cfg, 404, false));
    const QStringList linhas = l.preImpressao();
    EXPECT_EQ(linhas.value(7), QStringLiteral("N. Venda:") + QString(32, u' '));
    EXPECT_EQ(linhas.value(12), QStringLiteral("Cliente:    -"));
    EXPECT_TRUE(linhas.contains(QStringLiteral("Valor Total:") + QString(25, u' ') +
                                QStringLiteral("0,00")));
}

TEST(Cupom, UnwritablePreviewFileEndsThePrint) {
    Loja l;
    vendas(l);
    l.perfil("001", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
    ReadOnly trava(l.dir.path());
    if (!trava.ok()) GTEST_SKIP() << "this machine cannot make a folder read-only";
    EXPECT_THROW(Imprime_Cupom_NaoFiscal_LOCAL(l.dm, l.cfg, 7, true), FileError);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_TRUE(l.editor.isEmpty());
}

TEST(Cupom, SalesListRoutesByDetailText) {
    Loja l;
    vendas(l);
    l.perfil("001", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
    QStringList chamadas;
    TImpressao_Nuvem nuvem;
    nuvem.Imprime_Cupom_NaoFiscal_WEB = [&](qint32 id, bool imprimir) {
        chamadas << QStringLiteral("cupom %1 %2").arg(id).arg(imprimir);
        return true;
    };
    nuvem.Imprime_Lista_Entrega_WEB = [&](qint32 id, bool imprimir) {
        chamadas << QStringLiteral("entrega %1 %2").arg(id).arg(imprimir);
        return true;
    };
    EXPECT_TRUE(
        Imprime_Cupom_NaoFiscal(l.dm, l.cfg, QStringLiteral(" Entregador "), 5, true, nuvem));
    EXPECT_TRUE(Imprime_Cupom_NaoFiscal(l.dm, l.cfg, QStringLiteral("Enviada"), 900, false, nuvem));
    EXPECT_EQ(chamadas,
              (QStringList{QStringLiteral("entrega 5 1"), QStringLiteral("cupom 900 0")}));
    EXPECT_FALSE(l.dir.exists("PreImpressao.txt"));
    // Until the sales list gives its cloud prints, those rows print nothing.
    EXPECT_FALSE(Imprime_Cupom_NaoFiscal(l.dm, l.cfg, QStringLiteral("Enviada"), 900, true));

    EXPECT_TRUE(Imprime_Cupom_NaoFiscal(l.dm, l.cfg, QStringLiteral("  "), 8, true, nuvem));
    EXPECT_EQ(l.editor.size(), 1);
    EXPECT_EQ(chamadas.size(), 2);
}

TEST(Cupom, PreviewButtonSwallowsEveryError) {
    Loja l;
    vendas(l);
    // A port the machine does not have.
    l.perfil("001", Impressora::Matricial, QStringLiteral("LPT9"));
    Circ_Cupom_PrintClick(l.dm, l.cfg, TLista_Selecao{8, QString()});
    EXPECT_EQ(MessageBox::shown(),
              QStringList{QStringLiteral("Deseja Imprimir o Cupom Não Fiscal?")});
    MessageBox::clearShown();
    Circ_Cupom_PrintClick(l.dm, l.cfg, std::nullopt);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST(Cupom, CheckoutPrintsWhenTheSettingsSaySo) {
    for (bool imprimir_venda : {false, true}) {
        SCOPED_TRACE(imprimir_venda);
        Loja l;
        vendas(l);
        l.perfil("001", Impressora::Bloco_Notas, QStringLiteral("Abrir Arquivo"));
        l.cfg.conf_imprimir_venda = imprimir_venda;
        Venda_Imprimir_Cupom(l.dm, l.cfg, 7);
        EXPECT_EQ(l.dir.exists("PreImpressao.txt"), imprimir_venda);
        EXPECT_EQ(l.editor.size(), imprimir_venda ? 1 : 0);
        EXPECT_EQ(MessageBox::shown().size(), imprimir_venda ? 1 : 0);
    }
}

} // namespace
