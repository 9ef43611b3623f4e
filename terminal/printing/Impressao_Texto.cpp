#include "Impressao_Texto.h"

#include "foundation/Errors.h"
#include "platform/Hosts.h"
#include "platform/Platform.h"

#include <QFile>
#include <QStringDecoder>
#include <QUrl>

QString Txt_Brancos(int n) {
    return n > 0 ? QString(n, u' ') : QString();
}

QString Txt_Traco(int n) {
    return n > 0 ? QString(n, u'-') : QString();
}

QString Txt_Corte(const QString& t, int n) {
    return n > 0 ? t.left(n) : QString();
}

QString Txt_Direita(const QString& v, int w) {
    return Txt_Brancos(w - int(v.size())) + Txt_Corte(v, w);
}

QString Txt_Esquerda(const QString& v, int w) {
    return Txt_Corte(v, w) + Txt_Brancos(w - int(v.size()));
}

QString Txt_Rotulo(const QString& rotulo, int total, const QString& v) {
    const QString cheio = rotulo + Txt_Brancos(total - int(rotulo.size()));
    return Txt_Corte(cheio, 41 - int(v.size())) + v;
}

int Txt_Centro_Espacos(const QString& t, int largura) {
    const int sobra = largura - int(t.size());
    if (sobra <= 0) return 0;
    const int metade = sobra / 2;
    if (sobra % 2 == 0) return metade;
    // x.5: to the even neighbour.
    return metade % 2 == 0 ? metade : metade + 1;
}

QString Txt_Centro(const QString& t, int largura) {
    return Txt_Brancos(Txt_Centro_Espacos(t, largura)) + t;
}

QString Txt_Site_Fornecedor() {
    const QUrl url(Hosts::Fornecedor());
    return url.host().isEmpty() ? Hosts::Fornecedor() : url.host();
}

void Txt_Gravar(const QString& caminho, const QStringList& linhas) {
    QByteArray bytes;
    for (const QString& l : linhas) {
        bytes += Platform::toSystem8bit(l);
        bytes += "\r\n";
    }
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileError(QStringLiteral("Não foi possível criar o arquivo \"%1\": %2")
                            .arg(caminho, f.errorString()));
    if (f.write(bytes) != bytes.size() || !f.flush())
        throw FileError(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                            .arg(caminho, f.errorString()));
}

QStringList Txt_Ler(const QByteArray& bytes) {
    QString texto;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringConverter::Utf8);
        texto = utf8.decode(bytes.mid(3));
    } else {
        texto = Platform::fromSystem8bit(bytes);
    }
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(u'\r', u'\n');
    if (texto.isEmpty()) return {};
    QStringList linhas = texto.split(u'\n');
    if (linhas.last().isEmpty()) linhas.removeLast();
    return linhas;
}
