#include "QueloUtil_Unit.h"

#include "Errors.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTime>

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

bool ehDigito(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Modulus-11 check digit shared by CPF and CNPJ.
int digitoMod11(int soma) {
    const int r = soma % 11;
    return r < 2 ? 0 : 11 - r;
}

bool todosZeros(const QString& digitos) {
    for (QChar c : digitos)
        if (c != u'0') return false;
    return true;
}

// The two CPF check digits of the first nine digits.
std::array<int, 2> digitosCPF(const std::array<int, 9>& d) {
    int soma1 = 0, soma2 = 0;
    for (int i = 0; i < 9; ++i) {
        soma1 += d[i] * (10 - i);
        soma2 += d[i] * (11 - i);
    }
    const int dv1 = digitoMod11(soma1);
    return {dv1, digitoMod11(soma2 + dv1 * 2)};
}

// Value as its 15 significant decimal digits and the power of ten of the first one
// (123.4 gives "123400000000000" and 2). Every number text starts from here, so a
// price typed as 2,675 is rounded as 2,675 and not as the binary 2,67499999...
struct Decimal15 {
    QString digitos;
    int expoente = 0;
};

Decimal15 decimal15(double valor) {
    // "d.dddddddddddddde±x"
    const QString e = QString::number(std::fabs(valor), 'e', 14);
    const qsizetype posE = e.indexOf(u'e');
    Decimal15 r;
    r.digitos = e.left(posE).remove(u'.');
    r.expoente = e.mid(posE + 1).toInt();
    return r;
}

QString naoFinito(double valor) {
    if (std::isnan(valor)) return QStringLiteral("NaN");
    return valor < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Adds one unit to the last digit of a text of decimal digits.
void somaUm(QString& digitos) {
    for (qsizetype i = digitos.size() - 1; i >= 0; --i) {
        if (digitos[i] == u'9') {
            digitos[i] = u'0';
        } else {
            digitos[i] = QChar(digitos[i].unicode() + 1);
            return;
        }
    }
    digitos.prepend(u'1');
}

QString agrupaMilhares(const QString& inteiro) {
    QString r;
    r.reserve(inteiro.size() + inteiro.size() / 3);
    for (qsizetype i = 0; i < inteiro.size(); ++i) {
        if (i > 0 && (inteiro.size() - i) % 3 == 0) r += u'.';
        r += inteiro[i];
    }
    return r;
}

int casasDaMascara(const QString& mascara) {
    if (mascara == u"0.000,") return 3;
    if (mascara == u"0.0000,") return 4;
    return 2;
}

QMutex& mutexMascara() {
    static QMutex m;
    return m;
}

QString& mascaraDecimal() {
    static QString m = QStringLiteral("0.00,");
    return m;
}

// One code point at position i: its length in UTF-16 units.
qsizetype tamanhoCodePoint(const QString& t, qsizetype i) {
    return (t[i].isHighSurrogate() && i + 1 < t.size() && t[i + 1].isLowSurrogate()) ? 2 : 1;
}

// Simple (one-to-one) case mapping per code point, so that a letter never turns into
// two ("ß" stays "ß") and a surrogate pair is never split.
void appendCaixa(QString& destino, QStringView cp, bool maiuscula) {
    const char32_t u = cp.size() == 2 ? QChar::surrogateToUcs4(cp[0], cp[1]) : cp[0].unicode();
    const char32_t m = maiuscula ? QChar::toUpper(u) : QChar::toLower(u);
    destino += QString::fromUcs4(&m, 1);
}

} // namespace

QString SoNumeros(const QString& Text) {
    QString r;
    for (QChar c : Text)
        if (ehDigito(c)) r += c;
    return r;
}

double StringToFloat(const QString& Text) {
    // Dots are thousands separators; only digits and the decimal comma survive, so the
    // result is never negative.
    std::string numero;
    for (QChar c : Text) {
        if (ehDigito(c))
            numero += char(c.unicode());
        else if (c == u',')
            numero += '.';
    }
    if (numero.empty()) return 0;
    double valor = 0;
    const char* fim = numero.data() + numero.size();
    const auto [ptr, ec] = std::from_chars(numero.data(), fim, valor, std::chars_format::fixed);
    // Two commas, a lone comma, or a number too big for a double: unreadable, so 0.
    if (ec != std::errc() || ptr != fim || !std::isfinite(valor)) return 0;
    return valor;
}

qint32 StringToInteger(const QString& Text) {
    const QString t = Text.size() > 11 ? Text.left(10) : Text;
    QString numero;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (ehDigito(t[i]) || (i == 0 && t[i] == u'-')) numero += t[i];
    }
    bool ok = false;
    const int valor = numero.toInt(&ok, 10);
    return ok ? valor : 0;
}

QString FloatToString(double Valor) {
    if (!std::isfinite(Valor)) return naoFinito(Valor);
    if (Valor == 0) return QStringLiteral("0");
    Decimal15 d = decimal15(Valor);
    while (d.digitos.size() > 1 && d.digitos.endsWith(u'0'))
        d.digitos.chop(1);
    const QString sinal = Valor < 0 ? QStringLiteral("-") : QString();

    // Plain form from 0,00001 up to 15 integer digits; beyond that the digits would be
    // invented zeros or a long run of leading zeros, so the exponent form is used.
    if (d.expoente < -5 || d.expoente >= 15) {
        QString mantissa = d.digitos.left(1);
        if (d.digitos.size() > 1) mantissa += u',' + d.digitos.mid(1);
        return sinal + mantissa + u'E' + QString::number(d.expoente);
    }
    QString inteiro, fracao;
    if (d.expoente < 0) {
        inteiro = QStringLiteral("0");
        fracao = QString(-d.expoente - 1, u'0') + d.digitos;
    } else {
        const qsizetype n = d.expoente + 1;
        inteiro = d.digitos.left(n).leftJustified(n, u'0');
        fracao = d.digitos.mid(n);
    }
    return sinal + inteiro + (fracao.isEmpty() ? QString() : u',' + fracao);
}

QString FormatFloat(const QString& Mascara, double Valor) {
    if (!std::isfinite(Valor)) return naoFinito(Valor);
    const int casas = casasDaMascara(Mascara);
    const Decimal15 d = decimal15(Valor);

    QString inteiro, fracao;
    if (d.expoente < 0) {
        inteiro = QStringLiteral("0");
        fracao = QString(-d.expoente - 1, u'0') + d.digitos;
    } else {
        const qsizetype n = d.expoente + 1;
        inteiro = d.digitos.left(n).leftJustified(n, u'0');
        fracao = d.digitos.mid(n);
    }
    fracao = fracao.leftJustified(casas + 1, u'0');

    // Half away from zero on the decimal digits: the sign is put back afterwards.
    QString numero = inteiro + fracao.left(casas);
    if (fracao[casas] >= u'5') somaUm(numero);
    const qsizetype tamInteiro = numero.size() - casas;
    QString parteInteira = numero.left(tamInteiro);
    while (parteInteira.size() > 1 && parteInteira.startsWith(u'0'))
        parteInteira.remove(0, 1);

    // A value that rounds to zero shows no sign.
    const bool negativo = Valor < 0 && !todosZeros(numero);
    return (negativo ? QStringLiteral("-") : QString()) + agrupaMilhares(parteInteira) + u',' +
           numero.right(casas);
}

QString Mask_Decimal() {
    QMutexLocker lock(&mutexMascara());
    return mascaraDecimal();
}

void Set_Mask_Decimal(const QString& Mascara) {
    QMutexLocker lock(&mutexMascara());
    mascaraDecimal() = Mascara;
}

QString FloatToString_Right(int Spacos, double Valor) {
    const QString texto = FormatFloat(Mask_Decimal(), Valor);
    const qsizetype falta = qsizetype(Spacos) - texto.size();
    if (falta <= 0) return texto;
    return QString(qMin<qsizetype>(falta, 9), u' ') + texto;
}

bool TestCPF(const QString& Text) {
    const QString n = SoNumeros(Text);
    if (n.isEmpty() || todosZeros(n) || n.size() < 11) return false;
    std::array<int, 9> d{};
    for (int i = 0; i < 9; ++i)
        d[i] = n[i].unicode() - u'0';
    const auto dv = digitosCPF(d);
    return n[9].unicode() - u'0' == dv[0] && n[10].unicode() - u'0' == dv[1];
}

bool TesteCGC(const QString& Text) {
    const QString n = SoNumeros(Text);
    if (n.isEmpty() || todosZeros(n) || n.size() < 14) return false;
    static constexpr int pesos1[12] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr int pesos2[12] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
    int soma1 = 0, soma2 = 0;
    for (int i = 0; i < 12; ++i) {
        const int d = n[i].unicode() - u'0';
        soma1 += d * pesos1[i];
        soma2 += d * pesos2[i];
    }
    const int dv1 = digitoMod11(soma1);
    const int dv2 = digitoMod11(soma2 + dv1 * 2);
    return n[12].unicode() - u'0' == dv1 && n[13].unicode() - u'0' == dv2;
}

QString GeraCPF(bool Ponto) {
    std::array<int, 9> d{};
    // The all-zero draw would give 000.000.000-00, which TestCPF rejects: draw again.
    do {
        for (int& x : d)
            x = int(QRandomGenerator::global()->bounded(10));
    } while (d == std::array<int, 9>{});
    const auto dv = digitosCPF(d);

    QString r;
    for (int i = 0; i < 9; ++i) {
        if (Ponto && (i == 3 || i == 6)) r += u'.';
        r += QChar(u'0' + d[i]);
    }
    if (Ponto) r += u'-';
    r += QChar(u'0' + dv[0]);
    r += QChar(u'0' + dv[1]);
    return r;
}

QString RemoveAcentos(const QString& Text) {
    static const QString acentuadas = QStringLiteral("àâãáÀÂÃÁêéÊÉíÍôõóÔÕÓûúüÛÚÜçÇñÑýÝ");
    static const QString simples = QStringLiteral("aaaaAAAAeeEEiIoooOOOuuuUUUcCnNyY");
    QString r = Text;
    for (QChar& c : r) {
        const qsizetype i = acentuadas.indexOf(c);
        if (i >= 0) c = simples[i];
    }
    return r;
}

QString Iniciais_Maiusculas(const QString& Text) {
    const QString t = Text.trimmed();
    if (t.isEmpty()) return QString();
    static const QString particulas[] = {QStringLiteral("da "), QStringLiteral("de "),
                                         QStringLiteral("do "), QStringLiteral("das "),
                                         QStringLiteral("dos ")};
    QString r;
    r.reserve(t.size());
    for (qsizetype i = 0; i < t.size();) {
        const qsizetype n = tamanhoCodePoint(t, i);
        bool maiuscula = i == 0;
        if (i > 0 && t[i - 1] == u' ' && t[i] != u' ') {
            maiuscula = true;
            const QStringView resto = QStringView(t).mid(i);
            for (const QString& p : particulas)
                if (resto.startsWith(p, Qt::CaseInsensitive)) maiuscula = false;
        }
        appendCaixa(r, QStringView(t).mid(i, n), maiuscula);
        i += n;
    }
    return RemoveAcentos(r);
}

QString FormataTelefone(const QString& Text) {
    const QString n = SoNumeros(Text);
    switch (n.size()) {
    case 8:
        return n.left(4) + u'-' + n.mid(4);
    case 10:
        return u'(' + n.left(2) + u')' + n.mid(2, 4) + u'-' + n.mid(6);
    case 11:
        return u'+' + n.left(1) + u'(' + n.mid(1, 2) + u')' + n.mid(3, 4) + u'-' + n.mid(7);
    case 12:
        return u'+' + n.left(2) + u'(' + n.mid(2, 2) + u')' + n.mid(4, 4) + u'-' + n.mid(8);
    case 13:
        return u'+' + n.left(2) + u'(' + n.mid(2, 2) + u')' + n.mid(4, 5) + u'-' + n.mid(9);
    default:
        return n;
    }
}

QString FormataCEP(const QString& Text) {
    const QString n = SoNumeros(Text);
    if (n.size() != 8) return n;
    return n.left(2) + u'.' + n.mid(2, 3) + u'-' + n.mid(5);
}

QString DiaSemana(const QDate& Data) {
    static const QString dias[] = {
        QStringLiteral("Seg"), QStringLiteral("Ter"), QStringLiteral("Qua"), QStringLiteral("Qui"),
        QStringLiteral("Sex"), QStringLiteral("Sáb"), QStringLiteral("Dom")};
    const int d = Data.dayOfWeek(); // 1 = Monday; 0 for an invalid date
    return d >= 1 && d <= 7 ? dias[d - 1] : QString();
}

QDateTime DateMySQLToDateTime(const QString& Text) {
    const auto falha = [&Text] {
        return Error(QStringLiteral("'%1' is not a valid date and time").arg(Text));
    };
    if (Text.trimmed().isEmpty()) throw falha();

    // Read day first, as the operator's date format does: positions of "YYYY-MM-DD HH:MM:SS".
    QString hora = Text.mid(11, 9).trimmed();
    if (hora.isEmpty()) hora = QStringLiteral("00:00:01");
    const QString texto =
        Text.mid(8, 2) + u'/' + Text.mid(5, 2) + u'/' + Text.left(4) + u' ' + hora;

    // Seconds may be missing; a fraction after them is ignored.
    static const QRegularExpression formato(QStringLiteral(
        R"(^([0-9]{1,2})/([0-9]{1,2})/([0-9]{4}) ([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2})(?:[.,][0-9]*)?)?$)"));
    const QRegularExpressionMatch m = formato.match(texto);
    if (!m.hasMatch()) throw falha();
    const QDate data(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    const QTime tempo(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    const QDateTime r(data, tempo);
    if (!data.isValid() || !tempo.isValid() || !r.isValid()) throw falha();
    return r;
}

QString BuscaTroca(const QString& Text, const QString& Busca, const QString& Troca) {
    // One pass over the characters the text had on entry: inserted text is never
    // scanned again, and removing a character does not skip the one after it.
    if (Busca.size() != 1) return Text;
    const QChar alvo = Busca[0];
    QString r;
    r.reserve(Text.size());
    for (QChar c : Text) {
        if (c == alvo)
            r += Troca;
        else
            r += c;
    }
    return r;
}

QString MD5(const QString& Text) {
    // One byte per UTF-16 unit: ASCII as itself, anything else "?"; so a character
    // outside the BMP gives two.
    QByteArray bytes;
    bytes.reserve(Text.size());
    for (QChar c : Text)
        bytes += c.unicode() < 128 ? char(c.unicode()) : '?';
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex())
        .toUpper();
}
