// The sales-list tab, driven by its keys against the simulated cloud account.

#include "cloud/WebAPI.h"
#include "foundation/Database.h"
#include "foundation/MessageBox.h"
#include "sale/Funcionarios_Lista_Unit.h"
#include "sale/Lista_Tab_Unit.h"
#include "sale/Principal_Unit.h"
#include "sale/Vendas_Lista_Modelo.h"
#include "sale/Vendas_Tab_Unit.h"
#include "sale/Web_Tab_Unit.h"
#include "printing/Print_Options_Unit.h"

#include "support/Balcao.h"
#include "support/CloudSim.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Two unsent sales of today (one of a customer no longer registered), one sent, and one
// unsent of yesterday.
void vendasLocais(db::Connection& c) {
    Balcao::Catalogo_Padrao(c);
    const QString hoje = QDate::currentDate().toString("yyyy-MM-dd");
    const QString ontem = QDate::currentDate().addDays(-1).toString("yyyy-MM-dd");
    c.exec(QStringLiteral("insert into clientes (id, nome) values (3, 'Joana');"
                          "insert into venda (id, venda_cod, venda_dt_pedido, Dt_Venda,"
                          " venda_status, venda_total, cliente_id, vendedor_id, concluido) values"
                          " (1, 'PDV1', '%1 08:00:00', '%1', 0, 10.5, 3, 1, 1),"
                          " (2, 'PDV2', '%1 09:00:00', '%1', 1, 20, 3, 1, 1),"
                          " (3, 'PDV3', '%1 10:00:00', '%1', 0, 30, 99, 1, 1),"
                          " (4, 'PDV4', '%2 10:00:00', '%2', 0, 5, 3, 1, 1);"
                          "insert into venda_produtos (id, venda_id, venda_cod, prod_id, produto,"
                          " prod_cbarra, prod_venda, prod_qtd, prod_total, prod_geral, concluido)"
                          " values (1, 1, 'PDV1', 1, 'A', '111', 5, 1, 5, 5, 1),"
                          " (2, 1, 'PDV1', 2, 'B', '222', 5.5, 1, 5.5, 5.5, 1)")
               .arg(hoje, ontem));
}

class ListaTab : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::clearShown();
        b = std::make_unique<Balcao>(nullptr, vendasLocais);
        sim.usar();
        TPrincipal& w = b->w();
        w.WebAPI_URL = WebAPI_Base(w.Config.conf_ProtHTTP);
        w.Config.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
        w.Config.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
        w.Config.Emp_Nome = QStringLiteral("Mercadinho");
        composicao = l().Compor_Cupom;
        // The receipt preview composes nothing but the row's own texts here.
        l().Compor_Cupom = [this](const TLista_Linha& linha, QStringList& linhas) {
            compostas << linha.tag;
            linhas = {linha.linha1, linha.linha2, linha.total};
            return true;
        };
    }
    void TearDown() override { MessageBox::clearShown(); }

    TLista_Tab& l() { return b->w().Lista(); }
    QString linhas() {
        QStringList r;
        for (const TLista_Linha& x : l().Modelo().Linhas())
            r << (x.tipo == TLista_Tipo::Entregador ? "[" + x.linha1 + "]"
                                                    : QString::number(x.tag));
        return r.join(' ');
    }
    int linhaDe(qint32 tag, TLista_Tipo tipo) {
        const auto& v = l().Modelo().Linhas();
        for (int i = 0; i < v.size(); ++i)
            if (v[i].tag == tag && v[i].tipo == tipo) return i;
        return -1;
    }
    // A key of the tab, released in the list.
    void tecla(int k) {
        l().Lbx_Vendas_Lista->setFocus();
        b->teclar(k);
    }
    // F12 from the sale tab opens the list.
    void abrir() {
        b->teclar(Qt::Key_F12);
        ASSERT_EQ(b->w().Aba_Atual(), b->w().Tab_Lista);
    }

    CloudSim sim;
    std::unique_ptr<Balcao> b;
    QList<qint32> compostas;
    std::function<bool(const TLista_Linha&, QStringList&)> composicao; // the real one
};

TEST_F(ListaTab, LocalRowsThenTheAccountsGroupedByCourier) {
    abrir();
    EXPECT_EQ(linhas(), "3 1 [0 - MERCADINHO] 1001 [2 - CARLOS ENTREGAS] 1002 1003 "
                        "[4 - PAULO ENTREGAS] 1004 [2 - CARLOS ENTREGAS] 1005");
    EXPECT_TRUE(b->w().ConexaoWeb);
    EXPECT_EQ(l().Lbx_Vendas_Lista->currentIndex().row(), 0);
    EXPECT_EQ(l().Modelo().Linhas()[0].linha1, QString::fromUtf8("CLIENTE NÃO ENCONTRADO"));
    // Employee names offered in the search box.
    EXPECT_GE(l().Edt_Venda_Busca->findText("Ana"), 0);

    // Another day, by the date box; then a search typed with Enter.
    l().Dt_Venda_Busca->setDate(QDate::currentDate().addDays(-1));
    EXPECT_EQ(linhas(), "4");
    l().Dt_Venda_Busca->setDate(QDate::currentDate());
    l().Edt_Venda_Busca->lineEdit()->setFocus();
    l().Edt_Venda_Busca->setEditText("padaria");
    QTest::keyClick(l().Edt_Venda_Busca->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(linhas(), "3 1 [2 - CARLOS ENTREGAS] 1002");
    EXPECT_EQ(sim.requests("venda_consultas").last().toObject()["fields"].toArray()[3]
                  .toArray()[1].toString(),
              "padaria");

    // Off-line: the local rows only.
    qputenv("ONDAVIA_API_HOST", "127.0.0.1:1");
    b->w().WebAPI_URL = WebAPI_Base(b->w().Config.conf_ProtHTTP);
    tecla(Qt::Key_F2);
    EXPECT_EQ(linhas(), "3 1");
    EXPECT_FALSE(b->w().ConexaoWeb);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(ListaTab, ArrowsPreviewTheRowAndHideReopenAndDeleteForTheAccountsSales) {
    abrir();
    l().Lbx_Vendas_Lista->setFocus();
    QTest::keyClick(l().Lbx_Vendas_Lista, Qt::Key_Down);
    EXPECT_EQ(compostas, QList<qint32>{1});
    EXPECT_EQ(l().Lbx_Vendas_ListCup->count(), 3);
    EXPECT_EQ(l().Lyt_Cupom2->height(), 20 * 3 + 150);
    EXPECT_FALSE(l().Rct_Bt_DelVenda->isHidden());
    QTest::keyClick(l().Lbx_Vendas_Lista, Qt::Key_Down); // courier 0's header
    QTest::keyClick(l().Lbx_Vendas_Lista, Qt::Key_Down); // sale 1001
    // A header's tag is a courier: nothing composed for courier 0.
    EXPECT_EQ(compostas, (QList<qint32>{1, 1001}));
    EXPECT_TRUE(l().Rct_Bt_DelVenda->isHidden());
    EXPECT_TRUE(l().Rct_Bt_EdtVenda->isHidden());
}

TEST_F(ListaTab, DeleteOnlyWhatIsStillHereAndReopenByTheRowsOwnSale) {
    abrir();
    // The cloud account's sale: its preview hides the button, and its key does nothing.
    l().Selecionar(linhaDe(1001, TLista_Tipo::Nuvem));
    EXPECT_TRUE(l().Rct_Bt_DelVenda->isHidden());
    tecla(Qt::Key_F4);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    // The local sale 3, after the question.
    l().Selecionar(0);
    MessageBox::setNextAnswer(MessageBox::Ok);
    tecla(Qt::Key_F4);
    EXPECT_EQ(b->sql("select count(*) from venda where id=3"), "0");
    EXPECT_TRUE(linhas().startsWith("1 [0 - "));

    // Sent meanwhile: refused.
    MessageBox::clearShown();
    b->sql("update venda set venda_status=1 where id=1");
    l().Selecionar(0);
    tecla(Qt::Key_F4);
    EXPECT_EQ(MessageBox::shown(), QStringList{QString::fromUtf8(
                                       "Vendas que já foram enviadas para o servidor não podem "
                                       "ser excluídas do terminal!")});
    EXPECT_EQ(b->sql("select count(*) from venda where id=1"), "1");
}

TEST_F(ListaTab, AReopenedSaleCancelledReturnsToItsConcludedItems) {
    abrir();
    // F3 reopens sale 1 on the sale tab with its items.
    l().Selecionar(linhaDe(1, TLista_Tipo::Local));
    tecla(Qt::Key_F3);
    ASSERT_EQ(b->w().Aba_Atual(), b->w().Tab_Vendas);
    EXPECT_EQ(b->w().Venda.Venda_ID, 1);
    EXPECT_EQ(b->w().Vendas().Lab_Cupom_Total->text(), "10,50");
    // One item added, one removed, then the sale cancelled.
    b->w().Vendas().Produto_Busca("7891000100011");
    b->w().Vendas().Produto_Insert();
    EXPECT_EQ(b->sql("select count(*) from venda_produtos where venda_id=1 and apagado=0"), "3");
    b->w().Vendas().Produto_Limpa();
    MessageBox::setNextAnswer(MessageBox::Ok);
    b->w().Vendas().Btn_Prod_DeleteClick();
    EXPECT_EQ(b->sql("select count(*) from venda_produtos where venda_id=1 and apagado=0"), "2");
    MessageBox::setNextAnswer(MessageBox::Ok);
    b->teclar(Qt::Key_F6);
    EXPECT_EQ(b->w().Venda.Venda_ID, 0);
    EXPECT_EQ(b->sql("select group_concat(id || ':' || concluido || ':' || apagado, ' ') from"
                     " venda_produtos where venda_id=1"),
              "1:1:0 2:1:0");
    EXPECT_EQ(b->sql("select concluido from venda where id=1"), "1");
}

TEST_F(ListaTab, CourierAssignedThroughThePicker) {
    abrir();
    // A header: nothing. A local sale: it is sent first.
    l().Selecionar(linhaDe(0, TLista_Tipo::Entregador));
    tecla(Qt::Key_F6);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    l().Selecionar(0);
    tecla(Qt::Key_F6);
    EXPECT_EQ(MessageBox::shown().size(), 1);

    l().Selecionar(linhaDe(1005, TLista_Tipo::Nuvem));
    QTimer::singleShot(0, [] {
        auto* f = dynamic_cast<TFuncionarios_Lista*>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        f->Funcionario_ID = 4;
        f->accept();
    });
    tecla(Qt::Key_F6);
    ASSERT_EQ(sim.requests("entregador_update").size(), 1);
    EXPECT_TRUE(linhas().endsWith("[4 - PAULO ENTREGAS] 1004 1005"));
}

TEST_F(ListaTab, ClickingThePictureOfAnUnsentSaleUploadsIt) {
    abrir();
    const int row = linhaDe(1, TLista_Tipo::Local);
    QListView* lista = l().Lbx_Vendas_Lista;
    const QRect figura = VendasListaDelegate::Area_Figura(lista->visualRect(lista->model()->index(row, 0)));
    // A click on the row's text only previews it.
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, figura.center() + QPoint(200, 0));
    EXPECT_EQ(sim.requests("upload_venda").size(), 0);
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, figura.center());
    ASSERT_EQ(sim.requests("upload_venda").size(), 1);
    EXPECT_EQ(b->sql("select venda_status from venda where id=1"), "1");
    EXPECT_EQ(linhaDe(1, TLista_Tipo::Local), -1); // sent: no longer among the local rows
    EXPECT_EQ(b->w().Aba_Atual(), b->w().Tab_WebBrozer); // with the account's reply
}

TEST_F(ListaTab, NoSelectionSaysSo) {
    abrir();
    l().Lbx_Vendas_Lista->setCurrentIndex(QModelIndex());
    for (int k : {Qt::Key_F3, Qt::Key_F4, Qt::Key_F6, Qt::Key_F8})
        tecla(k);
    EXPECT_EQ(MessageBox::shown(), QStringList(4, "Selecione um item na lista!"));
}

TEST_F(ListaTab, PreviewShowsTheReceiptOfTheRowFromItsSource) {
    l().Compor_Cupom = composicao;
    abrir();
    // The account's sale: its receipt comes from the account.
    l().Selecionar(linhaDe(1001, TLista_Tipo::Nuvem));
    const int n = l().Lbx_Vendas_ListCup->count();
    ASSERT_GT(n, 10);
    EXPECT_EQ(l().Lyt_Cupom2->height(), 20 * n + 150);
    EXPECT_EQ(l().Lbx_Vendas_ListCup->item(0)->font().family(), "Courier New");
    EXPECT_EQ(l().Lbx_Vendas_ListCup->item(0)->font().pointSize(), 14);
    QStringList textos;
    for (int i = 0; i < n; ++i)
        textos << l().Lbx_Vendas_ListCup->item(i)->text();
    EXPECT_TRUE(textos.join('\n').contains("A1B2C3D4E5")) << textos.join('\n').toStdString();
    EXPECT_EQ(sim.requests("venda_cupom").size(), 1);
    // A sale of this terminal: composed from the local database.
    l().Selecionar(0);
    EXPECT_GT(l().Lbx_Vendas_ListCup->count(), 5);
    EXPECT_EQ(sim.requests("venda_cupom").size(), 1);
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join('|').toStdString();
}

TEST_F(ListaTab, PrintOptionsOpenThePurchaseOrderOnTheWebTab) {
    abrir();
    l().Selecionar(linhaDe(1, TLista_Tipo::Local));
    QTimer::singleShot(0, [] {
        auto* p = dynamic_cast<TPrint_Options*>(QApplication::activeModalWidget());
        ASSERT_NE(p, nullptr);
        p->Lbx_Options->setCurrentRow(1);
        p->Rct_BtOkClick();
    });
    tecla(Qt::Key_F7);
    EXPECT_EQ(b->w().Aba_Atual(), b->w().Tab_WebBrozer);
    const QString url = b->w().Web().Endereco().toString();
    EXPECT_TRUE(url.contains("relatorio=vendas_pedido001&id=1&buttonvisible=1&documento=PDV1&"))
        << url.toStdString();
}

} // namespace
