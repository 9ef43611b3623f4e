#pragma once

// The real peers of the print library's tests: poppler's pdfinfo, pdftotext and
// pdftoppm, zbar's zbarimg, and the C callers.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace Ferramentas {

struct Saida {
    int codigo = -1;
    QByteArray out;
    QByteArray err;
};

inline bool Existe(const QString& programa) {
    return !QStandardPaths::findExecutable(programa).isEmpty();
}

inline Saida Rodar(const QString& programa, const QStringList& args,
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                   int ms = 60000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(programa, args);
    Saida s;
    if (!p.waitForStarted(ms)) return s;
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished();
        return s;
    }
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.out = p.readAllStandardOutput();
    s.err = p.readAllStandardError();
    return s;
}

// The first page's size in millimetres, as pdfinfo reads it.
inline QSizeF Pdf_Tamanho(const QString& pdf) {
    const Saida s = Rodar(QStringLiteral("pdfinfo"), {pdf});
    static const QRegularExpression re(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    const QRegularExpressionMatch m = re.match(QString::fromUtf8(s.out));
    if (!m.hasMatch()) return {};
    return {m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72};
}

// Text extraction keeps neither blank lines nor runs of blanks exactly: lines are
// compared with their blanks simplified and blank lines left out.
inline QStringList Simplificadas(const QStringList& linhas) {
    QStringList out;
    for (const QString& l : linhas)
        if (!l.simplified().isEmpty()) out << l.simplified();
    return out;
}

// The PDF's text lines in reading order, simplified.
inline QStringList Pdf_Linhas(const QString& pdf) {
    const Saida s = Rodar(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf,
                                                         QStringLiteral("-")});
    return Simplificadas(QString::fromUtf8(s.out).remove(QLatin1Char('\f')).split(QLatin1Char('\n')));
}

// The QR codes zbarimg finds on the PDF's first page, rendered at 300 dpi.
inline QStringList Pdf_QRCodes(const QString& pdf) {
    // The picture goes to a folder of its own: the PDF may lie in someone else's.
    const QTemporaryDir pasta;
    const QString base = pasta.filePath(QStringLiteral("pagina"));
    const QString png = base + QStringLiteral(".png");
    Rodar(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"),
                                       QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                       pdf, base});
    const Saida s = Rodar(QStringLiteral("zbarimg"),
                          {QStringLiteral("--raw"), QStringLiteral("-q"), png});
    QStringList codigos = QString::fromUtf8(s.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return codigos;
}

} // namespace Ferramentas
