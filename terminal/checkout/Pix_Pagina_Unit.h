#pragma once

#include "checkout/Pix_Core.h"

#include <QWidget>

class QLabel;
class TPrincipal;

// The content of the checkout's PIX page: the title, the hint, the QR code the customer
// scans (330 by 330) and the key under it, "Carregando..." until one arrives.
class TPix_Pagina : public QWidget {
public:
    // Fills `pagina` (the checkout's `TbCtrl_Pag_Pix`).
    explicit TPix_Pagina(QWidget* pagina);

    // Asks for the charge of the PIX field's amount (`Edt_PG_PIX` as shown) for the open
    // sale, with the run's credentials, and shows the key and the code. Sets the main
    // window's ConexaoWeb; a failure leaves the page as it was and its diagnostic on the
    // clipboard. False when the exchange failed.
    bool PIX_webAPI(TPrincipal& principal, const QString& Edt_PG_PIX);

    // The window's PIX fields; `pix.pix_ok` lets the next finalise past the PIX step.
    TPix pix;

    QLabel* Lab_Pix_Titulo = nullptr;
    QLabel* Lab_Pix_Info = nullptr;
    QLabel* Img_QRCode = nullptr;
    QLabel* Lab_Pix_Chave = nullptr;
};
