#include "Tarvel_Sincronia_Donwload_Unit.h"

#include "cloud/Sincronia_Resposta.h"
#include "cloud/Sincronia_Secoes.h"
#include "cloud/Terminal_Consulta.h"
#include "cloud/WebAPI.h"
#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"
#include "platform/Platform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>

#include <atomic>
#include <future>
#include <memory>
#include <thread>

namespace {

std::atomic<bool> s_ativa{false};

// Step 5: the reply, re-indented, replaces the dump file. Its folder is not created: a
// terminal without it fails here, before any table is touched. The writing itself goes on
// beside the sections (a second core does it while the first writes the tables); get()
// waits for it and reports its failure.
std::future<void> Gravar_JSON(const TSincronia_Resposta& resposta, const QString& arquivo) {
    // Removed, not truncated: a truncated file's blocks are written back all at once
    // when it closes, which stalls the sale screen's commits for tens of milliseconds.
    QFile::remove(arquivo);
    auto f = std::make_shared<QFile>(arquivo);
    if (!f->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileError(QStringLiteral("Não foi possível criar o arquivo \"%1\": %2")
                            .arg(QDir::toNativeSeparators(arquivo), f->errorString()));
    return std::async(std::launch::async, [f, &resposta, arquivo] {
        resposta.Despejar(*f);
        f->close();
        if (f->error() != QFileDevice::NoError)
            throw FileError(QStringLiteral("Falha ao gravar o arquivo \"%1\": %2")
                                .arg(QDir::toNativeSeparators(arquivo), f->errorString()));
    });
}

void Gravar_Log(const QString& arquivo, const QString& sql) {
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    QFile f(arquivo);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(Platform::toSystem8bit(sql));
}

// The worker's screen steps, each run on the thread of `contexto` while the worker waits.
class Tela_Remota : public ISincronia_Tela {
public:
    Tela_Remota(ISincronia_Tela& tela, QObject* contexto)
        : m_tela(tela), m_contexto(contexto), m_direto(!contexto) {}

    void Iniciar_Sincronia() override {
        passar([this] { m_tela.Iniciar_Sincronia(); });
    }
    void Update_Title(const QString& titulo, const QString& mensagem) override {
        passar([&] { m_tela.Update_Title(titulo, mensagem); });
        m_depoisTitulo = true;
    }
    void Update_Progress(const QString& titulo) override {
        // A title per element is 150,000 trips to the screen on a full catalogue, more
        // than the writing itself, and no one reads them: the first of a section goes,
        // then one every 50 ms.
        if (!m_depoisTitulo && m_ultimo.isValid() && m_ultimo.elapsed() < 50) return;
        m_depoisTitulo = false;
        m_ultimo.start();
        passar([&] { m_tela.Update_Progress(titulo); });
    }
    void FinalizaSincronia(bool Ok, const QDateTime& Exe_Update) override {
        passar([&] { m_tela.FinalizaSincronia(Ok, Exe_Update); });
    }
    void Diagnostico(const QString& texto) override {
        passar([&] { m_tela.Diagnostico(texto); });
    }

private:
    template <class F> void passar(F&& passo) {
        QObject* contexto = m_contexto.data();
        if (!contexto && !m_direto) return; // the screen is gone: nowhere to show the step
        if (!contexto || contexto->thread() == QThread::currentThread())
            passo();
        else
            QMetaObject::invokeMethod(contexto, std::forward<F>(passo),
                                      Qt::BlockingQueuedConnection);
    }

    ISincronia_Tela& m_tela;
    QPointer<QObject> m_contexto;
    bool m_direto; // no screen thread was given: the steps run on the worker
    QElapsedTimer m_ultimo;
    bool m_depoisTitulo = true;
};

} // namespace

TSincronia_Resultado Sincronia_Executar(const TSincronia_Parametros& p, db::Connection& conexao,
                                        ISincronia_Tela& tela, const QString* resposta) {
    TSincronia_Resultado r;
    r.Exe_Update = p.Config.Dt_Exe_Update;
    const QString dt_update =
        p.Config.Dt_Sinc_Update.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    TSincronia_Passo passo;
    QString texto;

    auto falhar = [&](const QString& mensagem, const QString& recebido) {
        r.Ok = false;
        r.Erro = mensagem;
        if (texto.isEmpty()) texto = recebido;
        r.Resposta = texto;
    };

    try {
        tela.Iniciar_Sincronia();
        r.Ok = true;

        if (resposta) {
            texto = *resposta;
        } else {
            TChamada chamada;
            chamada.comando = QStringLiteral("sincronia");
            chamada.campos = {{QStringLiteral("usuario_email"), p.Config.Usuario_Email},
                              {QStringLiteral("usuario_senha"), p.Config.Usuario_Password},
                              {QStringLiteral("comando"), QStringLiteral("sincronia")},
                              {QStringLiteral("dt_update"), dt_update}};
            texto = WebAPI_Enviar(p.Config, p.WebAPI_URL, chamada).texto;
        }
        r.Resposta = texto;
        tela.Update_Title(QStringLiteral("Iniciando..."), QStringLiteral("Preparando o sistema"));

        const TSincronia_Resposta leitura(texto);
        std::future<void> despejo = Gravar_JSON(leitura, p.ArquivoJSON);
        tela.Update_Title(QStringLiteral("Iniciando..."), QStringLiteral("Obtendo horário..."));

        const JsonValor raiz = leitura.raiz();
        const QString datahora = raiz.texto(QStringLiteral("datahora"));
        const QString instalador = raiz.texto(QStringLiteral("instalador"));
        if (!instalador.isEmpty()) r.Exe_Update = DateMySQLToDateTime(instalador);
        r.Dt_Update = datahora;
        tela.Update_Title(QStringLiteral("Iniciando..."),
                          datahora.isEmpty() ? QString() : QStringLiteral("Data: ") + datahora);

        if (!conexao.isOpen()) conexao.open(p.Banco, db::Journal::Wal, db::Sync::Normal);
        Sincronia_Secoes(leitura, conexao, tela, passo);
        despejo.get();
    } catch (const WebAPIError& e) {
        falhar(e.message(), e.resposta());
    } catch (const Error& e) {
        falhar(e.message(), QString());
    } catch (const std::exception& e) {
        falhar(QString::fromLocal8Bit(e.what()), QString());
    } catch (...) {
        falhar(QStringLiteral("Erro inesperado"), QString());
    }

    r.Linha = passo.Linha;
    r.Ultimo_SQL = passo.Ultimo_SQL;
    if (!r.Ok) {
        try {
            tela.Diagnostico(QStringLiteral("Line = ") + QString::number(r.Linha) +
                             QStringLiteral(" ResponseContent=") + texto +
                             QStringLiteral(" ErroMessage= ") + r.Erro);
        } catch (...) {
        }
        Gravar_Log(p.ArquivoLog, r.Ultimo_SQL);
    }
    try {
        tela.FinalizaSincronia(r.Ok, r.Exe_Update);
    } catch (...) {
    }
    return r;
}

Tarvel_Sincronia_Donwload::Tarvel_Sincronia_Donwload(TSincronia_Parametros p, ISincronia_Tela& tela,
                                                     QObject* contexto)
    : m_p(std::move(p)), m_tela(tela), m_contexto(contexto) {
    // Claimed here, on the starter's thread, so that a second click right after the first
    // already finds a run going.
    m_dono = !s_ativa.exchange(true);
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

Tarvel_Sincronia_Donwload::~Tarvel_Sincronia_Donwload() {
    if (m_dono) s_ativa = false; // made but never run
}

bool Tarvel_Sincronia_Donwload::Ativa() {
    return s_ativa;
}

void Tarvel_Sincronia_Donwload::run() {
    if (!m_dono) return; // another run is going: this start is ignored
    {
        Tela_Remota tela(m_tela, m_contexto);
        db::Connection conexao;
        try {
            conexao.open(m_p.Banco, db::Journal::Wal, db::Sync::Normal);
        } catch (const Error&) {
            // The run opens it again at its step 8 and reports the failure there.
        }
        Sincronia_Executar(m_p, conexao, tela);
    }
    m_dono = false;
    s_ativa = false;
}

void Terminal_GerarArquivo(const TSettings& cfg, const QString& banco) {
    const QString modelo = cfg.conf_terminal_mod.trimmed();
    // "Nenhum" is what the settings screen stores when no price-check terminal is chosen.
    if (modelo.isEmpty() || modelo.compare(u"Nenhum", Qt::CaseInsensitive) == 0) return;
    const QString arquivo = Platform::mapFixedPath(cfg.conf_terminal_file.isEmpty()
                                                       ? QStringLiteral("C:\\Tarvel\\Arquivo.txt")
                                                       : cfg.conf_terminal_file);
    std::thread([arquivo, banco] {
        try {
            Terminal_Arquivo_Gravar(arquivo, banco);
        } catch (...) {
            // The file is a convenience for another device: nothing to tell the operator.
        }
    }).detach();
}
