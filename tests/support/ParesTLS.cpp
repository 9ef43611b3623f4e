#include "ParesTLS.h"

#include <QDeadlineTimer>
#include <QStandardPaths>

namespace {

// The servers around the handler; the script ends when its standard input closes.
const char* const SERVIDORES = R"PY(
def servir(contexto):
    s = http.server.ThreadingHTTPServer(("127.0.0.1", 0), H)
    s.daemon_threads = True
    if contexto:
        s.socket = contexto.wrap_socket(s.socket, server_side=True)
    threading.Thread(target=s.serve_forever, daemon=True).start()
    return s.server_address[1]

def tls(versao):
    c = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    c.minimum_version = c.maximum_version = versao
    c.load_cert_chain(sys.argv[1], sys.argv[2])
    return c

V = ssl.TLSVersion
print("PORTS", servir(None), servir(tls(V.TLSv1_2)), servir(tls(V.TLSv1_3)), flush=True)
sys.stdin.read()
)PY";

} // namespace

ParesTLS::ParesTLS(const char* manipulador, const QStringList& argumentos) {
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty() || !m_dir.isValid()) return;
    const QString cert = m_dir.filePath(QStringLiteral("c.pem"));
    const QString chave = m_dir.filePath(QStringLiteral("k.pem"));
    QProcess gerar;
    gerar.start(openssl, {"req", "-x509", "-newkey", "ec", "-pkeyopt",
                          "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", chave, "-out", cert,
                          "-subj", "/CN=127.0.0.1", "-days", "1"});
    if (!gerar.waitForFinished(20000) || gerar.exitCode() != 0) return;
    const QString script = QStringLiteral("import http.server, ssl, sys, threading\n") +
                           QString::fromUtf8(manipulador) + QString::fromUtf8(SERVIDORES);
    m_processo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_processo.start(QStringLiteral("python3"),
                     QStringList{QStringLiteral("-c"), script, cert, chave} + argumentos);
    QDeadlineTimer prazo(10000);
    while (!m_processo.canReadLine() && !prazo.hasExpired() &&
           m_processo.state() != QProcess::NotRunning)
        m_processo.waitForReadyRead(100);
    const QList<QByteArray> linha = m_processo.readLine().trimmed().split(' ');
    if (linha.size() == 4 && linha[0] == "PORTS") {
        http = linha[1].toInt();
        tls12 = linha[2].toInt();
        tls13 = linha[3].toInt();
    }
}

ParesTLS::~ParesTLS() {
    m_processo.closeWriteChannel(); // its stdin closing ends it
    if (!m_processo.waitForFinished(3000)) m_processo.kill();
    m_processo.waitForFinished(3000);
}
