#include "sale/Web_Tab_Unit.h"

#include "cloud/WebAPI.h"
#include "foundation/MessageBox.h"
#include "sale/Principal_Unit.h"

#include "support/Balcao.h"
#include "support/CloudSim.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

// The text the panel's page shows once it has loaded; empty when it never does.
QString textoDaPagina(TWeb_Tab& web) {
    QWebEngineView* v = web.Navegador();
    if (!v) return QString();
    QSignalSpy carregou(v, &QWebEngineView::loadFinished);
    if (!carregou.wait(30000) || !carregou.first().first().toBool()) return QString();
    QString texto;
    bool pronto = false;
    v->page()->toPlainText([&](const QString& t) {
        texto = t;
        pronto = true;
    });
    return QTest::qWaitFor([&] { return pronto; }, 10000) ? texto : QString();
}

TEST(WebTab, AnUploadShowsItsReplyFileWithoutLeavingTheSaleTab) {
    Balcao b; // signed in offline
    CloudSim sim;
    sim.usar();
    TPrincipal& w = b.w();
    w.WebAPI_URL = WebAPI_Base(w.Config.conf_ProtHTTP);
    w.Config.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
    w.Config.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
    b.dm().FDConnection1.exec("insert into venda (id, venda_cod, concluido, venda_status, "
                              "venda_total, entrada) values (5, 'PDV100005', 1, 0, 8.49, 8.49)");
    // A reply without a charset of its own, read as the file was written.
    sim.upload_venda(true, QString::fromUtf8(" — operação concluída"));
    ASSERT_EQ(w.Aba_Atual(), w.Tab_Vendas);

    const TUpload_Resultado r = Venda_Lista_UpLoad(w, 5);
    EXPECT_TRUE(r.Enviada);
    EXPECT_EQ(b.sql("select venda_status from venda where id=5"), "1");
    EXPECT_EQ(w.Web().Endereco(), QUrl::fromLocalFile(r.Arquivo));
    ASSERT_NE(w.Web().Navegador(), nullptr);
    EXPECT_EQ(w.Web().Navegador()->objectName(), "WBrowser_Return");
    EXPECT_EQ(w.Aba_Atual(), w.Tab_Vendas);
    const QString pagina = textoDaPagina(w.Web());
    EXPECT_TRUE(pagina.startsWith("Status:OK Venda PDV100005")) << pagina.toStdString();
    EXPECT_TRUE(pagina.endsWith(QString::fromUtf8("operação concluída"))) << pagina.toStdString();

    // A failed upload shows its box and leaves the panel as it was.
    sim.falhar(QStringLiteral("upload_venda"), QStringLiteral("500"));
    MessageBox::clearShown();
    EXPECT_THROW(Venda_Lista_UpLoad(w, 5), Abort);
    EXPECT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(w.Web().Endereco(), QUrl::fromLocalFile(r.Arquivo));
}

TEST(WebTab, AnHtmlTextShowsInPlaceOfTheLastPage) {
    Balcao b;
    TWeb_Tab& web = b.w().Web();
    EXPECT_EQ(web.Navegador(), nullptr); // no engine until a page is shown
    web.Mostrar_HTML(
        QString::fromUtf8("<html><body><h1>Relatório</h1><p>Caixa 1</p></body></html>"));
    EXPECT_TRUE(web.Endereco().isEmpty());
    EXPECT_EQ(textoDaPagina(web), QString::fromUtf8("Relatório\n\nCaixa 1"));
    b.w().Mostrar_Aba(b.w().Tab_WebBrozer);
    QTest::qWait(400);
    EXPECT_TRUE(web.isVisible());
    EXPECT_TRUE(web.Navegador()->isVisible());
}

} // namespace
