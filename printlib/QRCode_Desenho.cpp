#include "QRCode_Desenho.h"

#include <QPainter>
#include <QPainterPath>

#include <qrencode.h>

#include <memory>

namespace Relatorio {

namespace {

QRencodeMode modo(const QByteArray& dados) {
    static const QByteArray alfanumerico("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:");
    bool numerico = true;
    bool alfa = true;
    for (char c : dados) {
        if (c < '0' || c > '9') numerico = false;
        if (!alfanumerico.contains(c)) alfa = false;
    }
    return numerico ? QR_MODE_NUM : alfa ? QR_MODE_AN : QR_MODE_8;
}

} // namespace

TQRModulos QRCode_Codificar(const QString& texto) {
    TQRModulos m;
    const QByteArray dados = texto.toUtf8();
    if (dados.isEmpty()) return m;
    std::unique_ptr<QRinput, decltype(&QRinput_free)> entrada(QRinput_new2(0, QR_ECLEVEL_L),
                                                               &QRinput_free);
    if (!entrada) return m;
    if (QRinput_append(entrada.get(), modo(dados), int(dados.size()),
                       reinterpret_cast<const unsigned char*>(dados.constData())) != 0)
        return m;
    std::unique_ptr<QRcode, decltype(&QRcode_free)> codigo(QRcode_encodeInput(entrada.get()),
                                                           &QRcode_free);
    if (!codigo) return m;
    m.Lado = codigo->width;
    m.Escuro.resize(m.Lado * m.Lado);
    for (int i = 0; i < m.Lado * m.Lado; ++i) m.Escuro[i] = codigo->data[i] & 1;
    return m;
}

void QRCode_Desenhar(QPainter& p, const QRectF& quadrado, const QString& texto) {
    const TQRModulos m = QRCode_Codificar(texto);
    if (m.Vazio()) return;
    const double modulo = quadrado.width() / m.Lado;
    // One path of horizontal runs, so that neighbouring modules leave no seams.
    QPainterPath escuro;
    for (int y = 0; y < m.Lado; ++y) {
        int x = 0;
        while (x < m.Lado) {
            if (!m.Escuro[y * m.Lado + x]) {
                ++x;
                continue;
            }
            int fim = x;
            while (fim < m.Lado && m.Escuro[y * m.Lado + fim]) ++fim;
            escuro.addRect(quadrado.left() + x * modulo, quadrado.top() + y * modulo,
                           (fim - x) * modulo, modulo);
            x = fim;
        }
    }
    escuro.setFillRule(Qt::WindingFill);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(escuro, Qt::black);
    p.restore();
}

} // namespace Relatorio
