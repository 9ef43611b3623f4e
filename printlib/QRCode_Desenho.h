#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;

namespace Relatorio {

// A QR code's modules, row by row; empty when the text cannot be encoded.
struct TQRModulos {
    int Lado = 0;
    QVector<bool> Escuro; // Lado * Lado
    bool Vazio() const { return Lado == 0; }
};

// Level L, no quiet zone. The mode is chosen from the text: numeric, alphanumeric, or
// 8-bit over the text's UTF-8 bytes.
TQRModulos QRCode_Codificar(const QString& texto);
// Fills `quadrado` (device units) with the code, drawing nothing when it cannot be
// encoded (a text beyond the symbol's capacity).
void QRCode_Desenhar(QPainter& p, const QRectF& quadrado, const QString& texto);

} // namespace Relatorio
