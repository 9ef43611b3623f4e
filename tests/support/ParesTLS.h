#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// Peers for the tests of the TLS range: a plain HTTP server and two HTTPS servers with a
// self-signed certificate, one that speaks TLS 1.2 alone and one TLS 1.3 alone, all on
// 127.0.0.1 and all answering with the request handler class `H` that `manipulador`
// (Python source) defines. Its script sees the certificate and key as sys.argv[1] and
// [2], then `argumentos`. ok() is false where openssl or python3 is missing.
class ParesTLS {
public:
    explicit ParesTLS(const char* manipulador, const QStringList& argumentos = {});
    ~ParesTLS();
    ParesTLS(const ParesTLS&) = delete;
    ParesTLS& operator=(const ParesTLS&) = delete;

    bool ok() const { return http > 0; }
    int http = 0, tls12 = 0, tls13 = 0;

private:
    QTemporaryDir m_dir;
    QProcess m_processo;
};
