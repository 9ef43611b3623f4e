#pragma once

#include "foundation/Settings.h"

#include <QDateTime>
#include <QString>
#include <QThread>

class QObject;
namespace db {
class Connection;
}

// The four screen steps of a synchronisation. The worker hands each one to the
// user-interface thread and waits for it.
class ISincronia_Tela {
public:
    virtual ~ISincronia_Tela() = default;
    virtual void Iniciar_Sincronia() = 0;
    // The title goes to the search box; a non-empty message is a new line of the memo.
    virtual void Update_Title(const QString& Retorno_Titulo, const QString& Retorno_Mensag) = 0;
    virtual void Update_Progress(const QString& Retorno_Titulo) = 0;
    // Ok false: the run failed, and the diagnostic text is already on the clipboard.
    virtual void FinalizaSincronia(bool Ok, const QDateTime& Exe_Update) = 0;
    // Puts the diagnostic text of a failed run on the clipboard.
    virtual void Diagnostico(const QString& texto) = 0;
};

// What a run needs, copied from the main window when it starts.
struct TSincronia_Parametros {
    TSettings Config;    // credentials, protocol switches, Dt_Sinc_Update, Dt_Exe_Update
    QString WebAPI_URL;  // the API base
    QString Banco;       // the company database file
    QString ArquivoJSON; // where the reply is dumped ("C:\Tarvel\JSONText.txt", mapped)
    QString ArquivoLog;  // "LogError.txt" in the per-user application-data folder
};

// How a run ended.
struct TSincronia_Resultado {
    bool Ok = false;
    QDateTime Exe_Update;
    QString Dt_Update;  // the reply's "datahora"
    int Linha = 0;      // the product step number at the end
    QString Resposta;   // the reply text
    QString Erro;       // the failure's message
    QString Ultimo_SQL; // the last statement prepared on the main query object
};

// The run without its thread: the request (unless `resposta` is given, as the
// benchmark and tests do), the dump, the eight sections on `conexao`. Screen steps go to
// `tela` directly, on the calling thread. Failures end the run as described for it and
// are reported in the result (and through `tela`), never thrown.
TSincronia_Resultado Sincronia_Executar(const TSincronia_Parametros& p, db::Connection& conexao,
                                        ISincronia_Tela& tela, const QString* resposta = nullptr);

// The worker thread: opens a connection of its own to p.Banco and runs
// Sincronia_Executar; each screen step is run on the thread of `contexto` (a QObject of
// the user-interface thread) through a blocking queued call. Frees itself when it ends.
class Tarvel_Sincronia_Donwload : public QThread {
public:
    // A worker made while another one exists does nothing when started: it ends at once
    // without a screen step.
    Tarvel_Sincronia_Donwload(TSincronia_Parametros p, ISincronia_Tela& tela, QObject* contexto);
    ~Tarvel_Sincronia_Donwload() override;
    // True from the making of a worker until its run has ended: a second start is then
    // ignored.
    static bool Ativa();

protected:
    void run() override;

private:
    TSincronia_Parametros m_p;
    ISincronia_Tela& m_tela;
    QObject* m_contexto;
    bool m_dono = false; // this worker holds the one run
};

// The price-check terminal's product file: one line per product, "cbarra(13)|produto(20)|
// venda 0.00,|" and CR LF, UTF-8 with a byte-order mark.
QByteArray Terminal_Arquivo_Conteudo(db::Connection& conexao);
// Writes it on a short-lived thread of its own with its own connection to `banco`, when
// conf_terminal_mod is not empty; every failure is dropped.
void Terminal_GerarArquivo(const TSettings& cfg, const QString& banco);
