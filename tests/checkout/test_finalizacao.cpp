// The checkout window opened by F3 on the sale screen, driven by the operator's keys.

#include "checkout/Clientes_Lista_Unit.h"
#include "checkout/Finalizacao_Unit.h"
#include "checkout/Pix_Pagina_Unit.h"
#include "cloud/WebAPI.h"
#include "foundation/DModule_Unit.h"
#include "foundation/Database.h"
#include "foundation/MessageBox.h"
#include "sale/Principal_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include "support/Balcao.h"
#include "support/CloudSim.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// The default catalogue and a product at 73,50.
void catalogo(db::Connection& c) {
    Balcao::Catalogo_Padrao(c);
    c.exec(QStringLiteral(
        "insert into produtos (id, ativo, produto, cbarra, medida, venda, estoque, grupo, marca,"
        " promocao, promocao_min, dt_promocao) values (50, 1, 'Cesta Basica', '7891000100500',"
        " 'UN', 73.50, 100, 'Mercearia', 'X', 0, 0, '2024-01-01 00:00:00')"));
}

// The catalogue, a monthly plan in 3 and customers with their credit.
void comCrediario(db::Connection& c) {
    catalogo(c);
    c.exec(QStringLiteral("insert into pagamentos (id, plano, parcelas, periodicidade, carencia,"
                          " alt_carencia) values (7, '3X MENSAL', 3, 30, 30, 1)"));
    c.exec(QStringLiteral(
        "insert into clientes (id, nome, cpf_cnpj, credito, cred_limite, cred_restante) values"
        " (10, 'MARIA', '12345678909', 'Concedido', 500, 100),"
        " (11, 'JOAO', '98765432100', 'Negativado', 1000, 1000)"));
}

void semSugestao(TSettings& s) {
    s.conf_sugerir_valor = false;
}

// The signed-in operator is no employee: the seller comes from the last checkout.
void anaVendeu(Balcao& b) {
    b.w().Config.Vendedor_Nome_Old = QStringLiteral("Ana");
}

// Opens a sale with one item by barcode.
void venda(Balcao& b, const char* cbarra = "7891000100500") {
    b.teclar(Qt::Key_F2);
    b.w().Vendas().Produto_Busca(QString::fromLatin1(cbarra));
    b.w().Vendas().Produto_Insert();
}

// Presses F3 on the sale screen and runs `acao` on the checkout window while it is open;
// a window still open afterwards is closed with Esc. True when the checkout opened.
bool checkout(Balcao& b, const std::function<void(TFinalizacao&)>& acao) {
    bool aberto = false;
    QTimer::singleShot(0, [&] {
        auto* f = dynamic_cast<TFinalizacao*>(QApplication::activeModalWidget());
        if (!f) return;
        aberto = true;
        acao(*f);
        if (f->isVisible()) QTest::keyClick(f->Edt_PG_Dinheiro, Qt::Key_Escape);
    });
    b.teclar(Qt::Key_F3);
    return aberto;
}

void digitar(QLineEdit* e, const QString& texto) {
    e->setText(texto);
    QTest::keyClick(e, Qt::Key_Return);
}

TEST(Finalizacao, CashAloneConcludesTheSale) {
    Balcao b({}, catalogo);
    anaVendeu(b);
    venda(b);
    const qint32 id = b.w().Venda.Venda_ID;
    bool fechou = false;
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        EXPECT_EQ(f.Lab_Cupom_Total->text(), "73,50");
        EXPECT_EQ(f.Edt_PG_Dinheiro->text(), "73,50"); // suggested
        EXPECT_TRUE(f.Lbx_Item_Troco->isHidden());
        EXPECT_EQ(f.Edt_PG_Restante->text(), "0,00");
        EXPECT_EQ(f.Cbx_Entregador->currentText(), "SEM ENTREGA");
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        fechou = !f.isVisible();
    }));
    EXPECT_TRUE(fechou);
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join("; ").toStdString();
    EXPECT_EQ(b.sql(QStringLiteral("select entrada || ' ' || troco || ' ' || prazo || ' ' || "
                                   "concluido || ' ' || venda_total from venda where id=%1")
                        .arg(id)),
              "73.5 0.0 0.0 1 73.5");
    EXPECT_EQ(b.sql("select count(*) from venda_produtos where concluido<>1"), "0");
    // The sale screen is free for the next sale.
    EXPECT_EQ(b.w().Venda.Venda_ID, 0);
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Total->text(), "0,00");
}

TEST(Finalizacao, CashAboveTheTotalGivesChange) {
    Balcao b(semSugestao, catalogo);
    anaVendeu(b);
    venda(b);
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        EXPECT_EQ(f.Edt_PG_Dinheiro->text(), "0,00");
        digitar(f.Edt_PG_Dinheiro, "100");
        EXPECT_EQ(f.Edt_PG_Dinheiro->text(), "100,00");
        EXPECT_FALSE(f.Lbx_Item_Troco->isHidden());
        EXPECT_TRUE(f.Lbx_Item_Rest->isHidden());
        EXPECT_EQ(f.Edt_PG_Troco->text(), "26,50");
        QTest::keyClick(f.Edt_PG_PIX, Qt::Key_F3);
    }));
    EXPECT_EQ(b.sql("select entrada || ' ' || troco || ' ' || prazo || ' ' || concluido "
                    "from venda"),
              "73.5 26.5 0.0 1");
}

TEST(Finalizacao, CreditWithoutAPlanIsRefusedOnThePlanPage) {
    Balcao b(semSugestao, catalogo);
    anaVendeu(b);
    venda(b);
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        digitar(f.Edt_PG_Dinheiro, "50,00");
        EXPECT_EQ(f.Edt_PG_Restante->text(), "23,50");
        QTest::keyClick(f.Edt_PG_PIX, Qt::Key_F3);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Pag_Restante);
        EXPECT_EQ(f.Lab_Rest_MsgErro->text(), "Adicione o Plano de Pagamento");
        // Typed amounts stay.
        EXPECT_EQ(f.Edt_PG_Dinheiro->text(), "50,00");
    }));
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join("; ").toStdString();
    EXPECT_EQ(b.sql("select count(*) from venda where concluido=1"), "0");
    EXPECT_GT(b.w().Venda.Venda_ID, 0); // Esc leaves the sale open
}

TEST(Finalizacao, CreditThroughPlanAndCustomer) {
    struct Caso {
        const char* nome;
        const char* cpf;
        const char* dinheiro;
        bool plano;
        const char* mensagem; // empty: saved
        const char* titulo;
    };
    const Caso casos[] = {
        {"credit within the remaining credit", "123.456.789-09", "0,00", true, "",
         "Identificação do Cliente"},
        {"above the remaining credit", "12345678909", "-", true,
         "O valor da compra não foi aprovado.", "Alerta de Crédito!"},
        {"customer with negative credit", "98765432100", "50,00", true,
         "O valor da compra não foi aprovado.", "Cliente Negativado!"},
        {"negative customer paying cash", "98765432100", "73,50", false, "",
         "Identificação do Cliente"},
        {"credit without a customer", "", "50,00", true, "", "Identificação do Cliente"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        Balcao b(semSugestao, comCrediario);
        anaVendeu(b);
        // Two items (73,50 + 27,90 = 101,40) exceed the 100,00 remaining on credit.
        venda(b);
        if (QByteArray(c.dinheiro) == "-") b.w().Vendas().Produto_Busca("7891000100011");
        if (QByteArray(c.dinheiro) == "-") b.w().Vendas().Produto_Insert();
        b.w().Venda.Venda_Cliente_CPF = QString::fromUtf8(c.cpf);
        bool fechou = false;
        ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
            const QString din = QByteArray(c.dinheiro) == "-" ? "0,00" : c.dinheiro;
            digitar(f.Edt_PG_Dinheiro, din);
            if (c.plano) {
                f.Cbx_Rest_Plano->setCurrentIndex(f.Cbx_Rest_Plano->findText("3X MENSAL"));
                f.Cbx_Rest_Plano->activated(f.Cbx_Rest_Plano->currentIndex());
                EXPECT_EQ(f.Lbx_Rest_Plano->count(), 3);
            }
            QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
            fechou = !f.isVisible();
            if (!fechou) {
                EXPECT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Cliente);
                EXPECT_EQ(f.Lab_Client_Title->text(), QString::fromUtf8(c.titulo));
            }
        }));
        const bool salva = QByteArray(c.mensagem).isEmpty() && QByteArray(c.cpf) != "";
        EXPECT_EQ(fechou, salva);
        EXPECT_EQ(MessageBox::shown().join("; "), QString::fromUtf8(c.mensagem));
        EXPECT_EQ(b.sql("select count(*) from venda where concluido=1"), salva ? "1" : "0");
        if (salva && c.plano) {
            EXPECT_EQ(b.sql("select cliente_id || ' ' || plano_id || ' ' || plano_parcelas"
                            " from venda where concluido=1"),
                      "10 7 3");
        }
    }
}

TEST(Finalizacao, F11InTheSellerListSearchesTheCustomer) {
    Balcao b(semSugestao, comCrediario);
    anaVendeu(b);
    venda(b);
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        EXPECT_EQ(f.Lab_Client_Nome->text(), "Cliente não identificado");
        // MARIA chosen, then the window closed without a choice: she stays.
        for (const char* escolha : {"123.456.789-09", ""}) {
            QTimer::singleShot(0, [&] {
                auto* l = dynamic_cast<TClientes_Lista*>(QApplication::activeModalWidget());
                ASSERT_NE(l, nullptr);
                l->CPF_CNPJ = QString::fromUtf8(escolha);
                l->accept();
            });
            QTest::keyClick(f.Cbx_Vendedor, Qt::Key_F11);
            EXPECT_EQ(f.focusWidget(), f.Cbx_Entregador);
            EXPECT_EQ(f.Lab_Client_Nome->text(), "MARIA");
            EXPECT_EQ(b.w().Venda.Venda_Cliente_ID, 10);
        }
        EXPECT_EQ(b.w().Venda.Venda_Cliente_CPF, "12345678909");
        EXPECT_EQ(f.Lab_Client_CPF->text(), "CPF: 12345678909");
    }));
}

TEST(Finalizacao, CardRowsMustCoverTheCardAmount) {
    Balcao b(semSugestao, [](db::Connection& c) {
        catalogo(c);
        c.exec(
            QStringLiteral("insert into cartoes (id, operadora) values (1, 'REDE'), (2, 'CIELO')"));
    });
    anaVendeu(b);
    venda(b);
    const qint32 id = b.w().Venda.Venda_ID;
    bool fechou = false;
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        f.Edt_PG_Cartao->setText("73,50");
        QTest::keyClick(f.Edt_PG_Cheque, Qt::Key_Return);
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        // No card rows yet: the card page, ready for the whole amount.
        EXPECT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Pag_Cartao);
        EXPECT_EQ(f.Edt_Cart_Valor->text(), "73,50");
        EXPECT_EQ(f.Cbx_Cart_Operad->currentText(), "CIELO");
        EXPECT_TRUE(MessageBox::shown().isEmpty());

        f.Cbx_Cart_Forma->setCurrentText(QString::fromUtf8("Débito"));
        EXPECT_EQ(f.Spn_Cart_Parcelas->maximum(), 1);
        f.Cbx_Cart_Forma->setCurrentText(QString::fromUtf8("Crédito"));
        f.Spn_Cart_Parcelas->setValue(3);
        f.Edt_Cart_Valor->setText("50,00");
        f.Bt_Cart_AdicionarClick();
        EXPECT_EQ(f.Lbx_Cartao->count(), 1);
        EXPECT_EQ(f.Edt_Cart_Valor->text(), "23,50");
        EXPECT_EQ(f.focusWidget(), f.Cbx_Cart_Forma);

        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        EXPECT_EQ(MessageBox::shown(), QStringList{QString::fromUtf8(
                                           "O pagamento em cartão não atingiu sua totalidade.")});
        EXPECT_TRUE(f.isVisible());

        // The rest covers it: finalising returns to the customer page, then saves.
        f.Spn_Cart_Parcelas->setValue(1);
        f.Bt_Cart_AdicionarClick();
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Cliente);
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        fechou = !f.isVisible();
    }));
    EXPECT_TRUE(fechou);
    EXPECT_EQ(b.sql(QStringLiteral("select cartao || ' ' || entrada from venda where id=%1 and "
                                   "concluido=1")
                        .arg(id)),
              "73.5 0.0");
    EXPECT_EQ(b.sql(QStringLiteral("select group_concat(operadora || ' ' || valor || ' ' || "
                                   "parcelas, '; ') from venda_cartao where venda_id=%1")
                        .arg(id)),
              "CIELO 50.0 3; CIELO 23.5 1");
}

TEST(Finalizacao, ChequeNeedsItsPageAndACustomer) {
    Balcao b(semSugestao, comCrediario);
    anaVendeu(b);
    venda(b);
    const qint32 id = b.w().Venda.Venda_ID;
    b.w().Venda.Venda_Cliente_CPF = QStringLiteral("12345678909");
    bool fechou = false;
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        digitar(f.Edt_PG_Dinheiro, "43,50");
        f.Edt_PG_Cheque->setText("30,00");
        QTest::keyClick(f.Edt_PG_Cheque, Qt::Key_Return);
        EXPECT_EQ(f.Edt_PG_Restante->text(), "0,00");
        // Each missing detail in turn opens the cheque page on it, without a message.
        struct Passo {
            QWidget* foco;
            std::function<void()> preenche;
        };
        const Passo passos[] = {
            {f.Edt_Cheq_Cliente, [&] { f.Edt_Cheq_Cliente->setText("MARIA"); }},
            {f.Edt_Cheq_Numero, [&] { f.Edt_Cheq_Numero->setText("000123"); }},
            {f.Cbx_Cheq_Banco, [&] { f.Cbx_Cheq_Banco->setCurrentText("ITAU"); }},
            {f.Edt_Cheq_Conta, [&] { f.Edt_Cheq_Conta->setText("4455-6"); }},
        };
        for (const Passo& p : passos) {
            QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
            EXPECT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Pag_Cheque);
            EXPECT_EQ(f.focusWidget(), p.foco);
            p.preenche();
        }
        // Complete: back to the customer page first, then saved.
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        EXPECT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Cliente);
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        fechou = !f.isVisible();
    }));
    EXPECT_TRUE(fechou);
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join("; ").toStdString();
    EXPECT_EQ(b.sql(QStringLiteral("select cheque || ' ' || entrada || ' ' || cliente_id from "
                                   "venda where id=%1 and concluido=1")
                        .arg(id)),
              "30.0 43.5 10");
    EXPECT_EQ(b.sql("select cliente || ' ' || banco || ' ' || numero || ' ' || conta from "
                    "venda_cheque"),
              "MARIA ITAU 000123 4455-6");
}

TEST(Finalizacao, PlanScheduleFollowsTheFirstDate) {
    Balcao b(semSugestao, comCrediario);
    anaVendeu(b);
    venda(b);
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        digitar(f.Edt_PG_Dinheiro, "0,00");
        f.Cbx_Rest_Plano->setCurrentIndex(f.Cbx_Rest_Plano->findText("3X MENSAL"));
        f.Cbx_Rest_Plano->activated(f.Cbx_Rest_Plano->currentIndex());
        EXPECT_EQ(f.Dt_Plano_Primeira->date(), QDate::currentDate().addDays(30));
        ASSERT_EQ(f.Lbx_Rest_Plano->count(), 3);
        EXPECT_TRUE(
            f.Lbx_Rest_Plano->item(0)->text().startsWith(QString::fromUtf8("01° PACELA DE 03")));
        EXPECT_TRUE(f.Lbx_Rest_Plano->item(2)->text().endsWith("R$ 24,50"));
        f.Dt_Plano_Primeira->setDate(QDate(2027, 1, 31));
        EXPECT_EQ(b.w().Venda.Plano_Dt_Primeira, QDate(2027, 1, 31));
        EXPECT_TRUE(f.Lbx_Rest_Plano->item(1)->text().contains("28/02"));
    }));
}

TEST(Finalizacao, SellerRememberedFromOneCheckoutToTheNext) {
    Balcao b({}, catalogo);
    anaVendeu(b);
    venda(b);
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        f.Cbx_Vendedor->setCurrentIndex(f.Cbx_Vendedor->findText("Bruno"));
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
    }));
    EXPECT_EQ(b.sql("select vendedor_id from venda where concluido=1"), "2");
    EXPECT_EQ(b.w().Config.Vendedor_Nome_Old, "Bruno");

    venda(b, "7891000100011");
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        EXPECT_EQ(f.Cbx_Vendedor->currentText(), "Bruno");
        EXPECT_EQ(f.Vendedor_ID, 2);
    }));
}

TEST(Finalizacao, NoSellerSelectedIsRefusedFirst) {
    Balcao b({}, catalogo);
    b.w().Config.Vendedor_Nome_Old = QStringLiteral("Carla"); // no longer an employee
    venda(b);
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        EXPECT_EQ(f.Cbx_Vendedor->currentIndex(), -1);
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.focusWidget(), f.Cbx_Vendedor);
    }));
    EXPECT_EQ(MessageBox::shown(),
              QStringList{"Selecione o Vendedor Comissionado antes de finalizar a venda."});
    EXPECT_EQ(b.sql("select count(*) from venda where concluido=1"), "0");
}

TEST(Finalizacao, EnterWalksThePaymentFieldsShown) {
    Balcao b(
        [](TSettings& s) {
            semSugestao(s);
            s.conf_FormaPG_Che = false;
        },
        catalogo);
    venda(b);
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        EXPECT_TRUE(f.Lbx_Item_Cheq->isHidden());
        f.Edt_PG_Dinheiro->setFocus();
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_Return);
        EXPECT_EQ(f.focusWidget(), f.Edt_PG_PIX);
        QTest::keyClick(f.Edt_PG_PIX, Qt::Key_Return);
        EXPECT_EQ(f.focusWidget(), f.Edt_PG_Cartao);
        // The card field is the last one shown: on to the customer page.
        QTest::keyClick(f.Edt_PG_Cartao, Qt::Key_Return);
        EXPECT_EQ(f.focusWidget(), f.Cbx_Vendedor);
    }));
}

TEST(Finalizacao, ASaveThatFailsKeepsTheWindowOpenAndSavesNothing) {
    Balcao b({}, catalogo);
    anaVendeu(b);
    venda(b);
    const qint32 id = b.w().Venda.Venda_ID;
    b.dm().FDConnection1.exec(
        QStringLiteral("create trigger falha before update on venda_produtos begin"
                       " select raise(abort, 'disco cheio'); end"));
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        EXPECT_TRUE(f.isVisible());
    }));
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_TRUE(MessageBox::shown().first().contains("disco cheio"));
    EXPECT_EQ(b.sql("select count(*) from venda where concluido=1"), "0");
    EXPECT_EQ(b.sql("select count(*) from venda_produtos where concluido=1"), "0");
    EXPECT_EQ(b.w().Venda.Venda_ID, id);
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Total->text(), "73,50");
}

TEST(Finalizacao, CardPaymentsSurviveReopeningTheCheckout) {
    Balcao b(semSugestao, [](db::Connection& c) {
        catalogo(c);
        c.exec(QStringLiteral("insert into cartoes (id, operadora) values (1, 'REDE')"));
    });
    anaVendeu(b);
    venda(b);
    const qint32 id = b.w().Venda.Venda_ID;
    // Each pass types 73,50 by card, finalises to reach the card page and adds 60,00.
    auto cartao60 = [](TFinalizacao& f) {
        f.Edt_PG_Cartao->setText("73,50");
        QTest::keyClick(f.Edt_PG_Cheque, Qt::Key_Return);
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        ASSERT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Pag_Cartao);
        f.Edt_Cart_Valor->setText("60,00");
        QTest::keyClick(f.Bt_Cart_Adicionar, Qt::Key_Space);
    };
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        EXPECT_EQ(f.Lbx_Cartao->count(), 0);
        cartao60(f);
        EXPECT_EQ(f.Edt_Cart_Valor->text(), "13,50");
        // 60,00 of 73,50 does not cover it.
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        EXPECT_EQ(MessageBox::shown(), QStringList{QString::fromUtf8(
                                           "O pagamento em cartão não atingiu sua totalidade.")});
    }));
    EXPECT_EQ(b.w().Venda.Venda_ID, id);
    MessageBox::clearShown();

    bool fechou = false;
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        ASSERT_EQ(f.Lbx_Cartao->count(), 1); // the payment of the first window is still there
        EXPECT_EQ(f.Total_Cartao, 60.0);
        cartao60(f); // 120,00 covers it and finalising goes on to the customer page
        EXPECT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Cliente);
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        fechou = !f.isVisible();
    }));
    EXPECT_TRUE(fechou);
    // Only the refusal before the second payment.
    EXPECT_EQ(MessageBox::shown(), QStringList{QString::fromUtf8(
                                       "O pagamento em cartão não atingiu sua totalidade.")});
    EXPECT_EQ(b.sql(QStringLiteral("select group_concat(valor, ' ') from venda_cartao where "
                                   "venda_id=%1")
                        .arg(id)),
              "60.0 60.0");
    // The next sale starts without them.
    EXPECT_TRUE(b.w().DSet_Cartao.isEmpty());
}

TEST(Finalizacao, CashAndPixCoveringTheTotalResetCardAndCheque) {
    Balcao b(semSugestao, catalogo);
    venda(b);
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        f.Edt_PG_Dinheiro->setText("50,00");
        f.Edt_PG_PIX->setText("30,00");
        f.Edt_PG_Cartao->setText("10,00");
        f.Edt_PG_Cheque->setText("5,00");
        f.Edt_PG_Cheque->setFocus();
        QTest::keyClick(f.Edt_PG_Cheque, Qt::Key_Return);
        EXPECT_EQ(f.Edt_PG_Cartao->text(), "0,00");
        EXPECT_EQ(f.Edt_PG_Cheque->text(), "0,00");
        EXPECT_EQ(f.Edt_PG_Troco->text(), "6,50");
        EXPECT_TRUE(f.Lbx_Item_Rest->isHidden());
    }));
}

TEST(Finalizacao, ALockedFirstDateLetsEnterInThePlanListFinalise) {
    Balcao b(semSugestao, [](db::Connection& c) {
        comCrediario(c);
        c.exec(QStringLiteral("insert into pagamentos (id, plano, parcelas, periodicidade,"
                              " carencia, alt_carencia) values (8, '1X 30 DIAS', 1, 30, 30, 0)"));
    });
    anaVendeu(b);
    venda(b);
    b.w().Venda.Venda_Cliente_CPF = QStringLiteral("12345678909");
    bool fechou = false;
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        digitar(f.Edt_PG_Dinheiro, "0,00");
        f.Cbx_Rest_Plano->setCurrentIndex(f.Cbx_Rest_Plano->findText("1X 30 DIAS"));
        f.Cbx_Rest_Plano->activated(f.Cbx_Rest_Plano->currentIndex());
        EXPECT_FALSE(f.Dt_Plano_Primeira->isEnabled());
        EXPECT_EQ(f.Dt_Plano_Primeira->date(), QDate::currentDate().addDays(30));
        f.Cbx_Rest_Plano->setFocus();
        QTest::keyClick(f.Cbx_Rest_Plano, Qt::Key_Return); // to the customer page first
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        fechou = !f.isVisible();
    }));
    EXPECT_TRUE(fechou);
    EXPECT_EQ(b.sql("select plano_id || ' ' || prazo || ' ' || plano_dt_primeira from venda"
                    " where concluido=1"),
              QStringLiteral("8 73.5 ") +
                  QDate::currentDate().addDays(30).toString(QStringLiteral("yyyy-MM-dd")));
}

TEST(Finalizacao, ANewCustomerRegisteredWithTheCepLookupBuysOnCredit) {
    CloudSim sim;
    qputenv("ONDAVIA_CEP_HOST", ("http://" + sim.host()).toUtf8());
    Balcao b(semSugestao, comCrediario);
    anaVendeu(b);
    venda(b);
    const qint32 id = b.w().Venda.Venda_ID;
    bool fechou = false;
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        QTimer::singleShot(0, [&] {
            auto* l = dynamic_cast<TClientes_Lista*>(QApplication::activeModalWidget());
            ASSERT_NE(l, nullptr);
            QTest::keyClick(l->Edt_Busca, Qt::Key_Insert);
            QTest::keyClick(l->Edt_Client_CPF, Qt::Key_F2);
            QTest::keyClick(l->Edt_Client_CPF, Qt::Key_Return);
            l->Cbx_Client_Nome->setEditText("ROSA MARIA");
            QTest::keyClick(l->Cbx_Client_Nome, Qt::Key_Return);
            QTest::keyClicks(l->Edt_Client_CEP, "20040002");
            QTest::keyClick(l->Edt_Client_CEP, Qt::Key_F3);
            EXPECT_EQ(l->Edt_Client_End->text(), "RUA DA ASSEMBLEIA");
            l->Edt_Client_Fone->setText("21998765432");
            QTest::keyClick(l->Edt_Client_Referencia, Qt::Key_F5);
        });
        QTest::keyClick(f.Cbx_Vendedor, Qt::Key_F11);
        EXPECT_EQ(f.Lab_Client_Nome->text(), "Rosa Maria");
        EXPECT_EQ(f.Lab_Cred_Situacao->text(), "Avaliacao");
        digitar(f.Edt_PG_Dinheiro, "0,00");
        f.Cbx_Rest_Plano->setCurrentIndex(f.Cbx_Rest_Plano->findText("3X MENSAL"));
        f.Cbx_Rest_Plano->activated(f.Cbx_Rest_Plano->currentIndex());
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        fechou = !f.isVisible();
    }));
    qunsetenv("ONDAVIA_CEP_HOST");
    EXPECT_TRUE(fechou);
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join("; ").toStdString();
    EXPECT_EQ(b.sql(QStringLiteral("select c.nome || '|' || c.endereco || '|' || c.cidade || '|'"
                                   " || c.estado || '|' || v.prazo || '|' || v.plano_id from venda"
                                   " v join clientes c on c.id = v.cliente_id where v.id=%1 and"
                                   " v.concluido=1")
                        .arg(id)),
              "Rosa Maria|Rua da Assembleia|RIO DE JANEIRO|RJ|73.5|7");
}

TEST(Finalizacao, AFailedUploadEndsTheActionBeforeTheReceipt) {
    for (bool enviou : {false, true}) {
        SCOPED_TRACE(enviou);
        Balcao b(
            [](TSettings& s) {
                s.conf_enviar_venda = true;
                s.conf_imprimir_venda = true;
                s.conf_imprimir_pedido = true;
            },
            catalogo);
        anaVendeu(b);
        QList<qint32> enviadas, impressas, pedidos;
        b.w().Ganchos_.Venda_Enviar = [&](qint32 id) {
            enviadas << id;
            return enviou;
        };
        b.w().Ganchos_.Venda_Imprimir = [&](qint32 id) { impressas << id; };
        b.w().Ganchos_.Venda_Pedido = [&](qint32 id) { pedidos << id; };
        venda(b);
        const qint32 id = b.w().Venda.Venda_ID;
        ASSERT_TRUE(checkout(
            b, [&](TFinalizacao& f) { QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3); }));
        EXPECT_EQ(enviadas, QList<qint32>{id});
        EXPECT_EQ(impressas, enviou ? QList<qint32>{id} : QList<qint32>{});
        EXPECT_EQ(pedidos, enviou ? QList<qint32>{id} : QList<qint32>{});
        // Saved either way.
        EXPECT_EQ(b.sql("select count(*) from venda where concluido=1"), "1");
    }
}

TEST(Finalizacao, PixWaitsOnItsPageUntilTheChargeIsPaid) {
    Balcao b(semSugestao, catalogo);
    anaVendeu(b);
    CloudSim sim;
    sim.usar();
    TPrincipal& w = b.w();
    w.WebAPI_URL = WebAPI_Base(w.Config.conf_ProtHTTP);
    w.Config.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
    w.Config.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
    w.Config.conf_enviar_venda = true;
    venda(b);
    const qint32 id = w.Venda.Venda_ID;
    bool fechou = false;
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        f.Edt_PG_Dinheiro->setText("50,00");
        f.Edt_PG_PIX->setText("23,50");
        QTest::keyClick(f.Edt_PG_Cheque, Qt::Key_Return);
        // The first finalise asks for the charge and shows it.
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        EXPECT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Pag_Pix);
        EXPECT_NE(f.Pix->Lab_Pix_Chave->text(), "Carregando...");
        EXPECT_FALSE(f.Pix->Img_QRCode->pixmap().isNull());
        EXPECT_FALSE(f.Pix->pix.pix_ok);
        // Not paid yet: the second asks again and learns it is paid; the third goes back
        // to the customer page, as from any other page, and the fourth saves.
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(f.Pix->pix.pix_ok);
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        EXPECT_EQ(f.TbCtrl_Pagamento->currentWidget(), f.TbCtrl_Cliente);
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
        fechou = !f.isVisible();
    }));
    EXPECT_TRUE(fechou);
    EXPECT_EQ(sim.requests("pix").size(), 2);
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join("; ").toStdString();
    EXPECT_EQ(b.sql(QStringLiteral("select pix || ' ' || entrada || ' ' || venda_status from"
                                   " venda where id=%1 and concluido=1")
                        .arg(id)),
              "23.5 50.0 1"); // uploaded and accepted
    EXPECT_EQ(sim.requests("upload_venda").size(), 1);
}

TEST(Finalizacao, AnUploadThatFailsLeavesTheSaleConcludedAndUnsent) {
    Balcao b(
        [](TSettings& s) {
            semSugestao(s);
            s.conf_enviar_venda = true;
            s.conf_imprimir_venda = true;
        },
        catalogo);
    anaVendeu(b);
    CloudSim sim;
    sim.usar();
    TPrincipal& w = b.w();
    w.WebAPI_URL = WebAPI_Base(w.Config.conf_ProtHTTP);
    sim.falhar("upload_venda", "500");
    QList<qint32> impressas;
    w.Ganchos_.Venda_Imprimir = [&](qint32 id) { impressas << id; };
    venda(b);
    const qint32 id = w.Venda.Venda_ID;
    ASSERT_TRUE(checkout(b, [&](TFinalizacao& f) {
        digitar(f.Edt_PG_Dinheiro, "73,50");
        QTest::keyClick(f.Edt_PG_Dinheiro, Qt::Key_F3);
    }));
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_TRUE(MessageBox::shown()[0].startsWith("Erro ao conectar-se a API"));
    EXPECT_TRUE(impressas.isEmpty());
    EXPECT_EQ(b.sql(QStringLiteral("select concluido || ' ' || venda_status from venda where"
                                   " id=%1")
                        .arg(id)),
              "1 0");
}

} // namespace
