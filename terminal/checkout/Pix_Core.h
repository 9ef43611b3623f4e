#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

struct TSettings;

// The PIX charge of the checkout ("pix") and the QR code the customer scans.

// The checkout window's PIX fields and what its PIX page shows.
struct TPix {
    QString pix_chave;  // the receiving key, shown under the code
    QString pix_tipo;   // kept, not used
    QString pix_banco;  // kept, not used
    QString pix_txid;   // the text the QR code holds
    QString pix_cod;    // kept, not used
    QDateTime pix_venc; // kept, not used; 15/03/1982 stands for no date
    QString pix_base64; // kept, not used
    bool pix_ok = false;

    // `Lab_Pix_Chave`: "Carregando..." until a key arrives.
    QString Lab_Pix_Chave = QStringLiteral("Carregando...");
    // `Img_QRCode`'s bitmap, one pixel per module (see PIX_QrCodeWin); null until drawn.
    QImage Img_QRCode;
};

// The date `pix_venc` holds when the account sends none.
QDateTime Pix_Sem_Vencimento();

// Asks the cloud account for a charge of the amount in the PIX field (`Edt_PG_PIX`, as the
// operator sees it: "35,50" is sent as "35,5") for the sale `Venda_COD`. Each element of
// the reply's "pix" array overwrites the fields in turn, sets the label to its key and
// draws its code; an element with a key and no charge (empty "pix_txid") draws the key
// and counts as paid. An empty array changes nothing.
// A failure (network, status of 500 or above, a reply that is not JSON, a missing member)
// puts "ResponseContent=... ErroMessage= ..." on the clipboard, sets ConexaoWeb false and
// returns false, without a message; what earlier elements set stays. Success sets
// ConexaoWeb true and returns true.
bool PIX_webAPI(TPix& pix, bool& ConexaoWeb, const TSettings& cfg, const QString& WebAPI_URL,
                const QString& Venda_COD, const QString& Edt_PG_PIX);

// Draws the QR code of `texto` into `destino`: error correction L, the smallest version
// that holds it, numeric or alphanumeric mode when every character allows it, else 8-bit
// bytes in ISO-8859-1 or, with a character above 255, UTF-8 after a byte-order mark. The
// bitmap is the symbol plus a quiet zone of 4 modules on every side, one pixel per module,
// opaque black on opaque white. An empty text leaves `destino` null; a text too long for
// any version throws Error.
void PIX_QrCodeWin(QImage& destino, const QString& texto);

// The bitmap as `Img_QRCode` shows it: stretched to lado x lado without interpolation.
QImage PIX_QrCode_Exibir(const QImage& bitmap, int lado = 330);
