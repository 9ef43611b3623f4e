// The print-options screen: the choice of print by keys and buttons, the profiles of the
// settings tab, the slide-in over the backdrop.

#include "printing/Impressao_Perfil.h"
#include "printing/Print_Options_Unit.h"

#include "foundation/IniFile.h"
#include "foundation/MessageBox.h"
#include "widgets/Switch.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {

class Tela {
public:
    Tela() : w(dir.path(), &fundo) {
        MessageBox::clearShown();
        fundo.setStyleSheet(QStringLiteral("background: white;"));
        fundo.resize(1280, 720);
        fundo.show();
        w.show();
        QApplication::setActiveWindow(&w);
    }
    ~Tela() { MessageBox::clearShown(); }

    void escolher(int linha) {
        if (linha >= 0) w.Lbx_Options->setCurrentRow(linha);
    }
    void tecla(int key) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w,
                        Qt::Key(key));
    }
    bool naConfig() const { return w.TbCtrl_Print->currentWidget() == w.Tab_Config; }
    QString ini() const { return QString::fromUtf8(dir.read("confg.ini")); }

    TestDir dir;
    QWidget fundo;
    TPrint_Options w;
};

TEST(PrintOptions, ChoiceByKeysAndButtons) {
    const struct {
        const char* nome;
        int linha;
        std::function<void(Tela&)> acao;
        std::optional<int> escolha;
        int resultado;
    } cases[] = {
        {"Esc cancels", 0, [](Tela& t) { t.tecla(Qt::Key_Escape); }, std::nullopt,
         QDialog::Rejected},
        {"CANCELAR", 2, [](Tela& t) { QTest::mouseClick(t.w.Rct_BtCancel, Qt::LeftButton); },
         std::nullopt, QDialog::Rejected},
        {"Enter with nothing selected", -1, [](Tela& t) { t.tecla(Qt::Key_Return); }, std::nullopt,
         QDialog::Accepted},
        {"Enter on the purchase order", 1, [](Tela& t) { t.tecla(Qt::Key_Enter); }, 1,
         QDialog::Accepted},
        {"IMPRIMIR on the report", 2,
         [](Tela& t) { QTest::mouseClick(t.w.Rct_BtOk, Qt::LeftButton); }, 2, QDialog::Accepted},
        {"clicking the receipt's picture, then Enter", -1,
         [](Tela& t) {
             QListWidget* l = t.w.Lbx_Options;
             QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                               l->visualItemRect(l->item(0)).center());
             t.tecla(Qt::Key_Return);
         },
         0, QDialog::Accepted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nome);
        Tela t;
        t.escolher(c.linha);
        c.acao(t);
        EXPECT_EQ(t.w.ResultPrint, c.escolha);
        EXPECT_FALSE(t.w.isVisible());
        EXPECT_EQ(t.w.result(), c.resultado);
    }
}

TEST(PrintOptions, SalesListOpensANewScreenEachTime) {
    TestDir dir;
    QWidget janela;
    janela.resize(1024, 700);
    janela.show();
    std::unique_ptr<TPrint_Options> tela = std::make_unique<TPrint_Options>(dir.path(), &janela);
    QPointer<TPrint_Options> anterior = tela.get();
    QTimer::singleShot(0, [] {
        auto* w = dynamic_cast<TPrint_Options*>(QApplication::activeModalWidget());
        if (!w) return;
        w->Lbx_Options->setCurrentRow(2);
        QTest::keyClick(w, Qt::Key_Return);
    });
    EXPECT_EQ(TPrint_Options::Escolher(tela, dir.path(), &janela), std::optional<int>(2));
    EXPECT_TRUE(anterior.isNull());
    ASSERT_TRUE(tela);
    EXPECT_FALSE(tela->isVisible());
}

TEST(PrintOptions, NeverSavedProfileOpensWithDefaults) {
    Tela t;
    t.escolher(0);
    t.tecla(Qt::Key_F2);
    ASSERT_TRUE(t.naConfig());
    EXPECT_EQ(t.w.Cbx_Impress_Nome->currentText(), Impressora::Bloco_Notas);
    EXPECT_EQ(t.w.Cbx_Impress_Porta->currentText(), QStringLiteral("ARQUIVO"));
    EXPECT_EQ(t.w.Cbx_Impress_Porta->currentIndex(), -1); // not in the type's list
    EXPECT_EQ(t.w.Cbx_Impress_Porta->count(), 1);
    EXPECT_EQ(t.w.Lab_Impress_Porta->text(), QStringLiteral("Opções:"));
    EXPECT_EQ(t.w.Spn_Impress_Linha->value(), 3);
    EXPECT_EQ(t.w.Spn_Impress_MgEsq->value(), 3);
    EXPECT_EQ(t.w.Spn_Impress_Colunas->value(), 80);
    EXPECT_EQ(t.w.Spn_Impress_Fonte->value(), 0);
    EXPECT_FALSE(t.w.Swth_Impess_Gaveta->isChecked());
    EXPECT_FALSE(t.w.Swth_Impess_Papel->isChecked());
    EXPECT_FALSE(t.w.Swth_Impess_CBarra->isChecked());
    EXPECT_EQ(t.w.Mem_Mensagem->toPlainText(),
              QStringLiteral("OBRIGADO PELA PREFERENCIA. VOLTE SEMPRE!"));
    // VOLTAR writes nothing.
    QTest::mouseClick(t.w.Rectangle4, Qt::LeftButton);
    EXPECT_FALSE(t.naConfig());
    EXPECT_FALSE(t.dir.exists("confg.ini"));
}

TEST(PrintOptions, SavingStoresWhatTheScreenShows) {
    Tela t;
    t.dir.write("confg.ini", "[conf]\r\nprod_qtd=1\r\n");
    t.escolher(2);
    t.tecla(Qt::Key_F2);
    ASSERT_TRUE(t.naConfig());
    t.w.Cbx_Impress_Nome->setCurrentText(Impressora::Matricial);
    t.w.Cbx_Impress_Porta->setFocus();
    t.w.Cbx_Impress_Porta->lineEdit()->selectAll();
    QTest::keyClicks(t.w.Cbx_Impress_Porta, QStringLiteral("\\\\127.0.0.1\\Termica_Caixa2"));
    t.w.Spn_Impress_Linha->setValue(-1);
    t.w.Spn_Impress_MgEsq->setValue(2);
    t.w.Spn_Impress_Colunas->setValue(48);
    t.w.Spn_Impress_Fonte->setValue(9);
    QTest::mouseClick(t.w.Swth_Impess_Gaveta, Qt::LeftButton);
    QTest::mouseClick(t.w.Swth_Impess_CBarra, Qt::LeftButton);
    t.w.Mem_Mensagem->setPlainText(QStringLiteral("VOLTE SEMPRE\nBOAS COMPRAS"));
    t.tecla(Qt::Key_F2);
    EXPECT_FALSE(t.naConfig());

    const TPerfil_Impressao p = Perfil_Ler(t.dir.path(), QStringLiteral("003"));
    EXPECT_EQ(p.impress_nome, Impressora::Matricial);
    EXPECT_EQ(p.impress_porta, QStringLiteral("\\\\127.0.0.1\\Termica_Caixa2"));
    EXPECT_EQ(p.impress_Salto, -1);
    EXPECT_EQ(p.impress_MgEsq, 2);
    EXPECT_EQ(p.impress_Colunas, 48);
    EXPECT_EQ(p.impress_Fonte, 9);
    EXPECT_TRUE(p.impress_Gaveta);
    EXPECT_FALSE(p.impress_Papel);
    EXPECT_TRUE(p.impress_CBarra);
    // The settings file keeps a value on one line: the line break becomes a blank.
    EXPECT_EQ(p.impress_Mensagem, QStringLiteral("VOLTE SEMPRE BOAS COMPRAS"));
    // The screen's key names, read back without regard to case; other sections untouched.
    const QString ini = t.ini();
    EXPECT_TRUE(ini.startsWith(QStringLiteral("[conf]\r\nprod_qtd=1\r\n")));
    EXPECT_TRUE(ini.contains(QStringLiteral("\r\nimpress_Salto003=-1\r\n")));
    EXPECT_TRUE(ini.contains(QStringLiteral("\r\nimpress_Gaveta003=1\r\nimpress_Papel003=0\r\n")));
    EXPECT_EQ(IniFile(t.dir.file("confg.ini"))
                  .ReadInteger(QStringLiteral("impressao"), QStringLiteral("IMPRESS_SALTO003"), 3),
              -1);
    // The other profiles stay as they were.
    EXPECT_FALSE(ini.contains(QStringLiteral("001=")));

    // Opened again, the screen shows what was stored.
    t.tecla(Qt::Key_F2);
    EXPECT_EQ(t.w.Cbx_Impress_Porta->currentText(),
              QStringLiteral("\\\\127.0.0.1\\Termica_Caixa2"));
    EXPECT_EQ(t.w.Lab_Impress_Porta->text(), QStringLiteral("Porta:"));
    EXPECT_EQ(t.w.Spn_Impress_Linha->value(), -1);
    EXPECT_TRUE(t.w.Swth_Impess_Gaveta->isChecked());
}

TEST(PrintOptions, ChangingTheTypeKeepsOnlyAPortItOffers) {
    const struct {
        QString de, porta, para;
        int indice;
        QString texto, rotulo;
    } cases[] = {
        {Impressora::Termica, QStringLiteral("Visualizar"), Impressora::Matricial, -1, QString(),
         QStringLiteral("Porta:")},
        {Impressora::Deskjet, QStringLiteral("Imprimir"), Impressora::Termica, 1,
         QStringLiteral("Imprimir"), QStringLiteral("Opções:")},
        {Impressora::Matricial, QStringLiteral("COM3"), Impressora::Bloco_Notas, -1, QString(),
         QStringLiteral("Opções:")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.para.toStdString());
        Tela t;
        TPerfil_Impressao p;
        p.impress_nome = c.de;
        p.impress_porta = c.porta;
        Perfil_Salvar(t.dir.path(), QStringLiteral("001"), p);
        t.escolher(0);
        QTest::mouseClick(t.w.Rectangle2, Qt::LeftButton);
        ASSERT_EQ(t.w.Cbx_Impress_Porta->currentText(), c.porta);
        t.w.Cbx_Impress_Nome->setCurrentText(c.para);
        EXPECT_EQ(t.w.Cbx_Impress_Porta->currentIndex(), c.indice);
        EXPECT_EQ(t.w.Cbx_Impress_Porta->currentText(), c.texto);
        EXPECT_EQ(t.w.Lab_Impress_Porta->text(), c.rotulo);
    }
}

TEST(PrintOptions, TypeOnlyAnEditedFileHoldsIsRefused) {
    Tela t;
    t.dir.write("confg.ini", "[IMPRESSAO]\r\nimpress_nome001=Epson TM-T20\r\n");
    t.escolher(0);
    t.tecla(Qt::Key_F2);
    EXPECT_FALSE(t.naConfig());
    EXPECT_EQ(MessageBox::shown(),
              QStringList{QStringLiteral("Tipo de impressora não reconhecido: \"Epson TM-T20\".")});
    EXPECT_EQ(t.ini(), QStringLiteral("[IMPRESSAO]\r\nimpress_nome001=Epson TM-T20\r\n"));
}

TEST(PrintOptions, NoEntrySelectedEditsProfile000) {
    Tela t;
    t.tecla(Qt::Key_F2);
    ASSERT_TRUE(t.naConfig());
    t.tecla(Qt::Key_F2);
    EXPECT_TRUE(t.ini().contains(QStringLiteral("impress_nome000=Bloco de Notas [.txt]")));
    EXPECT_FALSE(t.ini().contains(QStringLiteral("001=")));
}

TEST(PrintOptions, SettingsFileThatCannotBeWritten) {
    Tela t;
    t.dir.write("confg.ini", "[conf]\r\n");
    t.escolher(1);
    t.tecla(Qt::Key_F2);
    ReadOnly trava(t.dir.file("confg.ini"));
    if (!trava.ok()) GTEST_SKIP() << "this machine cannot make a file read-only";
    QTest::mouseClick(t.w.Rectangle3, Qt::LeftButton);
    EXPECT_EQ(MessageBox::shown(),
              QStringList{QStringLiteral("Unable to write to ") + t.dir.file("confg.ini")});
    EXPECT_TRUE(t.naConfig());
}

TEST(PrintOptions, ReportPageShownWhenThere) {
    for (bool existe : {false, true}) {
        TestDir dir;
        if (existe)
            dir.write("Relatorio.html", "<html><body><h1>Vendas de hoje</h1></body></html>");
        TPrint_Options w(dir.path());
        w.show();
        EXPECT_EQ(w.WBrowser_Print->isVisible(), existe);
        if (existe) {
            EXPECT_TRUE(w.WBrowser_Print->toPlainText().contains(QStringLiteral("Vendas de hoje")));
        }
    }
}

TEST(PrintOptions, ButtonColoursUnderTheMouse) {
    Tela t;
    const struct {
        QPushButton* botao;
        const char *sob, *fora;
    } cases[] = {
        {t.w.Rct_BtOk, "background: #6495ED; color: black;", "background: #3797C3; color: white;"},
        {t.w.Rct_BtCancel, "background: #808080; color: white;",
         "background: #D3D3D3; color: #708090;"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.botao->styleSheet().contains(QLatin1String(c.fora)));
        QEvent entra(QEvent::Enter);
        QApplication::sendEvent(c.botao, &entra);
        EXPECT_TRUE(c.botao->styleSheet().contains(QLatin1String(c.sob)));
        QEvent sai(QEvent::Leave);
        QApplication::sendEvent(c.botao, &sai);
        EXPECT_TRUE(c.botao->styleSheet().contains(QLatin1String(c.fora)));
    }
}

TEST(PrintOptions, CardSlidesInOverTheBackdrop) {
    Tela t;
    EXPECT_EQ(t.w.geometry(), t.fundo.geometry());
    const QPoint fim = t.w.Posicao_Final();
    EXPECT_EQ(fim,
              QPoint((1280 - t.w.Lyt_Cupom->width()) / 2, (720 - t.w.Lyt_Cupom->height()) / 2));
    // Half a second parked beyond the right edge, then a second's slide.
    QTest::qWait(300);
    EXPECT_EQ(t.w.Lyt_Cupom->pos(), QPoint(1280 + 800, fim.y()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !t.w.Deslizando(); }, 3000));
    EXPECT_EQ(t.w.Lyt_Cupom->pos(), fim);

    // The white window underneath darkened by A5000000.
    const QColor fora = t.w.grab().toImage().pixelColor(5, 5);
    EXPECT_NEAR(fora.red(), 90, 3);
    EXPECT_NEAR(fora.green(), 90, 3);
    EXPECT_NEAR(fora.blue(), 90, 3);
}

} // namespace
