#include "FtpServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
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

} // namespace

FtpServer::FtpServer() {
    if (!m_raiz.isValid()) throw falha(QStringLiteral("no temporary folder"));
    QDir().mkpath(m_raiz.path() + "/public_html/downloads");
    const QString script = QStringLiteral(ONDAVIA_SOURCE_DIR "/tools/ftp/ftp_server.py");
    m_processo.setProgram(python());
    m_processo.setArguments({script, "--root", m_raiz.path(), "--user", USUARIO, "--password",
                             SENHA, "--port", "0", "--quiet"});
    m_processo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_processo.start();
    if (!m_processo.waitForStarted(10000))
        throw falha("python3 did not start: " + m_processo.errorString());

    QDeadlineTimer prazo(10000);
    while (!m_processo.canReadLine()) {
        if (prazo.hasExpired() || m_processo.state() != QProcess::Running ||
            !m_processo.waitForReadyRead(int(std::max<qint64>(prazo.remainingTime(), 1)))) {
            if (m_processo.canReadLine()) break;
            parar();
            throw falha(QStringLiteral("no PORT line from ") + script +
                        " (is python3-pyftpdlib installed? scripts/setup.sh installs it)");
        }
    }
    const QByteArray linha = m_processo.readLine().trimmed();
    bool ok = false;
    if (linha.startsWith("PORT ")) m_port = linha.mid(5).toInt(&ok);
    if (!ok || m_port <= 0) {
        parar();
        throw falha("unexpected first line: " + QString::fromUtf8(linha));
    }
}

FtpServer::~FtpServer() {
    if (m_usando) {
        for (const Anterior& a : m_anteriores) {
            if (a.havia)
                qputenv(a.nome, a.valor);
            else
                qunsetenv(a.nome);
        }
    }
    parar();
}

void FtpServer::parar() {
    if (m_processo.state() == QProcess::NotRunning) return;
    m_processo.terminate();
    if (!m_processo.waitForFinished(2000)) {
        m_processo.kill();
        m_processo.waitForFinished(2000);
    }
}

QString FtpServer::host() const {
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

void FtpServer::usar() {
    if (!m_usando) {
        for (Anterior& a : m_anteriores) {
            a.havia = qEnvironmentVariableIsSet(a.nome);
            a.valor = qgetenv(a.nome);
        }
        m_usando = true;
    }
    qputenv("ONDAVIA_FTP_HOST", host().toUtf8());
    qputenv("ONDAVIA_FTP_USER", USUARIO);
    qputenv("ONDAVIA_FTP_PASSWORD", SENHA);
}

void FtpServer::instalador(const QByteArray& bytes) {
    QFile f(m_raiz.path() + "/public_html/downloads/balcona_setup.exe");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw falha("cannot write the installer: " + f.errorString());
}
