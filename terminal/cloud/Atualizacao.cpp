#include "Atualizacao.h"

#include "cloud/Http_Get.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <curl/curl.h>

namespace {

// The maker's update site and file server.
constexpr const char* HOST_ATUALIZACAO = "www.balcona.com.br";
constexpr const char* HOST_FTP = "ftp.balcona.com.br";
constexpr const char* USUARIO_FTP = "instalador@balcona.com.br";
constexpr const char* SENHA_FTP = "vqlmtnzrkbdx";

// Seconds to reach a server, and for a transfer that stops coming.
constexpr long PRAZO_CONEXAO = 30;
constexpr long PRAZO_PARADA = 60;

// A version is eight digits; anything much longer is not the update site.
constexpr qsizetype LIMITE_VERSAO = 4096;

QString ou(const char* variavel, const char* padrao) {
    const QString v = qEnvironmentVariable(variavel);
    return v.isEmpty() ? QString::fromLatin1(padrao) : v;
}

bool iniciarCurl() {
    static const CURLcode iniciado = curl_global_init(CURL_GLOBAL_DEFAULT);
    return iniciado == CURLE_OK;
}

struct CurlFree {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};

} // namespace

QString Atualizacao_Host() {
    return ou("ONDAVIA_UPDATE_HOST", HOST_ATUALIZACAO);
}

QString Atualizacao_URL() {
    return QStringLiteral("http://") + Atualizacao_Host() +
           QStringLiteral("/downloads/web_versao.php");
}

bool Atualizacao_Versao_Ler(const QByteArray& corpo, qint32& versao) {
    const QByteArray texto = corpo.trimmed();
    if (texto.isEmpty()) return false;
    for (char c : texto)
        if (c < '0' || c > '9') return false;
    bool ok = false;
    const qint32 v = texto.toInt(&ok);
    if (!ok) return false;
    versao = v;
    return true;
}

bool Atualizacao_Versao_Consultar(qint32& versao) {
    const std::optional<QByteArray> corpo = Http_Get_Curto(Atualizacao_URL(), LIMITE_VERSAO);
    return corpo && Atualizacao_Versao_Ler(*corpo, versao);
}

TFTP_Servidor Atualizacao_Servidor() {
    TFTP_Servidor s;
    s.host = ou("ONDAVIA_FTP_HOST", HOST_FTP);
    const qsizetype dois_pontos = s.host.lastIndexOf(QLatin1Char(':'));
    if (dois_pontos > 0) {
        bool ok = false;
        const int porta = s.host.mid(dois_pontos + 1).toInt(&ok);
        if (ok && porta > 0 && porta < 65536) {
            s.porta = porta;
            s.host.truncate(dois_pontos);
        }
    }
    s.usuario = ou("ONDAVIA_FTP_USER", USUARIO_FTP);
    s.senha = ou("ONDAVIA_FTP_PASSWORD", SENHA_FTP);
    return s;
}

QString Atualizacao_Destino(const QString& Sistema_DirName) {
    QString pasta = QDir::fromNativeSeparators(Sistema_DirName);
    if (!pasta.endsWith(QLatin1Char('/'))) pasta += QLatin1Char('/');
    return pasta + QStringLiteral("Instalador.exe");
}

// The easy handle keeps the control connection open between transfers.
struct TAtualizacao_Download::Sessao {
    std::unique_ptr<CURL, CurlFree> curl;
};

TAtualizacao_Download::TAtualizacao_Download() = default;
TAtualizacao_Download::~TAtualizacao_Download() = default;

namespace {

struct Recepcao {
    QFile* arquivo = nullptr;
    const TAtualizacao_Download::Progresso* progresso = nullptr;
    qint64 avisado = -1;
};

size_t gravar(char* dados, size_t tamanho, size_t n, void* destino) {
    auto* r = static_cast<Recepcao*>(destino);
    const qint64 total = qint64(tamanho * n);
    return r->arquivo->write(dados, total) == total ? size_t(total) : 0;
}

int andamento(void* destino, curl_off_t total, curl_off_t recebidos, curl_off_t, curl_off_t) {
    auto* r = static_cast<Recepcao*>(destino);
    // libcurl calls this often while idle; the screen hears only of new bytes.
    if (r->progresso && *r->progresso && recebidos != r->avisado) {
        r->avisado = recebidos;
        (*r->progresso)(qint64(recebidos), qint64(total));
    }
    return 0;
}

} // namespace

TAtualizacao_Download::Resultado TAtualizacao_Download::Baixar(const QString& destino,
                                                               const Progresso& progresso) {
    if (m_conectado) return Ja_Conectado;
    m_erro.clear();
    auto falhar = [this](const QString& erro) {
        m_erro = erro;
        m_sessao.reset(); // nothing stays connected after a failure
        return Falhou;
    };
    if (!iniciarCurl()) return falhar(QStringLiteral("curl_global_init"));

    m_sessao = std::make_unique<Sessao>();
    m_sessao->curl.reset(curl_easy_init());
    if (!m_sessao->curl) return falhar(QStringLiteral("curl_easy_init"));
    CURL* c = m_sessao->curl.get();

    // The installer arrives beside its target and replaces it only when whole.
    const QString parcial = destino + QStringLiteral(".part");
    QFile::remove(parcial);
    QFile arquivo(parcial);
    if (!arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return falhar(arquivo.errorString());

    const TFTP_Servidor servidor = Atualizacao_Servidor();
    // "%2F" makes the path absolute on the server, whatever the login folder is.
    const QByteArray url = "ftp://" + servidor.host.toUtf8() + ':' +
                           QByteArray::number(servidor.porta) + "/%2F" +
                           QByteArray(Atualizacao_Origem + 1);
    const QByteArray usuario = servidor.usuario.toUtf8();
    const QByteArray senha = servidor.senha.toUtf8();
    char erro[CURL_ERROR_SIZE] = {};
    Recepcao recepcao{&arquivo, &progresso};

    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(c, CURLOPT_USERNAME, usuario.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, senha.constData());
    curl_easy_setopt(c, CURLOPT_PROXY, ""); // straight to the file server
    curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(c, CURLOPT_TRANSFERTEXT, 0L); // an image transfer, byte for byte
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, erro);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, PRAZO_CONEXAO);
    curl_easy_setopt(c, CURLOPT_FTP_RESPONSE_TIMEOUT, PRAZO_CONEXAO);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, PRAZO_PARADA);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, gravar);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &recepcao);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, andamento);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &recepcao);

    const CURLcode r = curl_easy_perform(c);
    // The handle outlives this call with its connection: it keeps no pointer to it.
    const QString mensagem =
        erro[0] ? QString::fromUtf8(erro) : QString::fromUtf8(curl_easy_strerror(r));
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, nullptr);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, nullptr);
    const bool gravado = arquivo.flush();
    arquivo.close();
    if (r != CURLE_OK || !gravado) {
        QFile::remove(parcial);
        return falhar(r != CURLE_OK ? mensagem : arquivo.errorString());
    }
    QFile::remove(destino);
    if (!QFile::rename(parcial, destino)) {
        QFile::remove(parcial);
        return falhar(QStringLiteral("cannot write ") + destino);
    }
    m_conectado = true;
    return Baixado;
}
