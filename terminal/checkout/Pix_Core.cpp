#include "Pix_Core.h"

#include "cloud/JsonLeitor.h"
#include "cloud/WebAPI.h"
#include "foundation/Errors.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Settings.h"

#include <qrencode.h>

#include <cerrno>
#include <memory>

namespace {

bool numerico(const QString& t) {
    for (const QChar c : t)
        if (c < u'0' || c > u'9') return false;
    return true;
}

bool alfanumerico(const QString& t) {
    static const QString conjunto = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:");
    for (const QChar c : t)
        if (!conjunto.contains(c)) return false;
    return true;
}

bool latin1(const QString& t) {
    for (const QChar c : t)
        if (c.unicode() > 0xFF) return false;
    return true;
}

struct QrFree {
    void operator()(QRinput* i) const { QRinput_free(i); }
    void operator()(QRcode* c) const { QRcode_free(c); }
};

} // namespace

QDateTime Pix_Sem_Vencimento() {
    return QDateTime(QDate(1982, 3, 15), QTime(0, 0));
}

void PIX_QrCodeWin(QImage& destino, const QString& texto) {
    if (texto.isEmpty()) {
        // Nothing to encode: no symbol rather than a wrong one.
        destino = QImage();
        return;
    }
    QRencodeMode modo = QR_MODE_8;
    QByteArray bytes;
    if (numerico(texto)) {
        modo = QR_MODE_NUM;
        bytes = texto.toLatin1();
    } else if (alfanumerico(texto)) {
        modo = QR_MODE_AN;
        bytes = texto.toLatin1();
    } else if (latin1(texto)) {
        bytes = texto.toLatin1();
    } else {
        // The mark tells readers that the bytes are UTF-8 and not ISO-8859-1.
        bytes = QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
    }

    std::unique_ptr<QRinput, QrFree> entrada(QRinput_new2(0, QR_ECLEVEL_L));
    if (!entrada) throw Error(QStringLiteral("QR code: sem memória"));
    if (QRinput_append(entrada.get(), modo, int(bytes.size()),
                       reinterpret_cast<const unsigned char*>(bytes.constData())) != 0)
        throw Error(QStringLiteral("QR code: texto não codificável"));
    std::unique_ptr<QRcode, QrFree> codigo(QRcode_encodeInput(entrada.get()));
    if (!codigo)
        throw Error(errno == ERANGE ? QStringLiteral("QR code: texto longo demais")
                                    : QStringLiteral("QR code: falha ao codificar"));

    const int n = codigo->width;
    constexpr int margem = 4;
    QImage imagem(n + 2 * margem, n + 2 * margem, QImage::Format_RGB32);
    imagem.fill(QColor(0xFF, 0xFF, 0xFF));
    const QRgb preto = qRgb(0, 0, 0);
    for (int y = 0; y < n; ++y) {
        const unsigned char* linha = codigo->data + y * n;
        for (int x = 0; x < n; ++x)
            if (linha[x] & 1) imagem.setPixel(x + margem, y + margem, preto);
    }
    destino = imagem;
}

QImage PIX_QrCode_Exibir(const QImage& bitmap, int lado) {
    if (bitmap.isNull()) return QImage();
    return bitmap.scaled(lado, lado, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool PIX_webAPI(TPix& pix, bool& ConexaoWeb, const TSettings& cfg, const QString& WebAPI_URL,
                const QString& Venda_COD, const QString& Edt_PG_PIX) {
    TChamada chamada;
    chamada.comando = QStringLiteral("pix");
    chamada.campos = {{QStringLiteral("usuario_email"), cfg.Usuario_Email},
                      {QStringLiteral("usuario_senha"), cfg.Usuario_Password},
                      {QStringLiteral("comando"), QStringLiteral("pix")},
                      {QStringLiteral("numero_venda"), Venda_COD},
                      {QStringLiteral("valor"), FloatToString(StringToFloat(Edt_PG_PIX))}};
    QString recebido;
    try {
        const TResposta resposta = WebAPI_Enviar(cfg, WebAPI_URL, chamada);
        recebido = resposta.texto;
        const JsonDocumento doc(resposta.texto);
        const JsonValor lista = doc.raiz().array(QStringLiteral("pix"));
        for (int i = 0; i < lista.tamanho(); ++i) {
            const JsonValor e = lista[i];
            pix.pix_chave = e.texto(QStringLiteral("pix_chave"));
            pix.pix_tipo = e.texto(QStringLiteral("pix_tipo"));
            pix.pix_banco = e.texto(QStringLiteral("pix_banco"));
            pix.pix_txid = e.texto(QStringLiteral("pix_txid"));
            pix.pix_cod = e.texto(QStringLiteral("pix_cod"));
            const QString venc = e.texto(QStringLiteral("pix_venc"));
            pix.pix_venc = venc.isEmpty() ? Pix_Sem_Vencimento() : DateMySQLToDateTime(venc);
            pix.pix_base64 = e.texto(QStringLiteral("pix_base64"));
            pix.pix_ok = e.texto(QStringLiteral("pix_ok")) == u"true";
            pix.Lab_Pix_Chave = pix.pix_chave;
            // An account with a key and no charges: the code of the key, and the sale
            // goes through on the next finalise.
            if (pix.pix_txid.trimmed().isEmpty() && !pix.pix_chave.isEmpty()) {
                pix.pix_txid = pix.pix_chave;
                pix.pix_ok = true;
            }
            PIX_QrCodeWin(pix.Img_QRCode, pix.pix_txid);
        }
    } catch (const WebAPIError& e) {
        ConexaoWeb = false;
        WebAPI_Falha_Clipboard(e);
        return false;
    } catch (const Error& e) {
        // A date or a code that does not read fails the exchange like a missing member.
        ConexaoWeb = false;
        WebAPI_Falha_Clipboard(WebAPIError(e.message(), recebido));
        return false;
    }
    ConexaoWeb = true;
    return true;
}
