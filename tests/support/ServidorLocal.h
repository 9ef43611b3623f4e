#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// A helper server of the tests (the cloud simulator, the FTP server): a script started
// with "--port 0" that prints "PORT n" once it listens on 127.0.0.1, stopped with this.
class ServidorLocal {
public:
    // Starts it and waits for its port; throws std::runtime_error naming `nome`, with
    // `dica` added when the port line does not come.
    ServidorLocal(const QString& nome, const QString& programa, const QStringList& argumentos,
                  const QString& dica = QString());
    ~ServidorLocal();
    ServidorLocal(const ServidorLocal&) = delete;
    ServidorLocal& operator=(const ServidorLocal&) = delete;

    int port() const { return m_port; }
    QString host() const; // "127.0.0.1:port"

private:
    void parar();
    QProcess m_processo;
    int m_port = 0;
};

// Environment variables a test points somewhere, put back as they were when it ends.
class AmbienteTemporario {
public:
    AmbienteTemporario() = default;
    ~AmbienteTemporario();
    AmbienteTemporario(const AmbienteTemporario&) = delete;
    AmbienteTemporario& operator=(const AmbienteTemporario&) = delete;

    void definir(const char* nome, const QByteArray& valor);

private:
    struct Anterior {
        QByteArray nome;
        bool havia = false;
        QByteArray valor;
    };
    QList<Anterior> m_anteriores;
};
