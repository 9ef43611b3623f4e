#include "checkout/Pix_Pagina_Unit.h"
#include "cloud/WebAPI.h"
#include "sale/Principal_Unit.h"

#include "support/Balcao.h"
#include "support/CloudSim.h"

#include <QLabel>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

class PixPagina : public ::testing::Test {
protected:
    void SetUp() override {
        sim.usar();
        TPrincipal& w = b.w();
        w.WebAPI_URL = WebAPI_Base(w.Config.conf_ProtHTTP);
        w.Config.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
        w.Config.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
        w.Venda.Venda_COD = QStringLiteral("PDV120037");
        pagina.resize(520, 560);
        pagina.show();
    }

    Balcao b; // signed in offline
    CloudSim sim;
    QWidget pagina;
    TPix_Pagina* pix = new TPix_Pagina(&pagina);
};

TEST_F(PixPagina, TheCodeOnTheScreenScansAndThePaymentLetsTheSaleThrough) {
    EXPECT_EQ(pix->Lab_Pix_Chave->text(), "Carregando...");
    EXPECT_EQ(pix->Img_QRCode->size(), QSize(330, 330));

    EXPECT_TRUE(pix->PIX_webAPI(b.w(), QStringLiteral("35,50")));
    EXPECT_TRUE(b.w().ConexaoWeb);
    EXPECT_FALSE(pix->pix.pix_ok);
    EXPECT_EQ(pix->Lab_Pix_Chave->text(), "11222333000181");
    EXPECT_EQ(pix->Img_QRCode->pixmap().size(), QSize(330, 330));

    // What the customer's phone sees: the page as drawn.
    if (!QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty()) {
        const QString arquivo = b.dir.file("pagina.png");
        ASSERT_TRUE(pagina.grab().save(arquivo));
        QProcess zbar;
        zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"),
                                               QStringLiteral("-Sbinary"), arquivo});
        ASSERT_TRUE(zbar.waitForFinished(20000));
        EXPECT_EQ(zbar.readAllStandardOutput().trimmed(), pix->pix.pix_txid.toLatin1());
    }

    EXPECT_TRUE(pix->PIX_webAPI(b.w(), QStringLiteral("35,50")));
    EXPECT_TRUE(pix->pix.pix_ok);
}

TEST_F(PixPagina, AFailedRequestLeavesTheKeyLoading) {
    sim.falhar(QStringLiteral("pix"), QStringLiteral("500"));
    b.w().ConexaoWeb = true;
    EXPECT_FALSE(pix->PIX_webAPI(b.w(), QStringLiteral("10,00")));
    EXPECT_FALSE(b.w().ConexaoWeb);
    EXPECT_EQ(pix->Lab_Pix_Chave->text(), "Carregando...");
    EXPECT_TRUE(pix->Img_QRCode->pixmap().isNull());
}

} // namespace
