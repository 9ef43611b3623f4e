// The sale tab driven by the operator's keys, checked on the screen and in the database.

#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "sale/Login_Tab_Unit.h"
#include "sale/Principal_Unit.h"
#include "sale/Produtos_Lista_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include "foundation/Settings.h"
#include "widgets/CircleButton.h"
#include "widgets/Switch.h"

#include "support/Balcao.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

namespace {

// The rows of the item list as the operator reads them: name | line 2 | value.
QStringList linhas(TPrincipal& w) {
    QStringList l;
    auto* m = w.Vendas().Lbx_Cupom->model();
    for (int i = 0; i < m->rowCount(); ++i) {
        const QModelIndex idx = m->index(i, 0);
        l << idx.data().toString() + " | " + idx.data(Qt::UserRole + 3).toString() + " | " +
                 idx.data(Qt::UserRole + 4).toString();
    }
    return l;
}

QString total(TPrincipal& w) {
    return w.Vendas().Lab_Cupom_Total->text();
}

// Quantity and price boxes hidden: Enter in the search box enters the item at once.
void semCaixas(TSettings& s) {
    s.conf_prod_qtd = false;
    s.conf_prod_valor = false;
}

TEST(VendasTab, SignedInOnTheSaleTabOfTheCompanyDatabase) {
    Balcao b;
    EXPECT_EQ(b.w().Aba_Atual(), b.w().Tab_Vendas);
    EXPECT_EQ(b.dm().FDConnection1.path(), b.pastaEmpresa() + "dbase.s3db");
    EXPECT_EQ(b.w().Lab_Emp_Name->text(),
              QString::fromUtf8("Mercadinho São José [11.222.333/0001-81]"));
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Title->text(), "Caixa Livre");
    EXPECT_EQ(total(b.w()), "0,00");
    EXPECT_TRUE(b.w().Lyt_Logado->isVisible());
}

TEST(VendasTab, BarcodeThroughQuantityAndPriceBoxes) {
    Balcao b;
    b.buscar("7891000100011");
    TVendas_Tab& v = b.w().Vendas();
    EXPECT_EQ(v.Lab_Prod_Nome->text(), "Arroz Branco 5kg");
    EXPECT_EQ(v.Lab_Prod_Unitario->text(), "27,90");
    EXPECT_EQ(QApplication::focusWidget(), v.Edt_Prod_Qtd);
    v.Edt_Prod_Qtd->selectAll();
    b.digitar("2");
    b.teclar(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), v.Edt_Prod_Valor);
    EXPECT_EQ(v.Lab_Prod_Total->text(), "55,80");
    b.teclar(Qt::Key_Return);

    EXPECT_EQ(linhas(b.w()), QStringList{"ARROZ BRANCO 5KG | 7891000100011     2,00 X    27,90"
                                         "        | 55,80"});
    EXPECT_EQ(total(b.w()), "55,80");
    EXPECT_EQ(v.Lab_Cupom_Title->text(), "Produtos");
    EXPECT_EQ(b.sql("select prod_qtd || ' ' || prod_total || ' ' || prod_geral from "
                    "venda_produtos"),
              "2.0 55.8 55.8");
    EXPECT_TRUE(v.Lab_Prod_Nome->text().isEmpty()); // the entry is cleared
    EXPECT_EQ(QApplication::focusWidget(), v.Edt_Prod_Busca);
}

TEST(VendasTab, LookupsByCodeNameScaleLabelAndQuote) {
    struct Caso {
        const char* nome;
        const char* tipo; // conf_balanca_tipo
        const char* texto;
        const char* item; // the item row that results
    };
    const Caso casos[] = {
        {"internal code", "valor", "123",
         "PRODUTO CENTO E VINTE E TRÊS | 7891000101230     1,00 X     1,00        | 1,00"},
        {"part of the name", "valor", "Arroz",
         "ARROZ BRANCO 5KG | 7891000100011     1,00 X    27,90        | 27,90"},
        {"a quote in the text is searched literally", "valor", "D'Ouro",
         "BISCOITO D'OURO | 7891000100097     1,00 X     3,50        | 3,50"},
        // Characters 7 to 13 of the label: "1012508" read as 10,12508.
        {"scale label read as the price", "valor", "2000021012508",
         "QUEIJO MUSSARELA KG | 2000021           1,00 X    10,13        | 10,13"},
        {"scale label read as the weight", "PESO", "2000021012508",
         "QUEIJO MUSSARELA KG | 2000021          10,13 X    49,90        | 505,24"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        Balcao b([&](TSettings& s) {
            semCaixas(s);
            s.conf_balanca_tipo = QString::fromLatin1(c.tipo);
        });
        b.buscar(QString::fromUtf8(c.texto));
        EXPECT_EQ(linhas(b.w()), QStringList{QString::fromUtf8(c.item)});
    }
}

TEST(VendasTab, QuantityTypedBeforeTheProduct) {
    Balcao b(semCaixas);
    b.w().Vendas().Focar_Busca();
    b.digitar("3*");
    EXPECT_TRUE(b.w().Vendas().Edt_Prod_Busca->currentText().isEmpty());
    EXPECT_EQ(b.w().Vendas().Lab_Prod_Quant->text(), "3,00");
    b.buscar("7891000100028");
    EXPECT_EQ(b.sql("select prod_qtd from venda_produtos"), "3.0");
    EXPECT_EQ(total(b.w()), "25,47");
}

TEST(VendasTab, Promotions) {
    const struct {
        const char* nome;
        const char* cbarra;
        const char* quantidade;
        const char* unitario;
        const char* total;
        bool nota;
    } casos[] = {
        {"below the minimum", "7891000100042", "2", "15,00", "30,00", true},
        {"at the minimum", "7891000100042", "3", "13,50", "40,50", true},
        {"not before its date", "7891000100059", "3", "20,00", "60,00", true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        Balcao b;
        b.buscar(c.cbarra);
        TVendas_Tab& v = b.w().Vendas();
        v.Edt_Prod_Qtd->selectAll();
        b.digitar(c.quantidade);
        b.teclar(Qt::Key_Return);
        EXPECT_EQ(v.Lab_Prod_Unitario->text(), c.unitario);
        EXPECT_EQ(v.Lyt_Promo->isVisible(), c.nota);
        // The price box left as it was filled: the promotion counts once and the
        // catalogue price is what is stored.
        b.teclar(Qt::Key_Return);
        EXPECT_EQ(total(b.w()), c.total);
    }
    Balcao b;
    b.buscar("7891000100042");
    EXPECT_EQ(b.w().Vendas().Lab_Prod_Promo->text(), "Acima de 3 valor R$ 13,50");
    b.w().Vendas().Edt_Prod_Qtd->selectAll();
    b.digitar("3");
    b.teclar(Qt::Key_Return);
    b.teclar(Qt::Key_Return);
    EXPECT_EQ(b.sql("select prod_venda || ' ' || prod_total || ' ' || prod_geral from "
                    "venda_produtos"),
              "15.0 40.5 40.5");
}

TEST(VendasTab, PriceBoxRules) {
    const struct {
        const char* nome;
        int altvalor;
        double limite;
        const char* digitado;
        const char* caixa; // the price box afterwards
        const char* total; // the sale total afterwards
        bool mensagem;
    } casos[] = {
        {"lowering without permission goes back to the price", 0, 0, "9,00", "", "27,90", false},
        {"raising without permission", 0, 0, "30,00", "", "30,00", false},
        {"lowering with permission", 1, 0, "25,00", "", "25,00", false},
        {"beyond the discount limit", 1, 5, "25,00", "26,51", "0,00", true},
        {"within the discount limit", 1, 5, "26,60", "", "26,60", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        Balcao b([&](TSettings& s) {
            s.conf_prod_qtd = false;
            s.conf_Desc_Limit = c.limite;
        });
        b.w().Config.conf_venda_altvalor = c.altvalor;
        b.buscar("7891000100011");
        TVendas_Tab& v = b.w().Vendas();
        ASSERT_EQ(QApplication::focusWidget(), v.Edt_Prod_Valor);
        v.Edt_Prod_Valor->selectAll();
        b.digitar(c.digitado);
        b.teclar(Qt::Key_Return);
        EXPECT_EQ(v.Edt_Prod_Valor->text(), c.caixa);
        EXPECT_EQ(total(b.w()), c.total);
        if (c.mensagem) {
            EXPECT_EQ(MessageBox::shown(),
                      QStringList{"O valor do item exedeu o limit maximo de desconto de 5%"});
            // The floor is in the box: Enter again enters the item at it.
            b.teclar(Qt::Key_Return);
            EXPECT_EQ(total(b.w()), "26,51");
        } else {
            EXPECT_TRUE(MessageBox::shown().isEmpty());
        }
    }
}

TEST(VendasTab, AboveStockIsRedButAccepted) {
    Balcao b(semCaixas);
    b.buscar("7891000100080");
    auto* m = b.w().Vendas().Lbx_Cupom->model();
    ASSERT_EQ(m->rowCount(), 1);
    EXPECT_TRUE(m->index(0, 0).data(Qt::UserRole + 2).toBool());
    EXPECT_EQ(m->index(0, 0).data(Qt::ToolTipRole).toString(), "Produto acima do estoque");
}

TEST(VendasTab, RemovalShrinksTheSaleDiscountInProportion) {
    Balcao b(semCaixas);
    b.buscar("7891000100011");
    b.buscar("7891000100028");
    // A discount of 2,00 on the sale, as the discount window gives it.
    b.dm().FDConnection1.exec("update venda set venda_desconto=2");
    b.w().Venda.Venda_Desconto = 2;
    b.w().Vendas().Cupom_Busca();
    EXPECT_EQ(total(b.w()), "34,39");
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Desc->text(), "Desc: R$ 2,00");

    // Remove the first item (27,90 of 36,39): the discount becomes 2 x 8,49 / 36,39.
    auto* lista = b.w().Vendas().Lbx_Cupom;
    lista->setCurrentIndex(lista->model()->index(0, 0));
    MessageBox::setNextAnswer(MessageBox::Ok);
    b.w().Vendas().Btn_Prod_DeleteClick();
    EXPECT_EQ(linhas(b.w()).size(), 1);
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Desc->text(), "Desc: R$ 0,47");
    EXPECT_EQ(b.sql("select apagado from venda_produtos where prod_id=1"), "1");
}

TEST(VendasTab, RemovalOfOneOfTwoEqualItems) {
    Balcao b(semCaixas);
    b.buscar("7891000100042"); // 15,00
    b.buscar("7891000100042");
    b.dm().FDConnection1.exec("update venda set venda_desconto=2");
    b.w().Venda.Venda_Desconto = 2;
    b.w().Vendas().Cupom_Busca();
    MessageBox::setNextAnswer(MessageBox::Ok);
    b.w().Vendas().Btn_Prod_DeleteClick();
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Desc->text(), "Desc: R$ 1,00");
    EXPECT_EQ(total(b.w()), "14,00");
    EXPECT_EQ(b.sql("select venda_desconto from venda"), "1.0");

    // Cancelled at the question: nothing changes.
    MessageBox::setNextAnswer(MessageBox::Cancel);
    b.w().Vendas().Btn_Prod_DeleteClick();
    EXPECT_EQ(linhas(b.w()).size(), 1);
}

TEST(VendasTab, F2ResumesTheOpenSale) {
    Balcao b(semCaixas);
    b.buscar("7891000100011");
    const qint32 id = b.w().Venda.Venda_ID;
    const QString cod = b.w().Venda.Venda_COD;
    EXPECT_TRUE(cod.startsWith(QStringLiteral("PDV12%1").arg(id, 4, 10, QLatin1Char('0'))));

    // The screen is cleared as after a restart; the sale stays open in the database.
    b.w().Vendas().Venda_Limpar();
    EXPECT_EQ(b.w().Venda.Venda_ID, 0);
    b.teclar(Qt::Key_F2);
    EXPECT_EQ(b.w().Venda.Venda_ID, id);
    EXPECT_EQ(b.w().Venda.Venda_COD, cod);
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_VendNum->text(), cod);
    EXPECT_EQ(linhas(b.w()).size(), 1);
    EXPECT_EQ(b.sql("select count(*) from venda"), "1");
}

TEST(VendasTab, F6CancelsTheSale) {
    Balcao b(semCaixas);
    b.buscar("7891000100011");
    MessageBox::setNextAnswer(MessageBox::Cancel);
    b.teclar(Qt::Key_F6);
    EXPECT_EQ(b.sql("select count(*) from venda"), "1");
    MessageBox::setNextAnswer(MessageBox::Ok);
    b.teclar(Qt::Key_F6);
    EXPECT_EQ(b.sql("select count(*) from venda"), "0");
    EXPECT_EQ(b.sql("select count(*) from venda_produtos"), "0");
    EXPECT_EQ(b.w().Venda.Venda_ID, 0);
    EXPECT_EQ(b.w().Vendas().Lab_Cupom_Title->text(), "Caixa Livre");
    EXPECT_EQ(total(b.w()), "0,00");
    EXPECT_EQ(MessageBox::shown(), (QStringList{"Deseja Realmente CANCELAR esta venda?",
                                                "Deseja Realmente CANCELAR esta venda?"}));
}

TEST(VendasTab, F3NeedsASaleWithATotal) {
    Balcao b;
    int aberturas = 0;
    b.w().Ganchos_.Finalizacao = [&] { ++aberturas; };
    b.teclar(Qt::Key_F3);
    b.teclar(Qt::Key_F2);
    b.teclar(Qt::Key_F3); // open sale, total 0,00
    EXPECT_EQ(aberturas, 0);
    b.w().Vendas().Produto_Busca("7891000100011");
    b.w().Vendas().Produto_Insert();
    b.teclar(Qt::Key_F3);
    EXPECT_EQ(aberturas, 1);
}

TEST(VendasTab, F12AndEscapeNavigation) {
    Balcao b;
    TPrincipal& w = b.w();
    b.teclar(Qt::Key_F12);
    EXPECT_EQ(w.Aba_Atual(), w.Tab_Lista);
    EXPECT_TRUE(w.Circ_Voltar->isVisible());
    EXPECT_FALSE(w.Lyt_Logado->isVisible());
    b.teclar(Qt::Key_F12);
    EXPECT_EQ(w.Aba_Atual(), w.Tab_Vendas);

    b.teclar(Qt::Key_F12);
    b.teclar(Qt::Key_Escape); // back, without asking to close
    EXPECT_EQ(w.Aba_Atual(), w.Tab_Vendas);
    EXPECT_TRUE(MessageBox::shown().isEmpty());

    MessageBox::setNextAnswer(MessageBox::Cancel);
    b.teclar(Qt::Key_Escape);
    EXPECT_EQ(MessageBox::shown(), QStringList{"Deseja Finalizar o Sistema?"});
    EXPECT_EQ(w.Aba_Atual(), w.Tab_Vendas);

    // Signing out keeps the e-mail in the login box and the company's database.
    MessageBox::setNextAnswer(MessageBox::Ok);
    b.teclar(Qt::Key_Escape);
    EXPECT_EQ(w.Aba_Atual(), w.Tab_Login);
    EXPECT_EQ(w.Login().Email_Texto(), Balcao::EMAIL);
    EXPECT_TRUE(w.Config.Emp_Nome.isEmpty());
    EXPECT_EQ(b.dm().FDConnection1.path(), b.pastaEmpresa() + "dbase.s3db");
}

TEST(VendasTab, AnOpenSaleBlocksTheListAndClosing) {
    Balcao b(semCaixas);
    b.buscar("7891000100011");
    TPrincipal& w = b.w();
    MessageBox::clearShown();
    b.teclar(Qt::Key_F12);
    w.Img_VendasClick();
    b.teclar(Qt::Key_Escape); // does nothing with a sale open
    w.Img_CloseClick();
    const QString aberta =
        QString::fromUtf8("Existe uma venda em aberto. Finalize a venda para consultar a lista.");
    ASSERT_EQ(MessageBox::shown().size(), 3);
    EXPECT_EQ(MessageBox::shown()[0], aberta);
    EXPECT_EQ(MessageBox::shown()[1], aberta);
    EXPECT_EQ(MessageBox::shown()[2],
              QString::fromUtf8("Atenção!\n\nExiste uma venda em aberto e por isso o sistema não "
                                "poderá ser fechado. para continuar escolha as segintes opções "
                                "clicando em:\n\n[F3] - Para Concluir a Venda \n\n"
                                "[F6] - Para Cancelar"));
    EXPECT_EQ(w.Aba_Atual(), w.Tab_Vendas);
}

TEST(VendasTab, SeveralMatchesOpenTheProductList) {
    Balcao b(semCaixas);
    // Choose the first row in the product list: Enter twice.
    QTimer::singleShot(0, [] {
        auto* lista = dynamic_cast<TProdutos_Lista*>(QApplication::activeModalWidget());
        ASSERT_NE(lista, nullptr);
        QTest::keyClick(lista->Edt_Prod_Busca, Qt::Key_Return);
        QTest::keyClick(lista->Edt_Prod_Busca, Qt::Key_Return);
    });
    b.w().Vendas().Focar_Busca();
    b.digitar("Caf");
    b.teclar(Qt::Key_Return);
    // The chosen product is in the entry; the key handling ended there.
    EXPECT_EQ(b.w().Vendas().Lab_Prod_Nome->text(), QString::fromUtf8("Café Especial 250g"));
    EXPECT_TRUE(linhas(b.w()).isEmpty());
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    qApp->processEvents(); // the window system gives the main window its focus back
    ASSERT_EQ(QApplication::focusWidget(), b.w().Vendas().Edt_Prod_Busca);
    b.teclar(Qt::Key_Return);
    ASSERT_EQ(linhas(b.w()).size(), 1);
    EXPECT_TRUE(linhas(b.w())[0].startsWith(QString::fromUtf8("CAFÉ ESPECIAL 250G")));
}

TEST(VendasTab, QuickOptionsShowAndHideTheBoxesAndAreSaved) {
    Balcao b;
    TVendas_Tab& v = b.w().Vendas();
    EXPECT_TRUE(v.Rct_Prod_Qtd->isVisible());
    v.Swt_prod_qtd->click();
    EXPECT_FALSE(v.Rct_Prod_Qtd->isVisible());
    EXPECT_FALSE(b.w().Config.conf_prod_qtd);
    TSettings lido;
    SettingsFile(b.dir.path()).IniFile_Read(lido, QString());
    EXPECT_FALSE(lido.conf_prod_qtd);
    EXPECT_TRUE(lido.conf_prod_valor);
}

TEST(VendasTab, ProductNamesFillTheSearchBoxList) {
    Balcao b({}, [](db::Connection& c) { Balcao::Catalogo_Grande(c, 2000); });
    QComboBox* busca = b.w().Vendas().Edt_Prod_Busca;
    ASSERT_EQ(busca->count(), 1501);
    EXPECT_EQ(busca->itemText(0), "");
    QFile arquivo(b.pastaEmpresa() + "ProdList.txt");
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(arquivo.readAll().count('\n'), 1501);
}

} // namespace

namespace {

TEST(LoginTab, RefusalsShowTheirTitleWhileTheSignalRuns) {
    Balcao b;
    MessageBox::setNextAnswer(MessageBox::Ok);
    b.teclar(Qt::Key_Escape); // sign out
    TLogin_Tab& l = b.w().Login();
    const struct {
        const char* email;
        const char* senha;
        const char* titulo;
    } casos[] = {
        {"   ", "x", "Preencha o Email"},
        {Balcao::EMAIL, " ", "Preencha a Senha"},
        {Balcao::EMAIL, "errada", "Usuário Não Encontrado"},
        {"CAIXA@loja.com.br", Balcao::SENHA, "Usuário Não Encontrado"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.titulo);
        l.Email_Definir(QString::fromLatin1(c.email));
        l.Edt_Usuario_Password->setText(QString::fromLatin1(c.senha));
        l.Login_Entrar();
        EXPECT_EQ(l.Lab_Login_Title->text(), QString::fromUtf8(c.titulo));
        EXPECT_TRUE(l.Lab_Login_Help->text().isEmpty());
        EXPECT_TRUE(l.Erro_Animando());
        EXPECT_EQ(b.w().Aba_Atual(), b.w().Tab_Login);
    }
    // When the signal ends, the welcome texts come back.
    QTRY_VERIFY_WITH_TIMEOUT(!l.Erro_Animando(), 5000);
    EXPECT_EQ(l.Lab_Login_Title->text(), "Seja bem vindo!");

    l.Email_Definir(QString::fromLatin1(Balcao::EMAIL));
    l.Edt_Usuario_Password->setText(QString::fromLatin1(Balcao::SENHA));
    l.Edt_Usuario_Password->setFocus();
    b.teclar(Qt::Key_Return);
    EXPECT_EQ(b.w().Aba_Atual(), b.w().Tab_Vendas);
    EXPECT_TRUE(l.Email_Texto().isEmpty());
    EXPECT_TRUE(l.Edt_Usuario_Password->text().isEmpty());
}

TEST(TitleBar, UnsentSalesBadgeAndSyncReminder) {
    Balcao b([](TSettings&) {});
    TPrincipal& w = b.w();
    EXPECT_FALSE(w.Circ_Vendas_Alert->isVisible());
    b.dm().FDConnection1.exec(
        "insert into venda (id, venda_cod, concluido, venda_status) values (1, 'A', 1, 0), "
        "(2, 'B', 1, 0), (3, 'C', 1, 1), (4, 'D', 0, 0)");
    w.Venda_Alert();
    EXPECT_TRUE(w.Circ_Vendas_Alert->isVisible());
    EXPECT_EQ(w.findChild<QLabel*>("Lab_Vendas_Alert")->text(), "2");

    // Synchronised just now (the fixture saved it): no reminder; 49 hours ago: it blinks
    // until the item list is rebuilt.
    EXPECT_FALSE(w.Sincronia_Animando());
    SettingsFile(b.dir.path())
        .Gravar_Dt_Sinc_Update(Balcao::EMAIL, QDateTime::currentDateTime().addSecs(-49 * 3600));
    w.Sincronia_Alert();
    EXPECT_TRUE(w.Sincronia_Animando());
    w.Vendas().Cupom_Busca();
    EXPECT_FALSE(w.Sincronia_Animando());
}

} // namespace
