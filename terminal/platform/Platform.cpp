#include "Platform.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QUrl>

namespace Platform {

namespace {
QString withSeparator(const QString& dir) {
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}
} // namespace

QString programDir() {
    return withSeparator(QCoreApplication::applicationDirPath());
}

QString executablePath() {
    return QCoreApplication::applicationFilePath();
}

QString appDataDir() {
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString fromSystem8bit(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(bytes);
}

QByteArray toSystem8bit(const QString& text) {
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

void setClipboardText(const QString& text) {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        app->clipboard()->setText(text);
}

bool shellOpen(const QString& target) {
    const QUrl url =
        target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

QString mapFixedPath(const QString& windowsPath) {
#ifdef Q_OS_WIN
    return windowsPath;
#else
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    if (!drive.match(windowsPath).hasMatch()) return windowsPath;
    QString rest = windowsPath.mid(3);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::homePath() + QLatin1Char('/') + rest;
#endif
}

bool isPrinterShare(const QString& port) {
    static const QRegularExpression share(QStringLiteral("^\\\\\\\\[^\\\\]+\\\\([^\\\\]+)$"));
    return share.match(port.trimmed()).hasMatch();
}

QString mapDevice(const QString& port) {
#ifdef Q_OS_WIN
    return port;
#else
    const QString p = port.trimmed();
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression lpt(QStringLiteral("^LPT([1-9][0-9]*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression share(QStringLiteral("^\\\\\\\\[^\\\\]+\\\\([^\\\\]+)$"));
    if (auto m = com.match(p); m.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
    if (auto m = lpt.match(p); m.hasMatch())
        return QStringLiteral("/dev/lp%1").arg(m.captured(1).toInt() - 1);
    if (auto m = share.match(p); m.hasMatch()) return m.captured(1);
    return port;
#endif
}

} // namespace Platform
