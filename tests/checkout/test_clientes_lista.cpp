#include "checkout/Clientes_Lista_Unit.h"
#include "foundation/Database.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Schema.h"
#include "foundation/Settings.h"
#include "sale/Venda_Core.h"

#include "support/CloudSim.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

namespace {

class ClientesLista : public ::testing::Test {
protected:
    void SetUp() override {
        conn.open(dir.file("dbase.s3db"));
        Schema_Criar(conn);
        MessageBox::clearShown();
        cfg.Emp_ID = 1;
        cfg.Vendedor_ID = 12;
        cfg.Emp_UF = QStringLiteral("SP");
        cfg.Emp_Cidade = QStringLiteral("CAMPINAS");
        conn.exec(QStringLiteral(
            "insert into cidades (id, uf, cidade) values (1, 'SP', 'Campinas'),"
            " (2, 'SP', 'Valinhos'), (3, 'MG', 'Uberaba');"
            "insert into clientes (id, nome, apelido, cpf_cnpj, cidade, estado, endereco, bairro,"
            " numero, cep, fone, credito) values"
            " (1, 'Jose da Silva', 'Ze', '52998224725', 'Campinas', 'SP', 'Rua A', 'Centro', '10',"
            "  '13015001', '1932221111', 'Concedido'),"
            " (2, 'Joana Silveira', '', '11144477735', 'Valinhos', 'SP', 'Rua B', 'Vila', '20',"
            "  '13270000', '1932222222', 'Avaliacao'),"
            " (3, 'Ana Souza', 'Aninha', '39053344705', 'Uberaba', 'MG', 'Rua C', 'Alto', '30',"
            "  '38010000', '3433333333', 'Concedido')"));
    }
    void TearDown() override { MessageBox::clearShown(); }

    std::unique_ptr<TClientes_Lista> abrir() {
        auto w = std::make_unique<TClientes_Lista>(conn, cfg, venda);
        w->resize(1024, 740);
        w->show();
        QApplication::setActiveWindow(w.get());
        QApplication::processEvents();
        return w;
    }
    static int linhas(TClientes_Lista& w) { return w.Lbx_Cupom->model()->rowCount(); }
    static QString nomeDaLinha(TClientes_Lista& w, int i) {
        return w.Lbx_Cupom->model()->index(i, 0).data().toString();
    }
    QString sql(const QString& consulta) {
        db::Query q(conn);
        q.setSql(consulta);
        q.open();
        return q.eof() ? QStringLiteral("<none>") : q.field(0).asString();
    }
    // Types into the focused field and moves on with Enter.
    static void campo(QWidget* w, const QString& texto) {
        QWidget* alvo = QApplication::focusWidget();
        EXPECT_EQ(alvo, w) << qPrintable(w->objectName());
        QTest::keyClicks(w, texto);
        QTest::keyClick(w, Qt::Key_Return);
    }
    // A whole form typed as the operator does, CPF first.
    static void preencher(TClientes_Lista& w, const QString& cpf, const QString& nome,
                          const QString& cidade) {
        campo(w.Edt_Client_CPF, cpf);
        EXPECT_EQ(QApplication::focusWidget(), w.Cbx_Client_Nome);
        w.Cbx_Client_Nome->setEditText(nome); // keyClicks types ASCII only
        QTest::keyClick(w.Cbx_Client_Nome, Qt::Key_Return);
        campo(w.Edt_Client_CEP, "13015001");
        campo(w.Dt_Client_Nasc, QString());
        campo(w.Edt_Client_Fone, "19998765432");
        campo(w.Edt_Client_End, "Rua das Flores");
        campo(w.Edt_Client_Num, QString());
        campo(w.Edt_Client_Bairro, "Centro");
        w.Cbx_Client_Estado->setEditText("SP");
        QTest::keyClick(w.Cbx_Client_Estado, Qt::Key_Return);
        w.Cbx_Client_Cidade->setEditText(cidade);
        QTest::keyClick(w.Cbx_Client_Cidade, Qt::Key_Return);
    }

    TestDir dir;
    db::Connection conn;
    TSettings cfg;
    TVenda venda;
};

TEST_F(ClientesLista, OpensOnTheListWithEveryoneByName) {
    auto w = abrir();
    EXPECT_EQ(w->TabControl1->currentWidget(), w->Tb_Lista);
    EXPECT_EQ(w->windowTitle(), "Lista de Clientes ");
    EXPECT_EQ(QApplication::focusWidget(), w->Edt_Busca);
    ASSERT_EQ(linhas(*w), 3);
    EXPECT_EQ(nomeDaLinha(*w, 0), "ANA SOUZA - [ANINHA]");
    EXPECT_EQ(nomeDaLinha(*w, 1), "JOANA SILVEIRA");
    EXPECT_EQ(w->Lbx_Cupom->currentIndex().row(), 0);
    EXPECT_EQ(w->Rct_BtVender->text(), "VENDER");
}

TEST_F(ClientesLista, EnterSearchesThenASecondEnterTakesTheCustomer) {
    auto w = std::make_unique<TClientes_Lista>(conn, cfg, venda);
    int linhasAposPrimeiro = -1;
    bool abertaAposPrimeiro = false;
    QTimer::singleShot(0, w.get(), [&] {
        QTest::keyClicks(w->Edt_Busca, "jo si");
        QTest::keyClick(w->Edt_Busca, Qt::Key_Return);
        linhasAposPrimeiro = linhas(*w);
        abertaAposPrimeiro = w->isVisible();
        QTest::keyClick(w->Edt_Busca, Qt::Key_Down); // Joana, then Jose
        QTest::keyClick(w->Edt_Busca, Qt::Key_Down);
        QTest::keyClick(w->Edt_Busca, Qt::Key_Return); // the box changed: only noted
        QTest::keyClick(w->Edt_Busca, Qt::Key_Return);
    });
    QTimer::singleShot(5000, w.get(), &QDialog::reject); // never hang the run
    EXPECT_EQ(w->exec(), QDialog::Accepted);
    EXPECT_EQ(linhasAposPrimeiro, 2);
    EXPECT_TRUE(abertaAposPrimeiro);
    EXPECT_EQ(w->Edt_Busca->text(), "52998224725");
    EXPECT_EQ(w->CPF_CNPJ, "52998224725");
}

TEST_F(ClientesLista, SearchByIdAndDocumentAndArrowsStayInTheList) {
    auto w = abrir();
    const struct {
        const char* texto;
        QStringList nomes;
    } casos[] = {
        {"2", {"JOANA SILVEIRA"}},
        {"39053344705", {"ANA SOUZA - [ANINHA]"}},
        {"jo si", {"JOANA SILVEIRA", "JOSE DA SILVA - [ZE]"}},
        {"x'y", {}},
    };
    for (const auto& c : casos) {
        w->Edt_Busca->setText(QString::fromUtf8(c.texto));
        w->Cliente_Busca();
        QStringList nomes;
        for (int i = 0; i < linhas(*w); ++i)
            nomes << nomeDaLinha(*w, i);
        EXPECT_EQ(nomes, c.nomes) << c.texto;
    }
    w->Edt_Busca->clear();
    w->Cliente_Busca();
    QTest::keyClick(w->Edt_Busca, Qt::Key_Up);
    EXPECT_EQ(w->Lbx_Cupom->currentIndex().row(), 0);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(w->Edt_Busca, Qt::Key_Down);
    EXPECT_EQ(w->Lbx_Cupom->currentIndex().row(), 2);
    EXPECT_EQ(w->Edt_Busca->text(), "52998224725");
    EXPECT_EQ(w->Edt_Busca->cursorPosition(), 11);
}

TEST_F(ClientesLista, EscOnTheListChoosesNothing) {
    auto w = std::make_unique<TClientes_Lista>(conn, cfg, venda);
    w->CPF_CNPJ = "velho";
    QTimer::singleShot(0, w.get(), [&] {
        QTest::keyClick(w->Edt_Busca, Qt::Key_Down);
        QTest::keyClick(w->Edt_Busca, Qt::Key_Escape);
    });
    QTimer::singleShot(5000, w.get(), &QDialog::accept);
    EXPECT_EQ(w->exec(), QDialog::Rejected);
    EXPECT_TRUE(w->CPF_CNPJ.isEmpty());
}

TEST_F(ClientesLista, RegisterByKeysStoresTheTableRules) {
    auto w = abrir();
    QTest::keyClick(w->Edt_Busca, Qt::Key_Insert);
    ASSERT_EQ(w->TabControl1->currentWidget(), w->Tb_Cad);
    EXPECT_EQ(w->windowTitle(), "Cadastro de Clientes ");
    EXPECT_EQ(QApplication::focusWidget(), w->Edt_Client_CPF);

    // F2 fills the empty box with a valid number without punctuation.
    QTest::keyClick(w->Edt_Client_CPF, Qt::Key_F2);
    const QString cpf = w->Edt_Client_CPF->text();
    EXPECT_EQ(cpf.size(), 11);
    EXPECT_TRUE(TestCPF(cpf));
    QTest::keyClick(w->Edt_Client_CPF, Qt::Key_F2); // a filled box is kept
    EXPECT_EQ(w->Edt_Client_CPF->text(), cpf);

    preencher(*w, QString(), "MARIA DAS DORES", "Cidade Inventada");
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join('|').toStdString();
    EXPECT_EQ(w->Edt_Client_CEP->text(), "13.015-001");
    EXPECT_EQ(w->Edt_Client_Fone->text(), "+1(99)9876-5432");
    EXPECT_EQ(w->Edt_Client_End->text(), "RUA DAS FLORES"); // typed in upper case

    QTest::keyClick(w->Edt_Client_Referencia, Qt::Key_F5);
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join('|').toStdString();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(venda.Venda_Cliente_ID, 4);
    EXPECT_EQ(w->CPF_CNPJ, cpf);
    EXPECT_EQ(venda.Venda_Cliente_CPF, cpf);
    EXPECT_EQ(sql("select nome || '|' || numero || '|' || cidade || '|' || estado || '|' || cep"
                  " || '|' || credito from clientes where id=4"),
              "Maria das Dores|SN|CAMPINAS|SP|13015001|Avaliacao");
}

TEST_F(ClientesLista, SaveStopsAtTheFirstMissingField) {
    auto w = abrir();
    w->SpeedButton2Click();
    w->Lab_Bt_SalvarClick();
    EXPECT_EQ(MessageBox::shown(), QStringList{"Preencha corretamente o campo CPF!"});
    EXPECT_EQ(QApplication::focusWidget(), w->Edt_Client_CPF);

    MessageBox::clearShown();
    w->Edt_Client_CPF->setText("123");
    w->Cbx_Client_Nome->setEditText("Ana Nova");
    w->Edt_Client_CEP->setText("1234567");
    w->Lab_Bt_SalvarClick();
    EXPECT_EQ(MessageBox::shown(), QStringList{"O CEP precisa ter 8 dígitos numéricos"});
    EXPECT_EQ(QApplication::focusWidget(), w->Edt_Client_CEP);
    EXPECT_EQ(w->Edt_Client_CEP->text(), "1234567"); // kept for correction
    // An invalid document only turns red.
    EXPECT_TRUE(w->Edt_Client_CPF->styleSheet().contains("red"));

    MessageBox::clearShown();
    w->Edt_Client_CEP->setText("12345678");
    w->Cbx_Client_Cidade->setEditText(QString());
    w->Lab_Bt_SalvarClick();
    EXPECT_EQ(MessageBox::shown(), QStringList{"Preencha corretamente o campo Cidade!"});
    EXPECT_EQ(w->Edt_Client_CEP->text(), "12.345-678");
    EXPECT_EQ(sql("select count(*) from clientes"), "3");
    EXPECT_EQ(venda.Venda_Cliente_ID, 0);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(ClientesLista, AnInvalidDocumentIsStillSaved) {
    auto w = abrir();
    w->SpeedButton2Click();
    preencher(*w, "12345678900", "joão", "Valinhos");
    w->Lab_Bt_SalvarClick();
    EXPECT_TRUE(w->Edt_Client_CPF->styleSheet().contains("red"));
    EXPECT_EQ(venda.Venda_Cliente_ID, 4);
    EXPECT_EQ(sql("select nome || '|' || cidade || '|' || cpf_cnpj from clientes where id=4"),
              "Joao|VALINHOS|12345678900");
}

TEST_F(ClientesLista, LeavingTheNameLoadsAnExistingCustomerAndSavingRewritesIt) {
    venda.Venda_Cliente_ID = 0;
    auto w = abrir();
    w->SpeedButton2Click();
    QTest::keyClick(w->Edt_Client_CPF, Qt::Key_Return);
    campo(w->Cbx_Client_Nome, "Ana Souza");
    EXPECT_EQ(w->Edt_Client_CPF->text(), "39053344705");
    EXPECT_EQ(w->Edt_Client_End->text(), "Rua C");
    EXPECT_EQ(w->Cbx_Client_Cidade->currentText(), "Uberaba");
    EXPECT_EQ(w->Cbx_Client_Estado->currentText(), "MG");
    EXPECT_EQ(venda.Venda_Cliente_ID, 3);

    // Edits survive walking on through the state and the city.
    w->Edt_Client_Num->setText("31");
    w->Cbx_Client_Estado->setFocus();
    QTest::keyClick(w->Cbx_Client_Estado, Qt::Key_Return);
    QTest::keyClick(w->Cbx_Client_Cidade, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->Edt_Client_Referencia);
    EXPECT_EQ(w->Edt_Client_Num->text(), "31");
    w->Lab_Bt_SalvarClick();
    EXPECT_TRUE(MessageBox::shown().isEmpty()) << MessageBox::shown().join('|').toStdString();
    EXPECT_EQ(venda.Venda_Cliente_ID, 3);
    EXPECT_EQ(sql("select count(*) from clientes where cpf_cnpj='39053344705'"), "1");
    EXPECT_EQ(sql("select numero from clientes where id=3"), "31");
}

TEST_F(ClientesLista, TheSaleCustomerIsNoExcuseForADuplicate) {
    venda.Venda_Cliente_ID = 1; // the sale already has Jose
    auto w = abrir();
    w->SpeedButton2Click();
    campo(w->Edt_Client_CPF, "529.982.247-25");
    EXPECT_EQ(MessageBox::shown(),
              QStringList{"Existe outro cadastro com este mesmo CPF ou CNPJ."});
    EXPECT_TRUE(w->Edt_Client_CPF->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), w->Edt_Client_CPF);
}

TEST_F(ClientesLista, EscOnTheFormGoesBackToAFreshList) {
    auto w = abrir();
    w->Edt_Busca->setText("ana");
    w->Cliente_Busca();
    QTest::keyClick(w->Edt_Busca, Qt::Key_Insert);
    QTest::keyClick(w->Edt_Client_CPF, Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->TabControl1->currentWidget(), w->Tb_Lista);
    EXPECT_TRUE(w->Edt_Busca->text().isEmpty());
    EXPECT_EQ(linhas(*w), 3);
    EXPECT_EQ(QApplication::focusWidget(), w->Edt_Busca);
}

class ClientesListaCEP : public ClientesLista {
protected:
    void SetUp() override {
        ClientesLista::SetUp();
        qputenv("ONDAVIA_CEP_HOST", ("http://" + sim.host()).toUtf8());
    }
    void TearDown() override {
        qunsetenv("ONDAVIA_CEP_HOST");
        ClientesLista::TearDown();
    }
    CloudSim sim;
};

TEST_F(ClientesListaCEP, LookupFillsTheAddressOrSaysWhy) {
    auto w = abrir();
    w->SpeedButton2Click();
    w->Edt_Client_CEP->setText("1301500");
    w->Image1Click();
    EXPECT_EQ(MessageBox::shown(), QStringList{"O CEP precisa ter 8 dígitos numéricos"});
    EXPECT_EQ(sim.requests().size(), 0);

    MessageBox::clearShown();
    w->Edt_Client_End->setText("O QUE HAVIA");
    w->Edt_Client_CEP->setText("99999999");
    w->Image1Click();
    EXPECT_EQ(MessageBox::shown(), QStringList{"CEP não encontrado."});
    EXPECT_EQ(w->Edt_Client_End->text(), "O QUE HAVIA");

    MessageBox::clearShown();
    w->Edt_Client_CEP->setFocus();
    w->Edt_Client_CEP->setText("20040002");
    QTest::keyClick(w->Edt_Client_CEP, Qt::Key_F3);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(w->Edt_Client_CEP->text(), "20040-002");
    EXPECT_EQ(w->Edt_Client_End->text(), "RUA DA ASSEMBLEIA");
    EXPECT_EQ(w->Edt_Client_Bairro->text(), "CENTRO");
    EXPECT_EQ(w->Cbx_Client_Estado->currentText(), "RJ");
    EXPECT_EQ(w->Cbx_Client_Cidade->currentText(), "RIO DE JANEIRO");
    EXPECT_GE(w->Cbx_Client_Cidade->findText("RIO DE JANEIRO"), 0);
}

} // namespace
