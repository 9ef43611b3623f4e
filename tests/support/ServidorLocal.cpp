#include "ServidorLocal.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <stdexcept>

ServidorLocal::ServidorLocal(const QString& nome, const QString& programa,
                             const QStringList& argumentos, const QString& dica) {
    auto falha = [&nome](const QString& texto) {
        return std::runtime_error((nome + ": " + texto).toStdString());
    };
    m_processo.setProgram(programa);
    m_processo.setArguments(argumentos);
    // Its complaints, if any, belong in the test's own output.
    m_processo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_processo.start();
    if (!m_processo.waitForStarted(10000))
        throw falha(programa + " did not start: " + m_processo.errorString());

    QDeadlineTimer prazo(10000);
    while (!m_processo.canReadLine()) {
        if (prazo.hasExpired() || m_processo.state() != QProcess::Running ||
            !m_processo.waitForReadyRead(int(std::max<qint64>(prazo.remainingTime(), 1)))) {
            if (m_processo.canReadLine()) break;
            parar();
            throw falha(QStringLiteral("no PORT line from ") + argumentos.value(0) +
                        (dica.isEmpty() ? QString() : " (" + dica + ")"));
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

ServidorLocal::~ServidorLocal() {
    parar();
}

void ServidorLocal::parar() {
    if (m_processo.state() == QProcess::NotRunning) return;
    m_processo.terminate();
    if (!m_processo.waitForFinished(2000)) {
        m_processo.kill();
        m_processo.waitForFinished(2000);
    }
}

QString ServidorLocal::host() const {
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

AmbienteTemporario::~AmbienteTemporario() {
    // Newest first, so a variable set twice ends as it was before the first.
    for (auto a = m_anteriores.crbegin(); a != m_anteriores.crend(); ++a) {
        if (a->havia)
            qputenv(a->nome.constData(), a->valor);
        else
            qunsetenv(a->nome.constData());
    }
}

void AmbienteTemporario::definir(const char* nome, const QByteArray& valor) {
    m_anteriores.append({nome, qEnvironmentVariableIsSet(nome), qgetenv(nome)});
    qputenv(nome, valor);
}
