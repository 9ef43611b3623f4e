#include "FtpServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace {

std::runtime_error falha(const QString& texto) {
    return std::runtime_error(("FtpServer: " + texto).toStdString());
}

// The server's library is a Debian package of the system's Python, which another
// Python first on the PATH would not see.
QString python() {
    const QString sistema = QStringLiteral("/usr/bin/python3");
    return QFileInfo::exists(sistema) ? sistema : QStringLiteral("python3");
}

// The served folder, with the installer's folder made in it.
QString pasta(const QTemporaryDir& raiz) {
    if (!raiz.isValid()) throw falha(QStringLiteral("no temporary folder"));
    QDir().mkpath(raiz.path() + "/public_html/downloads");
    return raiz.path();
}

} // namespace

FtpServer::FtpServer()
    : m_raiz(),
      m_servidor(QStringLiteral("FtpServer"), python(),
                 {QStringLiteral(ONDAVIA_SOURCE_DIR "/tools/ftp/ftp_server.py"), "--root",
                  pasta(m_raiz), "--user", USUARIO, "--password", SENHA, "--port", "0",
                  "--quiet"},
                 QStringLiteral("is python3-pyftpdlib installed? scripts/setup.sh installs it")) {}

FtpServer::~FtpServer() = default;

QString FtpServer::host() const {
    return m_servidor.host();
}

void FtpServer::usar() {
    m_ambiente.definir("ONDAVIA_FTP_HOST", host().toUtf8());
    m_ambiente.definir("ONDAVIA_FTP_USER", USUARIO);
    m_ambiente.definir("ONDAVIA_FTP_PASSWORD", SENHA);
}

void FtpServer::instalador(const QByteArray& bytes) {
    QFile f(m_raiz.path() + "/public_html/downloads/balcona_setup.exe");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw falha("cannot write the installer: " + f.errorString());
}
