#pragma once

#include "support/ServidorLocal.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// The simulator of the shop's cloud account (tools/cloud-sim/), started on a free port
// of 127.0.0.1 for one test and stopped with it. Its control calls read back the
// requests it received and tell it how to fail.
class CloudSim {
public:
    CloudSim();  // starts it and waits until it answers; throws std::runtime_error if not
    ~CloudSim(); // stops it

    QString host() const; // "127.0.0.1:port", for ONDAVIA_API_HOST
    int port() const { return m_servidor.port(); }
    // Sets ONDAVIA_API_HOST to this simulator for the rest of the test (restored after).
    void usar();

    // The requests received since the start or the last reset, oldest first: each an
    // object {"method", "path", "query" (the raw query string), "fields" (array of
    // [name, value] in order), "headers" (object), "body" (text)}.
    QJsonArray requests();
    // Requests of one command ("comando" field).
    QJsonArray requests(const QString& comando);

    // Makes the command fail until reset: "500" (status 500 with a JSON body), "html404"
    // (status 404 with an HTML page), "json" (broken JSON), "sem_chave" (the reply lacks
    // `chave`), "lento" (answers after `segundos`), "truncado" (the connection closes
    // halfway through the body), "grande" (a reply of `megas` MB), "recusar" (closes the
    // connection without answering).
    void falhar(const QString& comando, const QString& modo, const QString& chave = {},
                double segundos = 0, int megas = 0);
    // The next replies to the command are exactly this body, with this status and type.
    void responder(const QString& comando, const QByteArray& corpo, int status = 200,
                   const QString& contentType = QStringLiteral("application/json"));
    // Back to the seeded data, no faults, no recorded requests.
    void reset();
    // The date-time text of the newest installer that "sincronia" announces.
    void instalador(const QString& data);

    // "upload_venda" until reset: accepted ("Status:OK ...", the sale stored) or refused
    // ("Status:ERRO ...", not stored), the reply ending with `anexo` (statement tags).
    void upload_venda(bool aceitar, const QString& anexo = {});
    // The uploads received since the start or the last reset, oldest first: each an object
    // {"numero_venda", "fields" (array of [name, value]), "body" (text), "produtos",
    // "venda_cartao" (the body's non-empty objects, null when it is not JSON), "aceita"}.
    QJsonArray uploads();
    // "pix" until reset: "cobranca" (a charge, paid from the `pago_no`-th request for one
    // sale and amount on), "chave" (a key without a charge), "erro" (a reply without "pix").
    void pix(const QString& modo, int pago_no = 2);

    // The demo account.
    static constexpr const char* EMAIL = "demo@balcona.com.br";
    static constexpr const char* SENHA = "demo123";
    static constexpr const char* SUPERVISOR = "gerente@balcona.com.br";
    static constexpr const char* SENHA_SUPERVISOR = "gerente123";

private:
    QByteArray controle(const QString& caminho, const QByteArray& corpo = {});
    QByteArray pedir(const char* metodo, const QString& caminho, const QByteArray& corpo);
    ServidorLocal m_servidor;
    AmbienteTemporario m_ambiente;
};
