#include "checkout/Finalizacao_Core.h"
#include "foundation/Database.h"
#include "foundation/Errors.h"
#include "foundation/Schema.h"
#include "sale/Venda_Core.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <functional>

namespace {

TFinaliza_Campos campos(const char* total, const char* din, const char* pix = "0,00",
                        const char* car = "0,00", const char* che = "0,00") {
    TFinaliza_Campos c;
    c.Lab_Cupom_Total = QString::fromUtf8(total);
    c.Edt_PG_Dinheiro = QString::fromUtf8(din);
    c.Edt_PG_PIX = QString::fromUtf8(pix);
    c.Edt_PG_Cartao = QString::fromUtf8(car);
    c.Edt_PG_Cheque = QString::fromUtf8(che);
    return c;
}

// ---- recompute -------------------------------------------------------------------------

TEST(FinalizaCalc, PaymentRowsFromTotalAndTypedAmounts) {
    struct Case {
        const char* nome;
        TFinaliza_Campos entrada;
        const char *din, *pix, *car, *che, *rest, *troco;
        bool trocoVisivel;
    };
    const Case cases[] = {
        {"cash above total gives change", campos("73,50", "100,00"), "100,00", "0,00", "0,00",
         "0,00", "0,00", "26,50", true},
        {"cash equal to total", campos("50,00", "50,00"), "50,00", "0,00", "0,00", "0,00", "0,00",
         "0", false},
        {"cash and PIX cover: card and cheque reset",
         campos("80,00", "50,00", "30,00", "20,00", "10,00"), "50,00", "30,00", "0,00", "0,00",
         "0,00", "0", false},
        {"cash and PIX above total", campos("80,00", "50,00", "40,00"), "50,00", "40,00", "0,00",
         "0,00", "0,00", "10,00", true},
        {"cash short: the rest on credit", campos("80,00", "50,00"), "50,00", "0,00", "0,00",
         "0,00", "30,00", "0", false},
        {"card and cheque count when cash falls short",
         campos("100,00", "10,00", "0,00", "50,00", "20,00"), "10,00", "0,00", "50,00", "20,00",
         "20,00", "0", false},
        {"card above what is open gives change", campos("100,00", "0,00", "0,00", "150,00"), "0,00",
         "0,00", "150,00", "0,00", "0,00", "50,00", true},
        {"thousands", campos("1.234,56", "2.000,00"), "2.000,00", "0,00", "0,00", "0,00", "0,00",
         "765,44", true},
        {"unformatted typing is rewritten", campos("10,00", "3,5", "1"), "3,50", "1,00", "0,00",
         "0,00", "5,50", "0", false},
        // 0,70 + 0,10 falls just short of 0,80 in floating point: paid in full all the same.
        {"no credit out of rounding noise", campos("0,80", "0,70", "0,10"), "0,70", "0,10", "0,00",
         "0,00", "0,00", "0", false},
        {"no change out of rounding noise", campos("0,30", "0,10", "0,20"), "0,10", "0,20", "0,00",
         "0,00", "0,00", "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        const TFinaliza_Calc r = Venda_Finaliza_Calc(c.entrada);
        EXPECT_EQ(r.Campos.Edt_PG_Dinheiro, c.din);
        EXPECT_EQ(r.Campos.Edt_PG_PIX, c.pix);
        EXPECT_EQ(r.Campos.Edt_PG_Cartao, c.car);
        EXPECT_EQ(r.Campos.Edt_PG_Cheque, c.che);
        EXPECT_EQ(r.Campos.Edt_PG_Restante, c.rest);
        EXPECT_EQ(r.Campos.Edt_PG_Troco, c.troco);
        EXPECT_EQ(r.Troco_Visivel, c.trocoVisivel);
        EXPECT_EQ(r.Restante_Visivel, !c.trocoVisivel);
        EXPECT_EQ(r.Campos.Lab_Cupom_Total, c.entrada.Lab_Cupom_Total);
    }
}

// ---- card payments ---------------------------------------------------------------------

TCartao_Entrada cartao(const char* valor, const char* pgCartao = "100,00") {
    TCartao_Entrada e;
    e.Forma = QStringLiteral("Crédito");
    e.Parcelas = 3;
    e.Valor = QString::fromUtf8(valor);
    e.Proprietario = QStringLiteral("  MARIA SILVA ");
    e.Operadora = QStringLiteral("REDEX");
    e.Operadoras = {QStringLiteral("CIELOX"), QStringLiteral("REDEX")};
    e.Edt_PG_Cartao = QString::fromUtf8(pgCartao);
    return e;
}

TEST(CartaoAdicionar, SixtyThenFortyCompleteAHundredAndAThirdIsRefused) {
    TDSet_Cartao t;
    TCartao_Resultado r = Cartao_Adicionar(t, cartao("60,00"));
    ASSERT_TRUE(r.Adicionado);
    EXPECT_EQ(r.Edt_Cart_Valor, "40,00");
    EXPECT_DOUBLE_EQ(r.Total_Cartao, 60);
    EXPECT_FALSE(r.Finalizar);
    EXPECT_EQ(r.Foco, "Cbx_Cart_Forma");

    r = Cartao_Adicionar(t, cartao("40,00"));
    ASSERT_TRUE(r.Adicionado);
    EXPECT_EQ(r.Edt_Cart_Valor, "0,00");
    EXPECT_DOUBLE_EQ(r.Total_Cartao, 100);
    EXPECT_TRUE(r.Finalizar);

    r = Cartao_Adicionar(t, cartao("10,00"));
    EXPECT_FALSE(r.Adicionado);
    EXPECT_EQ(r.Mensagem, "O valor pago em cartão já é maior qu o valor informado.");
    EXPECT_EQ(r.Foco, "Edt_PG_Cartao");
    EXPECT_TRUE(r.Mostra_Pagina);
    ASSERT_EQ(t.Linhas().size(), 2);

    const TCartao_Linha& l = t.Linhas().first();
    EXPECT_EQ(l.operadora, "REDEX");
    EXPECT_EQ(l.forma, "Crédito");
    EXPECT_EQ(l.cliente, "MARIA SILVA");
    EXPECT_DOUBLE_EQ(l.valor, 60);
    EXPECT_EQ(l.parcelas, 3);
}

TEST(CartaoAdicionar, RefusalsLeaveTheTableAsItWas) {
    struct Case {
        const char* nome;
        std::function<void(TCartao_Entrada&)> muda;
        const char* mensagem;
        const char* foco;
    };
    const Case cases[] = {
        {"no form", [](TCartao_Entrada& e) { e.Forma.clear(); }, "Preencha a Forma de pagamento.",
         "Cbx_Cart_Forma"},
        {"no instalments", [](TCartao_Entrada& e) { e.Parcelas = 0; },
         "Preencha a Quantidade de Parcelas.", "Spn_Cart_Parcelas"},
        {"instalments that round to none", [](TCartao_Entrada& e) { e.Parcelas = 0.4; },
         "Preencha a Quantidade de Parcelas.", "Spn_Cart_Parcelas"},
        {"no value", [](TCartao_Entrada& e) { e.Valor = QStringLiteral("0,00"); },
         "Preencha o valor corretamente.", "Edt_Cart_Valor"},
        {"no card amount at all",
         [](TCartao_Entrada& e) { e.Edt_PG_Cartao = QStringLiteral("0,00"); },
         "O valor pago em cartão já é maior qu o valor informado.", "Edt_PG_Cartao"},
        {"no card operator registered",
         [](TCartao_Entrada& e) {
             e.Operadora.clear();
             e.Operadoras.clear();
         },
         "Nenhuma operadora de cartão cadastrada. Sincronize os dados antes de lançar o "
         "pagamento em cartão.",
         "Cbx_Cart_Operad"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        TDSet_Cartao t;
        TCartao_Entrada e = cartao("30,00");
        c.muda(e);
        const TCartao_Resultado r = Cartao_Adicionar(t, e);
        EXPECT_FALSE(r.Adicionado);
        EXPECT_EQ(r.Mensagem, QString::fromUtf8(c.mensagem));
        EXPECT_EQ(r.Foco, c.foco);
        EXPECT_TRUE(t.isEmpty());
    }
}

TEST(CartaoAdicionar, RowsTakeTheFirstOperatorDebitOneInstalmentAndMayExceedTheAmount) {
    TDSet_Cartao t;
    TCartao_Entrada e = cartao("120,00");
    e.Forma = QStringLiteral("Débito");
    e.Parcelas = 5;
    e.Operadora.clear();
    const TCartao_Resultado r = Cartao_Adicionar(t, e);
    ASSERT_TRUE(r.Adicionado);
    EXPECT_EQ(t.Linhas()[0].operadora, "CIELOX");
    EXPECT_EQ(t.Linhas()[0].parcelas, 1);
    // The value added is not held to what is left: the rows may pass the card amount.
    EXPECT_TRUE(r.Finalizar);
    EXPECT_EQ(r.Edt_Cart_Valor, "0,00");

    EXPECT_EQ(Cartao_Parcelas_Max(QStringLiteral("Débito")), 1);
    EXPECT_EQ(Cartao_Parcelas_Max(QStringLiteral("Crédito")), 100);

    // Rounding noise must not keep a covered amount open.
    TDSet_Cartao s;
    EXPECT_FALSE(Cartao_Adicionar(s, cartao("0,70", "0,80")).Finalizar);
    EXPECT_TRUE(Cartao_Adicionar(s, cartao("0,10", "0,80")).Finalizar);
}

TEST(CartaoLista, DeleteLowersTheSumAndIdsAreNotReused) {
    TDSet_Cartao t;
    TCartao_Linha l;
    l.valor = 10;
    const qint32 a = t.Append(l);
    l.valor = 25.5;
    const qint32 b = t.Append(l);
    EXPECT_NE(a, b);
    EXPECT_DOUBLE_EQ(t.SUM_Valor(), 35.5);
    EXPECT_TRUE(t.Delete(a));
    EXPECT_FALSE(t.Delete(a));
    EXPECT_DOUBLE_EQ(t.SUM_Valor(), 25.5);
    const qint32 c = t.Append(l);
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    ASSERT_EQ(t.Linhas().size(), 2);
    EXPECT_EQ(t.Linhas()[0].id, b); // table order kept
    t.Clear();
    EXPECT_DOUBLE_EQ(t.SUM_Valor(), 0);

    TCartao_Linha m{7, QStringLiteral("REDEX"), QStringLiteral("Crédito"), QString(), 1060, 3};
    const TCartao_Textos x = Cartao_Linha_Textos(m);
    EXPECT_EQ(x.Operadora, "REDEX");
    EXPECT_EQ(x.Forma, "Cré");
    EXPECT_EQ(x.Parcelas, "3x");
    EXPECT_EQ(x.Valor, "R$ 1.060,00");
    EXPECT_EQ(Cartao_Valor_Restante(100, 160), "0,00");
    EXPECT_EQ(Cartao_Valor_Restante(100, 60), "40,00");
}

// ---- plans and schedules ---------------------------------------------------------------

QStringList dias(const QList<TPlano_Linha>& linhas) {
    QStringList r;
    for (const TPlano_Linha& l : linhas)
        r << l.Data.toString(QStringLiteral("dd/MM/yyyy"));
    return r;
}

TEST(PlanoList, MonthlyFortnightlyAndWeeklySteps) {
    struct Case {
        const char* nome;
        QDate primeira;
        int parcelas;
        int periodicidade;
        QStringList datas;
    };
    const Case cases[] = {
        {"monthly from the 31st, common year",
         QDate(2025, 1, 31),
         3,
         30,
         {"31/01/2025", "28/02/2025", "28/03/2025"}},
        {"monthly from the 31st, leap year",
         QDate(2024, 1, 31),
         3,
         30,
         {"31/01/2024", "29/02/2024", "29/03/2024"}},
        {"monthly across the year",
         QDate(2025, 11, 30),
         3,
         30,
         {"30/11/2025", "30/12/2025", "30/01/2026"}},
        {"fortnightly", QDate(2025, 3, 1), 3, 15, {"01/03/2025", "16/03/2025", "31/03/2025"}},
        {"weekly", QDate(2025, 2, 20), 3, 7, {"20/02/2025", "27/02/2025", "06/03/2025"}},
        {"31 days is not monthly", QDate(2025, 1, 31), 2, 31, {"31/01/2025", "03/03/2025"}},
        {"instalments rounded", QDate(2025, 3, 1), 0, 30, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        EXPECT_EQ(dias(Plano_List(c.primeira, c.parcelas, 100, c.periodicidade)), c.datas);
    }
    EXPECT_EQ(Plano_List(QDate(2025, 3, 1), 2.6, 90, 30).size(), 3);
    EXPECT_TRUE(Plano_List(QDate(2025, 3, 1), -2, 90, 30).isEmpty());
}

TEST(PlanoList, EveryLineShowsTheSameRoundedShare) {
    const QList<TPlano_Linha> l = Plano_List(QDate(2025, 4, 14), 3, 100, 30);
    ASSERT_EQ(l.size(), 3);
    const char* parcelas[] = {"01° PACELA DE 03", "02° PACELA DE 03", "03° PACELA DE 03"};
    const char* datas[] = {"14/04 Seg", "14/05 Qua", "14/06 Sáb"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(l[i].Parcela, QString::fromUtf8(parcelas[i]));
        EXPECT_EQ(l[i].Dia, QString::fromUtf8(datas[i]));
        EXPECT_EQ(l[i].Valor, "R$ 33,33");
    }
    EXPECT_EQ(Plano_List(QDate(2025, 4, 14), 12, 1000, 30)[11].Parcela, "12° PACELA DE 12");
    EXPECT_EQ(Plano_List(QDate(2025, 4, 14), 2, 2000.01, 30)[1].Valor, "R$ 1.000,01");
}

class PlanoAbreTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
        conn.exec("insert into pagamentos (id, plano, parcelas, acrecimo, periodicidade, carencia, "
                  "alt_carencia) values (4, 'CREDIARIO 3X', 3, 2.5, 30, 31, 0), "
                  "(9, 'QUINZENAL', 4, 0, 15, 10, 1)");
    }
    TestDir dir;
    db::Connection conn;
};

TEST_F(PlanoAbreTest, FoundByNameOrIdAndNotFound) {
    const QDate hoje(2025, 1, 31);
    TPlano p = Plano_Abre(conn, QStringLiteral("CREDIARIO 3X"), 0, hoje);
    EXPECT_EQ(p.Plano_ID, 4);
    EXPECT_EQ(p.Plano_Parcelas, 3);
    EXPECT_DOUBLE_EQ(p.Plano_Acrecimo, 2.5);
    EXPECT_EQ(p.Plano_Periodicidade, 30);
    EXPECT_EQ(p.Plano_Dt_Primeira, QDate(2025, 3, 3));
    EXPECT_FALSE(p.Data_Habilitada);
    EXPECT_FALSE(p.Parcelas_Habilitada);
    EXPECT_EQ(dias(Plano_List(p.Plano_Dt_Primeira, p.Plano_Parcelas, 90, p.Plano_Periodicidade)),
              (QStringList{"03/03/2025", "03/04/2025", "03/05/2025"}));
    // A leap year's February has one day more.
    EXPECT_EQ(
        Plano_Abre(conn, QStringLiteral("CREDIARIO 3X"), 0, QDate(2024, 1, 31)).Plano_Dt_Primeira,
        QDate(2024, 3, 2));

    p = Plano_Abre(conn, QString(), 9, hoje);
    EXPECT_EQ(p.Plano_Nome, "QUINZENAL");
    EXPECT_TRUE(p.Data_Habilitada);
    EXPECT_FALSE(p.Parcelas_Habilitada);

    p = Plano_Abre(conn, QStringLiteral("'; drop table pagamentos; --"), 0, hoje);
    EXPECT_EQ(p.Plano_ID, 0);
    EXPECT_EQ(p.Plano_Nome, "Não informado");
    EXPECT_EQ(p.Plano_Parcelas, 1);
    EXPECT_DOUBLE_EQ(p.Plano_Acrecimo, 0);
    EXPECT_EQ(p.Plano_Periodicidade, 30);
    EXPECT_EQ(p.Plano_Dt_Primeira, QDate(2025, 2, 28));
    EXPECT_TRUE(p.Data_Habilitada);
    EXPECT_TRUE(p.Parcelas_Habilitada);

    TVenda v;
    Plano_Aplica(v, Plano_Abre(conn, QStringLiteral("QUINZENAL"), 0, hoje));
    EXPECT_EQ(v.Plano_ID, 9);
    EXPECT_EQ(v.Plano_Parcelas, 4);
    EXPECT_EQ(v.Plano_Periodicidade, 15);
    EXPECT_EQ(v.Plano_Dt_Primeira, QDate(2025, 2, 10));
}

// ---- finalise checks -------------------------------------------------------------------

TEST(FinalizaValidar, FirstRefusalInOrder) {
    using P = Finaliza_Pagina;
    using R = Finaliza_Recusa;
    TDSet_Cartao sessenta, centoVinte;
    TCartao_Linha l;
    l.valor = 60;
    sessenta.Append(l);
    l.valor = 120;
    centoVinte.Append(l);
    const TDSet_Cartao vazio;

    TFinaliza_Estado valido;
    valido.Vendedor_Selecionado = true;
    valido.Plano_ID = 0;
    valido.Venda_Cliente_ID = 0;

    TCheque chequeCompleto;
    chequeCompleto.Cliente = QStringLiteral("JOAO");
    chequeCompleto.Numero = QStringLiteral("000123");
    chequeCompleto.Banco = QStringLiteral("BRADESCO");
    chequeCompleto.Conta = QStringLiteral("4567-8");

    struct Case {
        const char* nome;
        TFinaliza_Campos campos;
        std::function<void(TFinaliza_Estado&)> muda;
        const TDSet_Cartao* cartoes;
        R recusa;
        P pagina;
        const char* foco;
        const char* mensagem;
    };
    auto nada = [](TFinaliza_Estado&) {};
    const Case cases[] = {
        {"cash covers everything", campos("73,50", "100,00"), nada, &vazio, R::Nenhuma, P::Cliente,
         "", ""},
        {"no seller comes before any other check", campos("0,00", "0,00", "0,00", "100,00", "5,00"),
         [](TFinaliza_Estado& e) {
             e.Vendedor_Selecionado = false;
             e.Credito_Aprovado = false;
         },
         &vazio, R::Vendedor, P::Cliente, "Cbx_Vendedor",
         "Selecione o Vendedor Comissionado antes de finalizar a venda."},
        {"credit refused", campos("80,00", "80,00"),
         [](TFinaliza_Estado& e) { e.Credito_Aprovado = false; }, &vazio, R::Credito, P::Cliente,
         "", "O valor da compra não foi aprovado."},
        {"nothing to pay", campos("0,00", "0,00"), nada, &vazio, R::Valores, P::Cliente,
         "Edt_PG_Dinheiro", "Preencha os valores das formas de pagamento."},
        {"cheque page empty", campos("80,00", "0,00", "0,00", "0,00", "80,00"), nada, &vazio,
         R::Cheque, P::Cheque, "Edt_Cheq_Cliente", ""},
        {"cheque without number", campos("80,00", "0,00", "0,00", "0,00", "80,00"),
         [](TFinaliza_Estado& e) {
             e.Cheque.Cliente = QStringLiteral("JOAO");
             e.Cheque.Numero = QStringLiteral("abc");
         },
         &vazio, R::Cheque, P::Cheque, "Edt_Cheq_Numero", ""},
        {"cheque without bank", campos("80,00", "0,00", "0,00", "0,00", "80,00"),
         [&](TFinaliza_Estado& e) {
             e.Cheque = chequeCompleto;
             e.Cheque.Banco.clear();
         },
         &vazio, R::Cheque, P::Cheque, "Cbx_Cheq_Banco", ""},
        {"cheque without account", campos("80,00", "0,00", "0,00", "0,00", "80,00"),
         [&](TFinaliza_Estado& e) {
             e.Cheque = chequeCompleto;
             e.Cheque.Conta = QStringLiteral(" - ");
         },
         &vazio, R::Cheque, P::Cheque, "Edt_Cheq_Conta", ""},
        {"cheque complete needs a customer", campos("80,00", "0,00", "0,00", "0,00", "80,00"),
         [&](TFinaliza_Estado& e) { e.Cheque = chequeCompleto; }, &vazio, R::Cliente, P::Cliente,
         "", ""},
        {"cheque complete with a customer", campos("80,00", "0,00", "0,00", "0,00", "80,00"),
         [&](TFinaliza_Estado& e) {
             e.Cheque = chequeCompleto;
             e.Venda_Cliente_ID = 5;
         },
         &vazio, R::Nenhuma, P::Cliente, "", ""},
        {"PIX asks for the charge", campos("80,00", "0,00", "80,00"), nada, &vazio, R::Pix, P::Pix,
         "", ""},
        {"PIX with the charge shown", campos("80,00", "0,00", "80,00"),
         [](TFinaliza_Estado& e) { e.pix_ok = true; }, &vazio, R::Nenhuma, P::Cliente, "", ""},
        {"PIX with a plan needs no charge", campos("80,00", "0,00", "80,00"),
         [](TFinaliza_Estado& e) { e.Plano_ID = 4; }, &vazio, R::Nenhuma, P::Cliente, "", ""},
        {"card without rows", campos("100,00", "0,00", "0,00", "100,00"), nada, &vazio,
         R::Cartao_Vazio, P::Cartao, "Cbx_Cart_Forma", ""},
        {"card rows of 60 on 100", campos("100,00", "0,00", "0,00", "100,00"), nada, &sessenta,
         R::Cartao_Incompleto, P::Cartao, "Cbx_Cart_Forma",
         "O pagamento em cartão não atingiu sua totalidade."},
        {"card rows of 120 on 100", campos("100,00", "0,00", "0,00", "100,00"), nada, &centoVinte,
         R::Nenhuma, P::Cliente, "", ""},
        {"credit without a plan", campos("80,00", "50,00"), nada, &vazio, R::Plano, P::Restante,
         "Cbx_Rest_Plano", "Adicione o Plano de Pagamento"},
        {"credit with a plan and no customer", campos("80,00", "50,00"),
         [](TFinaliza_Estado& e) { e.Plano_ID = 4; }, &vazio, R::Cliente, P::Cliente, "", ""},
        {"credit with a plan and a customer", campos("80,00", "50,00"),
         [](TFinaliza_Estado& e) {
             e.Plano_ID = 4;
             e.Venda_Cliente_ID = 5;
         },
         &vazio, R::Nenhuma, P::Cliente, "", ""},
        {"paid to the cent through rounding noise", campos("0,80", "0,70", "0,10"),
         [](TFinaliza_Estado& e) { e.pix_ok = true; }, &vazio, R::Nenhuma, P::Cliente, "", ""},
        {"valid but from the card page", campos("100,00", "0,00", "0,00", "100,00"),
         [](TFinaliza_Estado& e) { e.Pagina_Atual = Finaliza_Pagina::Cartao; }, &centoVinte,
         R::Pagina, P::Cliente, "Cbx_Vendedor", ""},
        {"card rows checked before the page", campos("100,00", "0,00", "0,00", "100,00"),
         [](TFinaliza_Estado& e) { e.Pagina_Atual = Finaliza_Pagina::Cartao; }, &sessenta,
         R::Cartao_Incompleto, P::Cartao, "Cbx_Cart_Forma",
         "O pagamento em cartão não atingiu sua totalidade."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        TFinaliza_Estado e = valido;
        c.muda(e);
        const TFinaliza_Passo p = Finaliza_Validar(c.campos, e, *c.cartoes);
        EXPECT_EQ(int(p.Recusa), int(c.recusa));
        if (c.recusa == R::Nenhuma) continue;
        EXPECT_EQ(int(p.Pagina), int(c.pagina));
        EXPECT_EQ(p.Foco, c.foco);
        EXPECT_EQ(p.Mensagem, QString::fromUtf8(c.mensagem));
    }
}

// ---- save ------------------------------------------------------------------------------

class FinalizaGravaTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
        venda.Venda_ID = 7;
        venda.Venda_COD = QStringLiteral("PDV10007250305140935");
        venda.Venda_Desconto = 1.5;
        venda.Plano_Dt_Primeira = QDate(2025, 4, 5);
        VendaDB::Inserir(conn, venda.Venda_ID, venda.Venda_COD, QDate(2025, 3, 4));
        for (int i = 0; i < 3; ++i)
            conn.exec(QStringLiteral("insert into venda_produtos (venda_id, venda_cod, prod_geral, "
                                     "concluido, apagado) values (7, '%1', 25, 0, %2)")
                          .arg(venda.Venda_COD)
                          .arg(i == 1 ? 1 : 0));
        // Another sale's items stay as they are.
        conn.exec("insert into venda_produtos (venda_id, venda_cod, concluido, apagado) "
                  "values (8, 'OUTRA', 0, 1)");
        cheque.Cliente = QStringLiteral(" JOAO ");
        cheque.CPF = QStringLiteral("123.456.789-09");
        cheque.Banco = QStringLiteral("BRADESCO");
        cheque.Numero = QStringLiteral(" 000123 ");
        cheque.Agencia = QStringLiteral("0042");
        cheque.Conta = QStringLiteral("4567-8");
        cheque.Dt_Compensacao = QDate(2025, 4, 1);
        TCartao_Linha l{
            0, QStringLiteral("REDEX"), QStringLiteral("Crédito"), QStringLiteral("MARIA"), 30, 3};
        cartoes.Append(l);
        l.forma = QStringLiteral("Débito");
        l.valor = 20;
        l.parcelas = 1;
        cartoes.Append(l);
    }

    QString linha(const QString& sql) {
        db::Query q(conn);
        q.setSql(sql);
        q.open();
        QStringList r;
        for (; !q.eof(); q.next()) {
            QStringList campos;
            for (int c = 0; c < q.fieldCount(); ++c)
                campos << q.field(c).asString();
            r << campos.join(u'|');
        }
        return r.join(u'\n');
    }

    QString tudo() {
        return linha("select * from venda order by id") + u'\n' +
               linha("select * from venda_produtos order by id") + u'\n' +
               linha("select * from venda_cartao order by rowid") + u'\n' +
               linha("select * from venda_cheque order by rowid");
    }

    void grava(const TFinaliza_Campos& digitados) {
        const TFinaliza_Calc r = Venda_Finaliza_Calc(digitados);
        Venda_Finaliza_Grava(conn, venda, r.Campos, 12, 3, cheque, cartoes, hoje);
    }

    TestDir dir;
    db::Connection conn;
    TVenda venda;
    TCheque cheque;
    TDSet_Cartao cartoes;
    const QDate hoje{2025, 3, 5};
};

TEST_F(FinalizaGravaTest, CashAboveTheTotalKeepsTheTotalAndRecordsTheChange) {
    venda.Venda_Cliente_ID = 44; // without a CPF the sale has no customer
    venda.Venda_Entreg_endereco = QStringLiteral("RUA A, 1");
    grava(campos("73,50", "100,00"));
    EXPECT_EQ(linha("select id, venda_cod, venda_status, concluido, venda_frete, venda_desconto, "
                    "venda_acrecimo, venda_total, venda_obs, cliente_id, cliente_cpf, "
                    "entreg_endereco, vendedor_id, entregador_id, plano_id, plano_parcelas, "
                    "plano_dt_primeira, Dt_Venda, venda_dt_dia, venda_dt_mes, venda_dt_ano, "
                    "entrada, pix, cheque, cartao, prazo, troco from venda"),
              "7|PDV10007250305140935|0|1|0.0|1.5|0.0|73.5||0|||12|3|0|0|2025-04-05|2025-03-05|5|"
              "3|2025|73.5|0.0|0.0|0.0|0.0|26.5");
    const QString pedido = linha("select venda_dt_pedido from venda");
    EXPECT_TRUE(
        QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$").match(pedido).hasMatch())
        << pedido.toStdString();
    // The removed item is gone, the others are concluded; the other sale is untouched.
    EXPECT_EQ(linha("select venda_id, concluido, apagado from venda_produtos order by id"),
              "7|1|0\n7|1|0\n8|0|1");
    EXPECT_EQ(linha("select count(*) from venda_cartao"), "0");
    EXPECT_EQ(linha("select count(*) from venda_cheque"), "0");
}

TEST_F(FinalizaGravaTest, CustomerCardsAndChequeAreWrittenAndReplacedOnTheNextConclusion) {
    venda.Venda_Cliente_ID = 44;
    venda.Venda_Cliente_CPF = QStringLiteral(" 123.456.789-09 ");
    venda.Venda_Entreg_endereco = QStringLiteral(" RUA A, 1 ");
    venda.Venda_Entreg_cidade = QStringLiteral("RECIFE ");
    venda.Venda_Entreg_bairro = QStringLiteral(" BOA VISTA");
    venda.Venda_Entreg_cep = QStringLiteral("50000-000");
    venda.Plano_ID = 4;
    venda.Plano_Parcelas = 3;
    for (int vez = 0; vez < 2; ++vez) {
        SCOPED_TRACE(vez);
        grava(campos("150,00", "10,00", "0,00", "50,00", "40,00"));
        EXPECT_EQ(linha("select cliente_id, cliente_cpf, entreg_endereco, entreg_cidade, "
                        "entreg_bairro, entreg_cep, plano_id, plano_parcelas, entrada, cheque, "
                        "cartao, prazo, troco from venda"),
                  "44|12345678909|RUA A, 1|RECIFE|BOA VISTA|50000-000|4|3|10.0|40.0|50.0|50.0|0.0");
        EXPECT_EQ(linha("select venda_id, venda_cod, cliente, operadora, forma, valor, parcelas "
                        "from venda_cartao order by rowid"),
                  "7|PDV10007250305140935|MARIA|REDEX|Crédito|30.0|3\n"
                  "7|PDV10007250305140935|MARIA|REDEX|Débito|20.0|1");
        EXPECT_EQ(linha("select venda_id, venda_cod, cliente, cliente_cpf, banco, numero, conta, "
                        "agencia, dt_compensacao from venda_cheque"),
                  "7|PDV10007250305140935|JOAO|12345678909|BRADESCO|000123|4567-8|0042|2025-04-01");
    }
}

TEST_F(FinalizaGravaTest, ZeroCardAndChequeAmountsWriteNoRowsAndDropEarlierOnes) {
    // Concluded once with card and cheque, reopened, and paid in cash this time: the
    // card page and the card table still hold their entries.
    grava(campos("150,00", "60,00", "0,00", "50,00", "40,00"));
    ASSERT_EQ(linha("select count(*) from venda_cartao"), "2");
    ASSERT_EQ(linha("select count(*) from venda_cheque"), "1");
    grava(campos("150,00", "150,00", "0,00", "50,00", "40,00"));
    EXPECT_EQ(linha("select cheque, cartao, entrada from venda"), "0.0|0.0|150.0");
    EXPECT_EQ(linha("select count(*) from venda_cartao"), "0");
    EXPECT_EQ(linha("select count(*) from venda_cheque"), "0");
}

TEST_F(FinalizaGravaTest, AFailureAnywhereLeavesNothingHalfSaved) {
    struct Case {
        const char* nome;
        const char* gatilho;
    };
    const Case cases[] = {
        {"card insert", "create trigger falha before insert on venda_cartao begin "
                        "select raise(abort, 'falha no cartao'); end"},
        {"cheque insert", "create trigger falha before insert on venda_cheque begin "
                          "select raise(abort, 'falha no cheque'); end"},
        {"items concluded", "create trigger falha before update on venda_produtos begin "
                            "select raise(abort, 'falha nos itens'); end"},
        {"removed items", "create trigger falha before delete on venda_produtos begin "
                          "select raise(abort, 'falha nos itens'); end"},
    };
    // An earlier conclusion's rows, which a failed save must not lose either.
    conn.exec("insert into venda_cartao (venda_id, venda_cod, valor) values (7, 'x', 99)");
    conn.exec("insert into venda_cheque (venda_id, venda_cod, banco) "
              "values (7, 'PDV10007250305140935', 'REAL')");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        const QString antes = tudo();
        conn.exec(QString::fromUtf8(c.gatilho));
        try {
            grava(campos("150,00", "60,00", "0,00", "50,00", "40,00"));
            ADD_FAILURE() << "no error";
        } catch (const DbError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("falha"))) << e.what();
        }
        EXPECT_EQ(tudo(), antes);
        conn.exec("drop trigger falha");
    }
    EXPECT_EQ(linha("PRAGMA integrity_check"), "ok");
    // No transaction was left open: the same save goes through now.
    grava(campos("150,00", "60,00", "0,00", "50,00", "40,00"));
    EXPECT_EQ(linha("select concluido, cartao from venda"), "1|50.0");
    EXPECT_EQ(linha("select sum(valor) from venda_cartao"), "50.0");
    EXPECT_EQ(linha("PRAGMA integrity_check"), "ok");
}

} // namespace
