// The discount windows of the sale screen and the supervisor's permission.

#include "foundation/MessageBox.h"
#include "sale/Desconto_Core.h"
#include "sale/Desconto_Unit.h"
#include "sale/Principal_Unit.h"
#include "sale/Seguranca_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include "support/Balcao.h"
#include "support/CloudSim.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const char* CEM = "7891000102008";       // 100,00
const char* CINQUENTA = "7891000102015"; // 50,00

void catalogo(db::Connection& c) {
    Balcao::Catalogo_Padrao(c);
    c.exec("insert into produtos (id, ativo, produto, cbarra, medida, venda, estoque, grupo,"
           " marca, promocao, promocao_min, dt_promocao) values"
           " (200, 1, 'Produto Cem', '7891000102008', 'UN', 100, 10, 'X', 'Y', 0, 0,"
           "  '2024-01-01 00:00:00'),"
           " (201, 1, 'Produto Cinquenta', '7891000102015', 'UN', 50, 10, 'X', 'Y', 0, 0,"
           "  '2024-01-01 00:00:00')");
}

// Settings for a Balcao: items entered at once, the limit and the preselected kind.
std::function<void(TSettings&)> ajustes(double limite, int tipo = 0) {
    return [=](TSettings& s) {
        s.conf_prod_qtd = false;
        s.conf_prod_valor = false;
        s.conf_Desc_Limit = limite;
        s.conf_DescTipo = tipo;
    };
}

// Runs `acao` in the modal window of type J that `abrir` opens; a window left open is
// closed. False when none opened.
template <class J>
bool janela(const std::function<void()>& abrir, const std::function<void(J&)>& acao) {
    bool aberta = false;
    QTimer vez; // dies with this call: a window that never opened leaves no timer behind
    vez.setSingleShot(true);
    QObject::connect(&vez, &QTimer::timeout, [&] {
        auto* j = dynamic_cast<J*>(QApplication::activeModalWidget());
        if (!j) return;
        aberta = true;
        acao(*j);
        if (j->isVisible()) j->reject();
    });
    vez.start(0);
    abrir();
    return aberta;
}

// Types into a box as the operator does: what was there is replaced, key by key.
void digitar(QLineEdit* e, const QString& texto) {
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, texto);
}

QColor cor(QWidget* w) {
    w->ensurePolished();
    return w->palette().color(w->foregroundRole());
}

} // namespace

TEST(Desconto, TheLimitDecidesWhoMayConfirm) {
    const struct {
        const char* caso;
        double limite;
        int tipo;
        bool noTotal; // typed into the new-total box, else into the discount box
        const char* texto;
        const char* novoTotal;
        bool alem;
    } casos[] = {
        {"no limit", 0, 0, false, "50,00", "50,00", false},
        {"10 % on a limit of 10", 10, 1, false, "10", "90,00", false},
        {"10,01 in money on a limit of 10", 10, 0, false, "10,01", "89,99", true},
        {"a new total on the floor", 10, 0, true, "90,00", "90,00", false},
        {"a new total below the floor", 10, 1, true, "89,99", "89,99", true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        Balcao b(ajustes(c.limite, c.tipo), catalogo);
        b.buscar(CEM);
        bool pediu = false;
        EXPECT_TRUE(janela<TDesconto_Geral>(
            [&] { b.teclar(Qt::Key_F8); },
            [&](TDesconto_Geral& j) {
                EXPECT_EQ(j.Cbx_TipoDesc->currentIndex(), c.tipo);
                QLineEdit* caixa = c.noTotal ? j.Edt_Novo_Total : j.Edt_Desconto;
                digitar(caixa, QString::fromLatin1(c.texto));
                EXPECT_EQ(j.Edt_Novo_Total->text(), c.novoTotal);
                EXPECT_EQ(j.Limite(), c.alem);
                EXPECT_EQ(cor(j.Lab_Total_Novo), c.alem ? QColor(Qt::red) : QColor(Qt::black));
                EXPECT_EQ(cor(j.Edt_Desconto), c.alem ? QColor(Qt::red) : QColor(Qt::blue));

                // Beyond the limit the supervisor window opens; it is closed with Esc.
                QTimer seguranca;
                seguranca.setSingleShot(true);
                QObject::connect(&seguranca, &QTimer::timeout, [&] {
                    if (auto* s = dynamic_cast<TSeguranca*>(QApplication::activeModalWidget())) {
                        pediu = true;
                        QTest::keyClick(s->Edt_Usuario_Email, Qt::Key_Escape);
                    }
                });
                seguranca.start(0);
                if (!c.noTotal) QTest::keyClick(j.Edt_Desconto, Qt::Key_Return);
                QTest::keyClick(j.Edt_Novo_Total, Qt::Key_Return); // to the OK button
                EXPECT_TRUE(j.OK);
                QTest::keyClick(j.Rct_BtVender, Qt::Key_Return); // confirms
                EXPECT_EQ(j.isVisible(), c.alem);
                if (c.alem) {
                    EXPECT_EQ(j.focusWidget(), j.Edt_Desconto);
                }
            }));
        EXPECT_EQ(pediu, c.alem);
        if (c.alem) {
            EXPECT_EQ(MessageBox::shown(),
                      QStringList{QString::fromUtf8("Permissão não concedida para este usuário")});
            EXPECT_EQ(b.sql("select venda_desconto from venda"), "0.0");
        } else {
            EXPECT_EQ(b.w().Vendas().Lab_Cupom_Total->text(), c.novoTotal);
        }
    }
}

TEST(Desconto, SaleDiscountIsShownUnderTheList) {
    Balcao b(ajustes(0), catalogo);
    b.buscar(CINQUENTA);
    ASSERT_TRUE(janela<TDesconto_Geral>([&] { b.teclar(Qt::Key_F8); },
                                        [&](TDesconto_Geral& j) {
                                            EXPECT_EQ(j.windowTitle(), "Desconto Total");
                                            EXPECT_EQ(j.Edt_Desconto->text(), "0,00");
                                            EXPECT_EQ(j.Edt_Novo_Total->text(), "50,00");
                                            QTest::keyClick(j.Cbx_TipoDesc, Qt::Key_Return);
                                            EXPECT_EQ(j.focusWidget(), j.Edt_Desconto);
                                            digitar(j.Edt_Desconto, "5,00");
                                            QTest::keyClick(j.Edt_Desconto, Qt::Key_Return);
                                            EXPECT_EQ(j.Edt_Novo_Total->text(), "45,00");
                                            // F3, as its button says, confirms at once.
                                            QTest::keyClick(j.Edt_Novo_Total, Qt::Key_F3);
                                            EXPECT_FALSE(j.isVisible());
                                        }));
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Desc->text(), "Desc: R$ 5,00");
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Total->text(), "45,00");
    EXPECT_EQ(b.sql("select venda_desconto from venda"), "5.0");

    // Opened again: the discount given, in money whatever the preference.
    b.w().Config.conf_DescTipo = 1;
    janela<TDesconto_Geral>([&] { b.teclar(Qt::Key_F8); },
                            [&](TDesconto_Geral& j) {
                                EXPECT_EQ(j.Cbx_TipoDesc->currentIndex(), 0);
                                EXPECT_EQ(j.Edt_Desconto->text(), "5,00");
                                EXPECT_EQ(j.Edt_Novo_Total->text(), "45,00");
                                // A new total above the items is a negative discount, which the
                                // next opening still sees against the items' total.
                                digitar(j.Edt_Novo_Total, "55,00");
                                j.Rct_BtVender->click();
                            });
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Total->text(), "55,00");
    EXPECT_EQ(b.sql("select venda_desconto from venda"), "-5.0");
    janela<TDesconto_Geral>([&] { b.teclar(Qt::Key_F8); },
                            [&](TDesconto_Geral& j) {
                                EXPECT_EQ(j.Edt_Novo_Total->text(), "55,00");
                                j.Rct_BtVender->click();
                            });
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Total->text(), "55,00");
}

TEST(Desconto, ItemDiscount) {
    Balcao b(ajustes(0, 1), catalogo);
    b.buscar(CINQUENTA);
    b.buscar(CEM); // the last row is selected
    ASSERT_TRUE(janela<TDesconto_Item>([&] { b.w().Ganchos_.Desconto_Item(); },
                                       [&](TDesconto_Item& j) {
                                           EXPECT_EQ(j.windowTitle(), "Desconto no Item");
                                           EXPECT_EQ(j.Cbx_TipoDesc->currentIndex(), 1);
                                           // 75,00 of 100,00 in percent: 25 %.
                                           digitar(j.Edt_Novo_Total, "75,00");
                                           EXPECT_EQ(j.Edt_Desconto->text(), "25,00");
                                           j.Rct_BtVender->click();
                                       }));
    EXPECT_EQ(b.sql("select prod_desc || ' ' || prod_geral from venda_produtos where prod_id=200"),
              "25.0 75.0");
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Total->text(), "125,00");

    // Opened again on that item: its discount in money and its total before it.
    ASSERT_TRUE(janela<TDesconto_Item>([&] { b.w().Ganchos_.Desconto_Item(); },
                                       [&](TDesconto_Item& j) {
                                           EXPECT_EQ(j.Cbx_TipoDesc->currentIndex(), 1);
                                           EXPECT_EQ(j.Edt_Desconto->text(), "25,00");
                                           EXPECT_EQ(j.Edt_Novo_Total->text(), "100,00");
                                       }));
}

TEST(Desconto, F8ChoosesTheWindowByTheEntrysTotal) {
    Balcao b(
        [](TSettings& s) {
            ajustes(0)(s);
            s.conf_prod_qtd = true;
        },
        catalogo);
    b.buscar(CINQUENTA);
    b.teclar(Qt::Key_Return); // the quantity box enters it
    EXPECT_TRUE(janela<TDesconto_Geral>([&] { b.teclar(Qt::Key_F8); }, [](TDesconto_Geral&) {}));
    QApplication::setActiveWindow(&b.w()); // as the desktop does when the window closes
    // A product in the entry, not yet entered: its total reads above 0.
    b.buscar(CEM);
    ASSERT_GT(b.w().Vendas().Entrada_Total(), 0);
    EXPECT_TRUE(janela<TDesconto_Item>([&] { b.teclar(Qt::Key_F8); },
                                       [](TDesconto_Item& j) {
                                           EXPECT_EQ(j.Edt_Novo_Total->text(),
                                                     "50,00"); // the selected row's item
                                       }));
}

TEST(Desconto, NothingToDiscount) {
    const struct {
        const char* caso;
        bool venda;
        std::function<void(TPrincipal&)> abrir;
        const char* mensagem;
    } casos[] = {
        {"sale window, no open sale", false, Venda_DescontoGeral,
         "Não existe uma venda em aberto!"},
        {"item window, no open sale", false, Venda_DescontoItem, "Não existe uma venda em aberto!"},
        {"item window, no items", true, Venda_DescontoItem,
         "Não existem itens para serem cancelados!"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        Balcao b(ajustes(0), catalogo);
        if (c.venda) b.teclar(Qt::Key_F2);
        EXPECT_FALSE(janela<TDesconto>([&] { c.abrir(b.w()); }, [](TDesconto&) {}));
        EXPECT_EQ(MessageBox::shown(), QStringList{QString::fromUtf8(c.mensagem)});
    }
}

TEST(Desconto, TheSupervisorSignsOff) {
    CloudSim sim;
    const struct {
        const char* caso;
        const char* email;
        const char* senha;
        bool nuvem;
        bool concedida;
    } casos[] = {
        {"a supervisor", CloudSim::SUPERVISOR, CloudSim::SENHA_SUPERVISOR, true, true},
        {"a user without the right", CloudSim::EMAIL, CloudSim::SENHA, true, false},
        {"the cloud unreachable", CloudSim::SUPERVISOR, CloudSim::SENHA_SUPERVISOR, false, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        Balcao b(ajustes(10), catalogo);
        b.w().WebAPI_URL =
            c.nuvem ? "http://" + sim.host() + "/app" : QStringLiteral("http://127.0.0.1:1/app");
        b.buscar(CEM);
        bool perguntou = false;
        janela<TDesconto_Geral>(
            [&] { b.teclar(Qt::Key_F8); },
            [&](TDesconto_Geral& j) {
                digitar(j.Edt_Novo_Total, "80,00");
                QTimer seguranca;
                seguranca.setSingleShot(true);
                QObject::connect(&seguranca, &QTimer::timeout, [&] {
                    auto* s = dynamic_cast<TSeguranca*>(QApplication::activeModalWidget());
                    if (!s) return;
                    perguntou = true;
                    // The operator's e-mail is offered; the supervisor types their own.
                    EXPECT_EQ(s->Edt_Usuario_Email->text(), Balcao::EMAIL);
                    EXPECT_EQ(s->windowTitle(), QString::fromUtf8("Controle de permissões !"));
                    s->Edt_Usuario_Email->setText(QString::fromLatin1(c.email) + "  ");
                    QTest::keyClick(s->Edt_Usuario_Email, Qt::Key_Return);
                    EXPECT_EQ(s->focusWidget(), s->Edt_Usuario_Password);
                    QTest::keyClick(s->Edt_Usuario_Password, Qt::Key_Return); // no password yet
                    EXPECT_TRUE(s->isVisible());
                    QTest::keyClicks(s->Edt_Usuario_Password, QString::fromLatin1(c.senha));
                    QTest::keyClick(s->Edt_Usuario_Password, Qt::Key_Return);
                    EXPECT_FALSE(s->isVisible());
                });
                seguranca.start(0);
                j.Rct_BtVender->click();
            });
        EXPECT_TRUE(perguntou);
        EXPECT_EQ(b.sql("select venda_desconto from venda"), c.concedida ? "20.0" : "0.0");
        if (c.nuvem) {
            const QJsonArray campos =
                sim.requests("seguranca").last().toObject()["fields"].toArray();
            EXPECT_EQ(campos[0].toArray()[1].toString(), QString::fromLatin1(c.email)); // trimmed
        }
        sim.reset();
    }
}

TEST(Desconto, Figures) {
    const struct {
        double B, valor;
        bool percentual;
        double novoTotal, desconto;
    } casos[] = {
        {100, 10, true, 90, 10}, {100, 10, false, 90, 10}, {80, 25, true, 60, 25},
        {50, 5, false, 45, 5},   {0, 0, true, 0, 0}, // an empty sale has no percent
    };
    for (const auto& c : casos) {
        EXPECT_DOUBLE_EQ(Desconto_Novo_Total(c.B, c.valor, c.percentual), c.novoTotal);
        EXPECT_DOUBLE_EQ(Desconto_Do_Total(c.B, c.novoTotal, c.percentual), c.desconto);
    }
    // The floor of 19,90 with 10 % reached through the percent itself is within.
    EXPECT_FALSE(Desconto_Alem_Limite(19.9, Desconto_Novo_Total(19.9, 10, true), 10));
    EXPECT_TRUE(Desconto_Alem_Limite(19.9, 17.90, 10));
    EXPECT_FALSE(Desconto_Alem_Limite(19.9, 0, 0));
}
