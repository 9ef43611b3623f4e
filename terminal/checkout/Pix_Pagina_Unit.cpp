#include "Pix_Pagina_Unit.h"

#include "sale/Principal_Unit.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {
constexpr int LADO_QRCODE = 330;
}

TPix_Pagina::TPix_Pagina(QWidget* pagina) : QWidget(pagina) {
    setObjectName(QStringLiteral("Lyt_Pix"));
    auto* paginaLayout = new QVBoxLayout(pagina);
    paginaLayout->setContentsMargins(0, 0, 0, 0);
    paginaLayout->addWidget(this);

    auto* v = new QVBoxLayout(this);
    v->setSpacing(8);
    Lab_Pix_Titulo = new QLabel(QString::fromUtf8("Código PIX"), this);
    Lab_Pix_Titulo->setObjectName(QStringLiteral("Lab_Pix_Titulo"));
    Lab_Pix_Titulo->setAlignment(Qt::AlignCenter);
    Lab_Pix_Titulo->setStyleSheet(QStringLiteral("font-size: 22px; font-weight: bold;"));
    Lab_Pix_Info =
        new QLabel(QString::fromUtf8("Use a câmera do seu celular para usar código"), this);
    Lab_Pix_Info->setObjectName(QStringLiteral("Lab_Pix_Info"));
    Lab_Pix_Info->setAlignment(Qt::AlignCenter);
    Lab_Pix_Info->setStyleSheet(QStringLiteral("font-size: 16px;"));

    // Blank until the code arrives; the bitmap is stretched without smoothing so that
    // every module stays a sharp square for the phone's camera.
    Img_QRCode = new QLabel(this);
    Img_QRCode->setObjectName(QStringLiteral("Img_QRCode"));
    Img_QRCode->setFixedSize(LADO_QRCODE, LADO_QRCODE);
    Img_QRCode->setAlignment(Qt::AlignCenter);
    Img_QRCode->setStyleSheet(QStringLiteral("background: white;"));

    Lab_Pix_Chave = new QLabel(pix.Lab_Pix_Chave, this);
    Lab_Pix_Chave->setObjectName(QStringLiteral("Lab_Pix_Chave"));
    Lab_Pix_Chave->setAlignment(Qt::AlignCenter);
    Lab_Pix_Chave->setWordWrap(true);
    Lab_Pix_Chave->setStyleSheet(QStringLiteral("font-size: 20px; font-weight: bold;"));

    v->addWidget(Lab_Pix_Titulo);
    v->addWidget(Lab_Pix_Info);
    v->addStretch(1);
    v->addWidget(Img_QRCode, 0, Qt::AlignHCenter);
    v->addStretch(1);
    v->addWidget(Lab_Pix_Chave);
}

bool TPix_Pagina::PIX_webAPI(TPrincipal& principal, const QString& Edt_PG_PIX) {
    const bool ok = ::PIX_webAPI(pix, principal.ConexaoWeb, principal.Config, principal.WebAPI_URL,
                                 principal.Venda.Venda_COD, Edt_PG_PIX);
    Lab_Pix_Chave->setText(pix.Lab_Pix_Chave);
    if (pix.Img_QRCode.isNull())
        Img_QRCode->clear();
    else
        Img_QRCode->setPixmap(QPixmap::fromImage(PIX_QrCode_Exibir(pix.Img_QRCode, LADO_QRCODE)));
    return ok;
}
