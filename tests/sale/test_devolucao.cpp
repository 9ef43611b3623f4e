// The returns window: F9 on the sale screen, driven by the operator's keys.

#include "foundation/MessageBox.h"
#include "sale/Devolucao_Unit.h"
#include "sale/Principal_Unit.h"
#include "sale/Produtos_Lista_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include "support/Balcao.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `acao` in the returns window that F9 opens, as the active window; a window left
// open is closed with Esc. False when none opened.
bool devolucao(Balcao& b, const std::function<void(TDevolucao&)>& acao) {
    bool aberta = false;
    QTimer vez; // dies with this call: a window that never opened leaves no timer behind
    vez.setSingleShot(true);
    QObject::connect(&vez, &QTimer::timeout, [&] {
        auto* j = dynamic_cast<TDevolucao*>(QApplication::activeModalWidget());
        if (!j) return;
        aberta = true;
        QApplication::setActiveWindow(j); // as the desktop makes it
        acao(*j);
        if (j->isVisible()) QTest::keyClick(j->Edt_Client_CPF, Qt::Key_Escape);
    });
    vez.start(0);
    b.teclar(Qt::Key_F9);
    QApplication::setActiveWindow(&b.w());
    return aberta;
}

// Leaves a box as the operator does, with Tab, and lets the lookup that follows run.
void sair(QWidget* w) {
    QTest::keyClick(w, Qt::Key_Tab);
    QCoreApplication::processEvents();
}

} // namespace

TEST(Devolucao, ALookupOpensASaleThatOutlivesTheWindow) {
    Balcao b;
    ASSERT_EQ(b.w().Venda.Venda_ID, 0);
    ASSERT_TRUE(devolucao(b, [&](TDevolucao& j) {
        EXPECT_EQ(j.windowTitle(), QString::fromUtf8("Devolução de mercadorias"));
        EXPECT_EQ(j.Cbx_Motivo->count(), 4);
        EXPECT_EQ(j.Cbx_Motivo->currentText(),
                  QString::fromUtf8("Erro de mercadoria   (Voltará ao estoque)"));
        // The sale screen's names are offered.
        EXPECT_EQ(j.Cbx_Prod_Nome->count(), b.w().Vendas().Edt_Prod_Busca->count());

        j.Edt_Prod_CBarra->setFocus();
        QTest::keyClicks(j.Edt_Prod_CBarra, "7891000100011");
        sair(j.Edt_Prod_CBarra);
        EXPECT_EQ(j.Cbx_Prod_Nome->currentText(), "Arroz Branco 5kg");
        EXPECT_EQ(j.Edt_Prod_Unitario->text(), "27,90");
        EXPECT_EQ(j.Spn_Venda_Qtd->value(), 1);
        EXPECT_EQ(j.Edt_Prod_Total->text(), "27,90");
        EXPECT_EQ(QApplication::focusWidget(), j.Edt_Prod_Unitario);
        EXPECT_GT(b.w().Venda.Venda_ID, 0);

        // A code the catalogue does not know clears the product.
        j.Edt_Prod_CBarra->setFocus();
        j.Edt_Prod_CBarra->setText("999999");
        sair(j.Edt_Prod_CBarra);
        EXPECT_EQ(j.Cbx_Prod_Nome->currentText(), "");
        EXPECT_EQ(j.Edt_Prod_CBarra->text(), "");
        EXPECT_EQ(j.Edt_Prod_Unitario->text(), "");
        EXPECT_EQ(j.Spn_Venda_Qtd->value(), 0);
        EXPECT_EQ(j.Produto.Prod_ID, 0);

        QTest::keyClick(j.Edt_Prod_CBarra, Qt::Key_Escape);
        EXPECT_FALSE(j.isVisible());
    }));
    EXPECT_GT(b.w().Venda.Venda_ID, 0);
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Title->text(), "Produtos");
    EXPECT_EQ(b.w().Vendas().Lbx_Cupom->model()->rowCount(), 0);
    EXPECT_EQ(b.sql("select count(*) from venda where concluido=0"), "1");
    EXPECT_EQ(b.sql("select count(*) from venda_produtos"), "0");
    EXPECT_EQ(b.w().focusWidget(), b.w().Vendas().Edt_Prod_Busca);
}

TEST(Devolucao, ANameOfSeveralProductsOpensTheProductList) {
    Balcao b;
    QString buscado;
    ASSERT_TRUE(devolucao(b, [&](TDevolucao& j) {
        QTimer lista;
        lista.setSingleShot(true);
        QObject::connect(&lista, &QTimer::timeout, [&] {
            auto* l = dynamic_cast<TProdutos_Lista*>(QApplication::activeModalWidget());
            if (!l) return;
            buscado = l->Edt_Prod_Busca->text();
            l->BtVender_Click(); // the first row, chosen on the second press
            l->BtVender_Click();
        });
        lista.start(0);
        j.Cbx_Prod_Nome->setFocus();
        j.Cbx_Prod_Nome->setEditText(QString::fromUtf8("Café"));
        sair(j.Cbx_Prod_Nome);
        EXPECT_TRUE(j.Lab_Prod_Aviso->isVisible());
        EXPECT_FALSE(j.Edt_Prod_CBarra->text().isEmpty());
        EXPECT_TRUE(j.Cbx_Prod_Nome->currentText().startsWith(QString::fromUtf8("Café ")));
        EXPECT_EQ(j.Spn_Venda_Qtd->value(), 1);
    }));
    EXPECT_EQ(buscado, QString::fromUtf8("Café"));
}

TEST(Devolucao, ThePriceAndQuantityShownAreTheProducts) {
    Balcao b;
    ASSERT_TRUE(devolucao(b, [&](TDevolucao& j) {
        j.Edt_Prod_CBarra->setFocus();
        QTest::keyClicks(j.Edt_Prod_CBarra, "7891000100028"); // 8,49
        sair(j.Edt_Prod_CBarra);

        QTest::keyClick(j.Edt_Prod_Unitario, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(j.Edt_Prod_Unitario, "7,00");
        QTest::keyClick(j.Edt_Prod_Unitario, Qt::Key_Return); // on to the quantity
        EXPECT_EQ(QApplication::focusWidget(), j.Spn_Venda_Qtd);
        QTest::keyClick(j.Spn_Venda_Qtd, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(j.Spn_Venda_Qtd, "3");
        QTest::keyClick(j.Spn_Venda_Qtd, Qt::Key_Return);

        EXPECT_EQ(j.Edt_Prod_Unitario->text(), "8,49");
        EXPECT_EQ(j.Spn_Venda_Qtd->value(), 1);
        EXPECT_EQ(j.Edt_Prod_Total->text(), "8,49");
    }));
}

TEST(Devolucao, GerarCreditoOnlyAcknowledges) {
    Balcao b;
    const struct {
        const char* caso;
        std::function<QWidget*(TDevolucao&)> onde;
        bool avanca; // Enter also moves to the next box
    } casos[] = {
        {"the button", [](TDevolucao& j) { return j.Rct_BtGerar; }, false},
        {"Enter in the sale's code", [](TDevolucao& j) { return j.Edt_Venda_Cod; }, true},
        {"Enter in the reasons", [](TDevolucao& j) { return j.Cbx_Motivo; }, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        MessageBox::clearShown();
        ASSERT_TRUE(devolucao(b, [&](TDevolucao& j) {
            QWidget* w = c.onde(j);
            if (w == j.Rct_BtGerar) {
                j.Rct_BtGerar->click();
            } else {
                w->setFocus();
                QTest::keyClick(w, Qt::Key_Return);
            }
            EXPECT_TRUE(j.isVisible());
            if (c.avanca) {
                EXPECT_EQ(QApplication::focusWidget(), j.Edt_Prod_CBarra);
            }
        }));
        EXPECT_EQ(MessageBox::shown(), QStringList{"ok"});
    }
    // Enter in the other boxes only moves on.
    MessageBox::clearShown();
    devolucao(b, [&](TDevolucao& j) {
        j.Edt_Client_CPF->setFocus();
        QTest::keyClick(j.Edt_Client_CPF, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), j.Cbx_Client_Nome);
    });
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(b.sql("select count(*) from venda"), "0");
}
