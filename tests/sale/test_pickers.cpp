#include "foundation/Database.h"
#include "foundation/MessageBox.h"
#include "foundation/Schema.h"
#include "foundation/Settings.h"
#include "sale/Ajuda_Unit.h"
#include "sale/Funcionarios_Lista_Unit.h"
#include "sale/Produtos_Lista_Unit.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

class Pickers : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
        MessageBox::clearShown();
    }

    void produto(qint32 id, const QString& nome, const QString& cbarra, double estoque) {
        db::Query q(conn);
        q.setSql(QStringLiteral("insert into produtos (id, produto, cbarra, estoque, venda)"
                                " values (:id, :produto, :cbarra, :estoque, 10)"));
        q.bind(":id", id);
        q.bind(":produto", nome);
        q.bind(":cbarra", cbarra);
        q.bind(":estoque", estoque);
        q.exec();
    }
    // Three beans, in stock order: 222, 111, 333.
    void feijoes() {
        produto(1, "Feijao Preto", "111", 5);
        produto(2, "Feijao Carioca", "222", 9);
        produto(3, "Feijao Branco", "333", 1);
        produto(4, "Arroz", "444", 3);
    }

    TestDir dir;
    db::Connection conn;
    TSettings config;
};

// A real double click: press and release, then the double-click press and its release.
void duploClique(QWidget* w, const QPoint& ponto) {
    QTest::mouseClick(w, Qt::LeftButton, {}, ponto);
    QTest::mouseDClick(w, Qt::LeftButton, {}, ponto);
    QTest::mouseRelease(w, Qt::LeftButton, {}, ponto);
}

// The product list as the tests drive it.
struct Lista {
    explicit Lista(db::Connection& c, const TSettings& s) : w(c, s) {
        edt = w.findChild<QLineEdit*>("Edt_Prod_Busca");
        lbx = w.findChild<QListView*>("Lbx_Cupom");
        vender = w.findChild<QPushButton*>("Rct_BtVender");
        cancelar = w.findChild<QPushButton*>("Rct_BtCancel");
    }
    void abrir(const QString& texto) {
        w.Definir_Busca(texto);
        w.show();
    }
    int linhas() const { return lbx->model()->rowCount(); }
    int linha() const { return lbx->currentIndex().row(); }
    QString barra(int linha) const {
        return lbx->model()->index(linha, 0).data(Qt::UserRole).toString();
    }
    void clicar(int linha) {
        QTest::mouseClick(lbx->viewport(), Qt::LeftButton, {},
                          lbx->visualRect(lbx->model()->index(linha, 0)).center());
    }

    TProdutos_Lista w;
    QLineEdit* edt;
    QListView* lbx;
    QPushButton* vender;
    QPushButton* cancelar;
};

TEST_F(Pickers, ProductListOpensOnThePresetSearch) {
    feijoes();
    Lista l(conn, config);
    ASSERT_TRUE(l.edt && l.lbx && l.vender && l.cancelar);
    EXPECT_EQ(l.w.windowTitle(), "Produtos encontrados");
    EXPECT_EQ(l.vender->text(), "VENDER");
    EXPECT_EQ(l.cancelar->text(), "CANCELAR");

    l.w.C_Barra = "velho";
    l.abrir("feijao");
    EXPECT_TRUE(l.w.C_Barra.isEmpty());
    EXPECT_EQ(l.edt->text(), "feijao");
    EXPECT_EQ(l.edt->cursorPosition(), 6);
    ASSERT_EQ(l.linhas(), 3);
    EXPECT_EQ(l.linha(), 0);
    EXPECT_EQ(l.barra(0), "222");
    l.w.reject();

    // The same window serves the next opening: the preset was used once, and the sort
    // setting is read again.
    l.abrir(QString());
    EXPECT_TRUE(l.edt->text().isEmpty());
    EXPECT_EQ(l.linhas(), 0);
    l.w.reject();
    config.conf_Buscar_OrderBy = "produto";
    l.abrir("feijao");
    EXPECT_EQ(l.barra(0), "333");
}

TEST_F(Pickers, ProductListEnterTwiceSearchesThenChooses) {
    feijoes();
    Lista l(conn, config);
    bool visivelAposPrimeiro = false;
    int linhasAposPrimeiro = -1;
    QTimer::singleShot(0, &l.w, [&] {
        QTest::keyClicks(l.edt, "feijao");
        QTest::keyClick(l.edt, Qt::Key_Return);
        visivelAposPrimeiro = l.w.isVisible();
        linhasAposPrimeiro = l.linhas();
        QTest::keyClick(l.edt, Qt::Key_Return);
    });
    QTimer::singleShot(5000, &l.w, &QDialog::reject); // never hang the run
    l.w.Definir_Busca(QString());
    EXPECT_EQ(l.w.exec(), QDialog::Accepted);
    EXPECT_TRUE(visivelAposPrimeiro);
    EXPECT_EQ(linhasAposPrimeiro, 3);
    EXPECT_EQ(l.w.C_Barra, "222");
}

TEST_F(Pickers, ProductListArrowsStayWithinTheListAndFillTheBox) {
    feijoes();
    Lista l(conn, config);
    l.abrir("feijao");
    const struct {
        Qt::Key tecla;
        int linha;
    } passos[] = {
        {Qt::Key_Up, 0}, {Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1}};
    for (const auto& p : passos) {
        QTest::keyClick(l.edt, p.tecla);
        EXPECT_EQ(l.linha(), p.linha);
        EXPECT_EQ(l.edt->text(), l.barra(p.linha));
    }
    // The barcode in the box is searched, then chosen.
    QTest::keyClick(l.edt, Qt::Key_Return);
    EXPECT_TRUE(l.w.isVisible());
    EXPECT_EQ(l.linhas(), 1);
    QTest::keyClick(l.edt, Qt::Key_Return);
    EXPECT_FALSE(l.w.isVisible());
    EXPECT_EQ(l.w.C_Barra, "111");
}

TEST_F(Pickers, ProductListVenderTakesTwoStepsAfterAClick) {
    feijoes();
    Lista l(conn, config);
    l.abrir("feijao");
    l.clicar(2);
    EXPECT_EQ(l.edt->text(), "333");
    QTest::mouseClick(l.vender, Qt::LeftButton);
    EXPECT_TRUE(l.w.isVisible());
    EXPECT_TRUE(l.w.C_Barra.isEmpty());
    QTest::mouseClick(l.vender, Qt::LeftButton);
    EXPECT_FALSE(l.w.isVisible());
    EXPECT_EQ(l.w.result(), QDialog::Accepted);
    EXPECT_EQ(l.w.C_Barra, "333");

    // A double click is a click and "VENDER": the second one on the same row chooses it.
    l.abrir("feijao");
    const QPoint ponto = l.lbx->visualRect(l.lbx->model()->index(1, 0)).center();
    duploClique(l.lbx->viewport(), ponto);
    EXPECT_TRUE(l.w.isVisible());
    EXPECT_EQ(l.edt->text(), "111");
    duploClique(l.lbx->viewport(), ponto);
    EXPECT_FALSE(l.w.isVisible());
    EXPECT_EQ(l.w.C_Barra, "111");
}

TEST_F(Pickers, ProductListEnterInTheListChoosesAtOnce) {
    feijoes();
    Lista l(conn, config);
    l.abrir("feijao");
    l.lbx->setFocus();
    QTest::keyClick(l.lbx, Qt::Key_Down);
    QTest::keyClick(l.lbx, Qt::Key_Return);
    EXPECT_FALSE(l.w.isVisible());
    EXPECT_EQ(l.w.C_Barra, "111");
}

TEST_F(Pickers, ProductListNothingFoundNothingChosen) {
    feijoes();
    Lista l(conn, config);
    l.abrir("chocolate");
    EXPECT_EQ(l.linhas(), 0);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(l.edt, Qt::Key_Return);
    QTest::mouseClick(l.vender, Qt::LeftButton);
    EXPECT_TRUE(l.w.isVisible());
    EXPECT_TRUE(l.w.C_Barra.isEmpty());
}

TEST_F(Pickers, ProductListEscAndCancelChooseNothing) {
    feijoes();
    Lista l(conn, config);
    const std::function<void()> fechar[] = {
        [&] { QTest::keyClick(l.edt, Qt::Key_Escape); },
        [&] { QTest::keyClick(l.lbx, Qt::Key_Escape); },
        [&] { QTest::mouseClick(l.cancelar, Qt::LeftButton); },
    };
    for (const auto& acao : fechar) {
        l.abrir("feijao");
        QTest::keyClick(l.edt, Qt::Key_Down);
        QTest::mouseClick(l.vender, Qt::LeftButton); // noted; one more would choose
        acao();
        EXPECT_FALSE(l.w.isVisible());
        EXPECT_EQ(l.w.result(), QDialog::Rejected);
        EXPECT_TRUE(l.w.C_Barra.isEmpty());
    }

    // Inside the modal loop, as the sale screen opens it.
    l.w.Definir_Busca("feijao");
    QTimer::singleShot(0, &l.w, [&] { QTest::keyClick(l.edt, Qt::Key_Escape); });
    QTimer::singleShot(5000, &l.w, &QDialog::accept);
    EXPECT_EQ(l.w.exec(), QDialog::Rejected);
    EXPECT_TRUE(l.w.C_Barra.isEmpty());
}

TEST_F(Pickers, EmployeeListEmptyAsksForARow) {
    TFuncionarios_Lista w(conn);
    EXPECT_EQ(w.windowTitle(), "Lista de Entregadores");
    w.show();
    auto* lbx = w.findChild<QListView*>("Lbx_Funcionarios");
    auto* selecionar = w.findChild<QPushButton*>("Rct_BtSelecionar");
    ASSERT_TRUE(lbx && selecionar);
    EXPECT_EQ(lbx->model()->rowCount(), 0);

    QTest::mouseClick(selecionar, Qt::LeftButton);
    duploClique(lbx->viewport(), QPoint(20, 20));
    QTest::keyClick(lbx, Qt::Key_Return);
    EXPECT_EQ(MessageBox::shown(), QStringList(3, "Selecione um item na lista!"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Funcionario_ID, 0);
}

TEST_F(Pickers, EmployeeListHandsBackTheChosenId) {
    conn.exec("insert into funcionarios (id, nome) values (3, 'zeca'), (9, 'Ana'), (4, 'bruno')");
    TFuncionarios_Lista w(conn);
    auto* lbx = w.findChild<QListView*>("Lbx_Funcionarios");
    auto* selecionar = w.findChild<QPushButton*>("Rct_BtSelecionar");
    auto* cancelar = w.findChild<QPushButton*>("Rct_BtCancel");
    ASSERT_TRUE(lbx && selecionar && cancelar);

    const struct {
        const char* acao;
        std::function<void()> fazer;
        qint32 id;
    } casos[] = {
        {"Enter", [&] { QTest::keyClick(lbx, Qt::Key_Return); }, 9},
        {"Down, Enter",
         [&] {
             QTest::keyClick(lbx, Qt::Key_Down);
             QTest::keyClick(lbx, Qt::Key_Return);
         },
         4},
        {"SELECIONAR", [&] { QTest::mouseClick(selecionar, Qt::LeftButton); }, 9},
        {"double click",
         [&] { duploClique(lbx->viewport(), lbx->visualRect(lbx->model()->index(2, 0)).center()); },
         3},
        {"Esc", [&] { QTest::keyClick(lbx, Qt::Key_Escape); }, 0},
        {"CANCELAR", [&] { QTest::mouseClick(cancelar, Qt::LeftButton); }, 0},
    };
    for (const auto& c : casos) {
        w.Funcionario_ID = 77; // a choice of an earlier opening
        w.show();
        QStringList nomes;
        for (int i = 0; i < lbx->model()->rowCount(); ++i)
            nomes << lbx->model()->index(i, 0).data().toString();
        EXPECT_EQ(nomes, (QStringList{"ANA", "BRUNO", "ZECA"}));
        EXPECT_EQ(lbx->visualRect(lbx->model()->index(0, 0)).height(), 40);
        EXPECT_EQ(lbx->currentIndex().row(), 0);
        c.fazer();
        EXPECT_FALSE(w.isVisible()) << c.acao;
        EXPECT_EQ(w.Funcionario_ID, c.id) << c.acao;
    }
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST(Ajuda, EscEnterAndOkClose) {
    TAjuda w;
    EXPECT_EQ(w.windowTitle(), "Instruções e Vídeos");
    auto* ok = w.findChild<QPushButton*>("Btn_OK");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->text(), "OK");

    const std::function<void()> fechar[] = {
        [&] { QTest::keyClick(&w, Qt::Key_Escape); },
        [&] { QTest::keyClick(&w, Qt::Key_Return); },
        [&] { QTest::keyClick(&w, Qt::Key_Enter); },
        [&] { QTest::mouseClick(ok, Qt::LeftButton); },
    };
    for (const auto& acao : fechar) {
        bool fechou = false;
        QTimer::singleShot(0, &w, [&] {
            acao();
            fechou = !w.isVisible();
        });
        QTimer::singleShot(5000, &w, &QDialog::reject);
        w.exec();
        EXPECT_TRUE(fechou);
    }
}

} // namespace
