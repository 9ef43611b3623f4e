// The sale screen's pictures: fetched from the cloud account into the company folder's
// picture files, refreshed by a click, and left alone when the cloud has none.

#include "sale/Principal_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include "support/Balcao.h"
#include "support/CloudSim.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QTest>

namespace {

const char* ARROZ = "7891000100011"; // product 1: a 400 x 200 picture in the cloud

// A Balcao whose sale screen shows pictures and reaches the simulator as the demo user.
struct ComNuvem {
    CloudSim sim;
    Balcao b{[](TSettings& s) { s.conf_prod_img = true; }};

    ComNuvem() {
        b.w().WebAPI_URL = "http://" + sim.host() + "/app";
        b.w().Config.Usuario_Email = QString::fromLatin1(CloudSim::EMAIL);
        b.w().Config.Usuario_Password = QString::fromLatin1(CloudSim::SENHA);
    }
    QString arquivo() const { return b.pastaEmpresa() + "produtos/" + ARROZ + ".png"; }
    int pedidos() { return sim.requests("download_imagens").size(); }
    bool comImagem() { return !b.w().Vendas().Circ_ProdIMG->pixmap().isNull(); }
};

QByteArray ler(const QString& arquivo) {
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ImagensVenda, TheProductsPictureIsFetchedOnceAndKept) {
    ComNuvem n;
    n.b.w().Vendas().Produto_Busca(ARROZ);
    ASSERT_EQ(n.pedidos(), 1);
    const QJsonArray campos = n.sim.requests("download_imagens")[0].toObject()["fields"].toArray();
    EXPECT_EQ(campos[3].toArray()[1].toString(), "produtos");
    EXPECT_EQ(campos[4].toArray()[1].toString(), "1");

    const QImage img(n.arquivo());
    ASSERT_EQ(img.size(), QSize(200, 200));
    EXPECT_EQ(img.pixelColor(100, 10).alpha(), 0); // the band above the 200 x 100 picture
    EXPECT_EQ(img.pixelColor(100, 100).alpha(), 255);
    EXPECT_TRUE(n.comImagem());

    // Found again: the file serves, the cloud is not asked.
    n.b.w().Vendas().Produto_Limpa();
    n.b.w().Vendas().Produto_Busca(ARROZ);
    EXPECT_EQ(n.pedidos(), 1);
    EXPECT_TRUE(n.comImagem());
}

TEST(ImagensVenda, AClickOnThePictureRefreshesIt) {
    ComNuvem n;
    n.b.w().Vendas().Produto_Busca(ARROZ);
    QImage(10, 10, QImage::Format_RGB32).save(n.arquivo(), "PNG"); // an old picture
    QTest::mouseClick(n.b.w().Vendas().Circ_ProdIMG, Qt::LeftButton);
    EXPECT_EQ(n.pedidos(), 2);
    EXPECT_EQ(QImage(n.arquivo()).size(), QSize(200, 200));
}

TEST(ImagensVenda, NoAddressOrAFailureLeavesTheFile) {
    const struct {
        const char* caso;
        const char* resposta; // canned reply; empty: the command fails with status 500
    } casos[] = {
        {"an empty address", R"({"url": ""})"},
        {"no address at all", R"({"outra": 1})"},
        {"a picture that is not there", R"({"url": "http://127.0.0.1:1/x.png"})"},
        {"the cloud failing", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        ComNuvem n;
        n.b.w().Vendas().Produto_Busca(ARROZ);
        QImage antiga(20, 20, QImage::Format_RGB32);
        antiga.fill(Qt::yellow);
        antiga.save(n.arquivo(), "PNG");
        const QByteArray bytes = ler(n.arquivo());
        if (*c.resposta)
            n.sim.responder("download_imagens", c.resposta);
        else
            n.sim.falhar("download_imagens", "500");
        QTest::mouseClick(n.b.w().Vendas().Circ_ProdIMG, Qt::LeftButton);
        EXPECT_EQ(n.pedidos(), 2);
        EXPECT_EQ(ler(n.arquivo()), bytes);
        EXPECT_TRUE(n.comImagem());
    }
}

TEST(ImagensVenda, TheCompanysPicture) {
    ComNuvem n;
    n.b.w().Vendas().Venda_Limpar(); // the screen cleared shows the company's picture
    const QImage img(n.b.pastaEmpresa() + "empresas/empresas_00001.png");
    EXPECT_EQ(img.size(), QSize(200, 200));
    const QJsonArray campos = n.sim.requests("download_imagens")[0].toObject()["fields"].toArray();
    EXPECT_EQ(campos[3].toArray()[1].toString(), "empresas");
    EXPECT_EQ(campos[4].toArray()[1].toString(), "1");
    EXPECT_TRUE(n.comImagem());
}
