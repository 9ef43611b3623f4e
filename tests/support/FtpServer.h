#pragma once

#include "support/ServidorLocal.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// The installer's file server (tools/ftp/), a real FTP server on a free port of
// 127.0.0.1 for one test, stopped with it. It serves a folder of its own, into which
// the test puts the installer.
class FtpServer {
public:
    static constexpr const char* USUARIO = "instalador@teste.com.br";
    static constexpr const char* SENHA = "abcdefghijkl";

    FtpServer();  // starts it and waits until it listens; throws std::runtime_error if not
    ~FtpServer(); // stops it and restores the variables usar() set

    int port() const { return m_servidor.port(); }
    QString host() const; // "127.0.0.1:port"
    // Points ONDAVIA_FTP_HOST, ONDAVIA_FTP_USER and ONDAVIA_FTP_PASSWORD at this server
    // for the rest of the test.
    void usar();
    // The file served as "/public_html/downloads/balcona_setup.exe".
    void instalador(const QByteArray& bytes);

private:
    QTemporaryDir m_raiz; // before the server, which serves it
    ServidorLocal m_servidor;
    AmbienteTemporario m_ambiente;
};
