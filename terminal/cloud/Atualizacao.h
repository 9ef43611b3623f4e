#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// The program's own updates: the version query to the update site and the installer
// download from the file server. Neither goes through the cloud API's envelope.

// This program's version, a date written YYYYMMDD.
inline constexpr qint32 App_Versao_Programa = 20250416;

// The update site's host ("host" or "host:port"); ONDAVIA_UPDATE_HOST replaces the
// fixed one, for tests and the demo.
QString Atualizacao_Host();
// "http://" + host + "/downloads/web_versao.php"
QString Atualizacao_URL();

// The version in a reply of the update site: decimal digits, blanks and line breaks
// around them allowed. False for anything else (an empty reply, a sign, letters, a
// number beyond 32 bits).
bool Atualizacao_Versao_Ler(const QByteArray& corpo, qint32& versao);
// Asks the update site for the current version. False on any failure: no connection, a
// status other than 200, a reply that is not a version.
bool Atualizacao_Versao_Consultar(qint32& versao);

// The file server of the installer. Host, user and password are the program's own;
// ONDAVIA_FTP_HOST ("host" or "host:port"), ONDAVIA_FTP_USER and ONDAVIA_FTP_PASSWORD
// replace them for tests and the demo. The port is 21 unless the host names one.
struct TFTP_Servidor {
    QString host;
    int porta = 21;
    QString usuario;
    QString senha;
};
TFTP_Servidor Atualizacao_Servidor();

// The installer on the server, and where it lands in the program folder.
inline constexpr const char* Atualizacao_Origem = "/public_html/downloads/balcona_setup.exe";
QString Atualizacao_Destino(const QString& Sistema_DirName); // + "Instalador.exe"

// The installer download, by FTP in passive mode as a binary image. It lives as long as
// the main window: after one download it stays connected, and a second one in the same
// run does nothing.
class TAtualizacao_Download {
public:
    enum Resultado { Ja_Conectado, Baixado, Falhou };
    // Bytes received so far and the expected total (0 while unknown).
    using Progresso = std::function<void(qint64 recebidos, qint64 total)>;

    TAtualizacao_Download();
    ~TAtualizacao_Download();
    TAtualizacao_Download(const TAtualizacao_Download&) = delete;
    TAtualizacao_Download& operator=(const TAtualizacao_Download&) = delete;

    bool Conectado() const { return m_conectado; }
    // Downloads the installer into `destino`, replacing a file there once the whole
    // installer has arrived; a failed download leaves no partial file behind.
    Resultado Baixar(const QString& destino, const Progresso& progresso = {});
    // The transfer layer's message for the last failure.
    QString Erro() const { return m_erro; }

private:
    struct Sessao;
    std::unique_ptr<Sessao> m_sessao; // the open control connection
    bool m_conectado = false;
    QString m_erro;
};
