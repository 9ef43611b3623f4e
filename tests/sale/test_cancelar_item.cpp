// The item cancellation window, opened by F4 and by "-" and a barcode on the sale screen.

#include "foundation/MessageBox.h"
#include "sale/Cancelamento_Core.h"
#include "sale/Cancelar_Item_Unit.h"
#include "sale/Principal_Unit.h"
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

void semCaixas(TSettings& s) {
    s.conf_prod_qtd = false;
    s.conf_prod_valor = false;
}

const char* ARROZ = "7891000100011";    // 27,90
const char* FEIJAO = "7891000100028";   // 8,49
const char* BISCOITO = "7891000100097"; // 3,50

// A sale with Arroz, Feijão and Biscoito, in that order.
void tresItens(Balcao& b) {
    for (const char* c : {ARROZ, FEIJAO, BISCOITO})
        b.buscar(QString::fromLatin1(c));
}

// Runs `acao` in the cancellation window that `abrir` opens; a window left open is closed
// with Esc. False when no window opened.
bool janela(const std::function<void()>& abrir, const std::function<void(TCancelar_Item&)>& acao) {
    bool aberta = false;
    QTimer vez; // dies with this call: a window that never opened leaves no timer behind
    vez.setSingleShot(true);
    QObject::connect(&vez, &QTimer::timeout, [&] {
        auto* j = dynamic_cast<TCancelar_Item*>(QApplication::activeModalWidget());
        if (!j) return;
        aberta = true;
        acao(*j);
        if (j->isVisible()) QTest::keyClick(j->Cbx_TipoCancel, Qt::Key_Escape);
    });
    vez.start(0);
    abrir();
    return aberta;
}

QStringList nomes(TPrincipal& w) {
    QStringList r;
    auto* m = w.Vendas().Lbx_Cupom->model();
    for (int i = 0; i < m->rowCount(); ++i)
        r << m->index(i, 0).data().toString();
    return r;
}

} // namespace

TEST(CancelarItem, F4ByLastItemAndByNumber) {
    Balcao b(semCaixas);
    tresItens(b);
    QListView* lista = b.w().Vendas().Lbx_Cupom;
    const bool aberta = janela(
        [&] { b.teclar(Qt::Key_F4); },
        [&](TCancelar_Item& j) {
            // Opens on the barcode kind with item 1 shown.
            EXPECT_EQ(j.Cbx_TipoCancel->currentText(), QString::fromUtf8("03 - Código de Barra"));
            EXPECT_EQ(j.Lab_Prod_Nome->text(), "Arroz Branco 5kg");
            EXPECT_EQ(j.Lab_Prod_Line2->text(), "7891000100011       1,00 X     27,90");
            EXPECT_EQ(j.Lab_Prod_Line3->text(), "27,90");
            EXPECT_EQ(j.Edt_CBarra->text(), ARROZ);
            EXPECT_EQ(j.focusWidget(), j.Cbx_TipoCancel);

            j.Cbx_TipoCancel->setCurrentIndex(0); // "01 - Ultimo Item"
            EXPECT_EQ(j.Lab_Prod_Nome->text(), QString::fromUtf8("Biscoito D'Ouro"));
            EXPECT_FALSE(j.Spn_ItemID->isEnabled());
            EXPECT_FALSE(j.Edt_CBarra->isEnabled());

            QTest::keyClick(j.Cbx_TipoCancel, Qt::Key_Down); // "02 - Por Numero"
            EXPECT_TRUE(j.Spn_ItemID->isEnabled());
            EXPECT_FALSE(j.Edt_CBarra->isEnabled());
            QTest::keyClick(j.Cbx_TipoCancel, Qt::Key_Return);
            EXPECT_EQ(j.focusWidget(), j.Spn_ItemID);
            QTest::keyClick(j.Spn_ItemID, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(j.Spn_ItemID, "2");
            EXPECT_EQ(j.Lab_Prod_Nome->text(), QString::fromUtf8("Feijão Carioca 1kg"));
            EXPECT_EQ(j.Edt_CBarra->text(), FEIJAO);
            EXPECT_EQ(lista->currentIndex().row(), 1); // selected on the sale screen

            QTest::keyClick(j.Spn_ItemID, Qt::Key_Return); // "Excluir Item"
            EXPECT_FALSE(j.isVisible());
        });
    ASSERT_TRUE(aberta);
    EXPECT_EQ(nomes(b.w()), (QStringList{"ARROZ BRANCO 5KG", "BISCOITO D'OURO"}));
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Total->text(), "31,40");
    // Deleted, not marked removed.
    EXPECT_EQ(b.sql("select count(*) from venda_produtos where prod_id=2"), "0");
    EXPECT_EQ(b.w().focusWidget(), b.w().Vendas().Edt_Prod_Busca);
}

TEST(CancelarItem, MinusAndABarcodeOpenOnThatItem) {
    Balcao b(semCaixas);
    tresItens(b);
    const bool aberta =
        janela([&] { b.buscar(QStringLiteral("-") + FEIJAO); },
               [&](TCancelar_Item& j) {
                   EXPECT_EQ(j.Lab_Prod_Nome->text(), QString::fromUtf8("Feijão Carioca 1kg"));
                   j.Rct_BtVender->click();
               });
    ASSERT_TRUE(aberta);
    EXPECT_EQ(nomes(b.w()), (QStringList{"ARROZ BRANCO 5KG", "BISCOITO D'OURO"}));
    EXPECT_TRUE(b.w().Vendas().Edt_Prod_Busca->currentText().isEmpty());
}

TEST(CancelarItem, AnUnknownBarcodeKeepsTheItemShownAndEscChangesNothing) {
    Balcao b(semCaixas);
    tresItens(b);
    EXPECT_TRUE(janela([&] { b.teclar(Qt::Key_F4); },
                       [&](TCancelar_Item& j) {
                           const qint64 antes = j.ProdID;
                           j.Edt_CBarra->setText("7890000000000");
                           QTest::keyClick(j.Edt_CBarra, Qt::Key_Return);
                           EXPECT_TRUE(j.isVisible()); // Enter in the barcode box only searches
                           EXPECT_EQ(j.ProdID, antes);
                           EXPECT_EQ(j.Lab_Prod_Nome->text(), "Arroz Branco 5kg");

                           j.Edt_CBarra->setText(BISCOITO);
                           QTest::keyClick(j.Edt_CBarra, Qt::Key_Return);
                           EXPECT_EQ(j.Lab_Prod_Nome->text(), QString::fromUtf8("Biscoito D'Ouro"));
                           QTest::keyClick(j.Edt_CBarra, Qt::Key_Escape);
                           EXPECT_FALSE(j.isVisible());
                       }));
    EXPECT_EQ(nomes(b.w()).size(), 3);
    EXPECT_EQ(b.sql("select count(*) from venda_produtos"), "3");
}

TEST(CancelarItem, TheSaleDiscountStaysWhole) {
    Balcao b(semCaixas);
    tresItens(b); // 39,89
    b.dm().FDConnection1.exec("update venda set venda_desconto=2");
    b.w().Venda.Venda_Desconto = 2;
    b.w().Vendas().Cupom_Busca();
    ASSERT_TRUE(janela([&] { b.buscar(QStringLiteral("-") + ARROZ); },
                       [&](TCancelar_Item& j) { j.Rct_BtVender->click(); }));
    // The total falls by the whole line total: 39,89 - 27,90 - 2,00.
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Total->text(), "9,99");
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Desc->text(), "Desc: R$ 2,00");
    EXPECT_EQ(b.sql("select venda_desconto from venda"), "2.0");
}

TEST(CancelarItem, RemovedItemsAreNotFound) {
    Balcao b(semCaixas);
    tresItens(b);
    const qint64 feijao = b.sql("select id from venda_produtos where prod_id=2").toLongLong();
    // Removed on the sale screen: marked, not deleted.
    QListView* lista = b.w().Vendas().Lbx_Cupom;
    lista->setCurrentIndex(lista->model()->index(1, 0));
    MessageBox::setNextAnswer(MessageBox::Ok);
    b.w().Vendas().Btn_Prod_DeleteClick();

    db::Connection& c = b.dm().FDConnection1;
    EXPECT_FALSE(Cancelamento_Item_Carregar(c, feijao));
    EXPECT_FALSE(Cancelamento_Item_CBarra(c, FEIJAO, b.w().Venda.Venda_COD));
    EXPECT_TRUE(janela([&] { b.teclar(Qt::Key_F4); },
                       [&](TCancelar_Item& j) {
                           j.Edt_CBarra->setText(FEIJAO);
                           QTest::keyClick(j.Edt_CBarra, Qt::Key_Return);
                           EXPECT_EQ(j.Lab_Prod_Nome->text(), "Arroz Branco 5kg");
                           j.Cbx_TipoCancel->setCurrentIndex(1);
                           j.Spn_ItemID->setValue(2); // the second row is now the Biscoito
                           EXPECT_EQ(j.Lab_Prod_Nome->text(), QString::fromUtf8("Biscoito D'Ouro"));
                           EXPECT_EQ(j.Spn_ItemID->maximum(), 2);
                       }));
}

TEST(CancelarItem, NothingToCancel) {
    const struct {
        const char* caso;
        bool venda;
        const char* mensagem;
    } casos[] = {
        {"no open sale", false, "Não existe uma venda em aberto!"},
        {"a sale without items", true, "Não existem itens para serem cancelados!"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        Balcao b(semCaixas);
        if (c.venda) b.teclar(Qt::Key_F2);
        EXPECT_FALSE(janela([&] { b.teclar(Qt::Key_F4); }, [](TCancelar_Item&) {}));
        EXPECT_EQ(MessageBox::shown(), QStringList{QString::fromUtf8(c.mensagem)});
    }
}
