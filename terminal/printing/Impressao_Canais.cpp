#include "Impressao_Canais.h"

#include "Impressao_Perfil.h"
#include "Impressao_Texto.h"

#include "Tarvel_PrintSerial.h"
#include "foundation/Errors.h"
#include "foundation/Settings.h"
#include "platform/Platform.h"

#include <QFile>
#include <QProcess>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

[[noreturn]] void Falha_Porta(const QString& porta, const QString& motivo) {
    throw FileError(QStringLiteral("Erro de E/S na porta \"%1\": %2").arg(porta, motivo));
}

// A "\\host\printer" share: the bytes go to that print queue untouched.
void Fila_Imprimir(const QString& porta, const QByteArray& bytes) {
    QProcess lp;
    lp.start(QStringLiteral("lp"), {QStringLiteral("-d"), Platform::mapDevice(porta),
                                    QStringLiteral("-o"), QStringLiteral("raw")});
    if (!lp.waitForStarted(10000)) Falha_Porta(porta, lp.errorString());
    lp.write(bytes);
    lp.closeWriteChannel();
    if (!lp.waitForFinished(30000)) {
        lp.kill();
        lp.waitForFinished(1000);
        Falha_Porta(porta, QStringLiteral("a fila de impressão não respondeu"));
    }
    if (lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0)
        Falha_Porta(porta, QString::fromLocal8Bit(lp.readAllStandardError()).trimmed());
}

#ifndef Q_OS_WIN
void Porta_Gravar(const QString& porta, const QByteArray& bytes) {
    const QString destino = Platform::mapDevice(porta);
    // A device is opened as it is: creating "/dev/ttyS9" for a port the machine lacks
    // would print into a plain file there. Without O_NONBLOCK a serial line waiting for
    // its carrier would hold the terminal at the open.
    const bool dispositivo = destino != porta || destino.startsWith(QLatin1String("/dev/"));
    const QByteArray caminho = QFile::encodeName(destino);
    const int fd = dispositivo
                       ? ::open(caminho.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK)
                       : ::open(caminho.constData(), O_WRONLY | O_NOCTTY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) Falha_Porta(porta, QString::fromLocal8Bit(std::strerror(errno)));
    if (dispositivo) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    qsizetype feito = 0;
    while (feito < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + feito, size_t(bytes.size() - feito));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int erro = errno;
            ::close(fd);
            Falha_Porta(porta, QString::fromLocal8Bit(std::strerror(erro)));
        }
        feito += n;
    }
    if (::close(fd) != 0 && errno != EINTR)
        Falha_Porta(porta, QString::fromLocal8Bit(std::strerror(errno)));
}
#else
void Porta_Gravar(const QString& porta, const QByteArray& bytes) {
    QFile f(porta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) Falha_Porta(porta, f.errorString());
    if (f.write(bytes) != bytes.size() || !f.flush()) Falha_Porta(porta, f.errorString());
}
#endif

} // namespace

TPorta_Resolvida Porta_Resolver(const QString& porta, const QString& Pasta_Empresa) {
    TPorta_Resolvida r;
    r.Porta = porta == QLatin1String("Arquivo")
                  ? Pasta_Empresa + QStringLiteral("Print_Relatorios.txt")
                  : porta;
    r.Visualizar = r.Porta.compare(QLatin1String("Visualizar"), Qt::CaseInsensitive) == 0;
    return r;
}

QByteArray Comando_Gaveta() {
    return QByteArray("\x1B\x70\x00\x19\xFA", 5);
}

QByteArray Comando_Corte() {
    return QByteArray("\x1D\x56\x01", 3);
}

bool Impressao_Porta_Serial(const QString& Arquivo_Caminho, const QString& Porta_Serial,
                            int Salto_Linha, bool Gaveta, bool Cortar) {
    QFile arquivo(Arquivo_Caminho);
    if (Arquivo_Caminho.isEmpty() || !arquivo.exists()) return false;
    if (!arquivo.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                            .arg(Arquivo_Caminho, arquivo.errorString()));
    const QStringList linhas = Txt_Ler(arquivo.readAll());
    arquivo.close();

    QByteArray saida;
    for (const QString& l : linhas) {
        saida += Platform::toSystem8bit(l);
        saida += "\r\n";
    }
    for (int i = 0; i <= Salto_Linha; ++i)
        saida += "\r\n";
    if (Gaveta) saida += Comando_Gaveta();
    if (Cortar) saida += Comando_Corte();

    if (Platform::isPrinterShare(Porta_Serial))
        Fila_Imprimir(Porta_Serial, saida);
    else
        Porta_Gravar(Porta_Serial, saida);
    return true;
}

TEnvio_Impressao Envio_Perfil(const TPerfil_Impressao& perfil, const TPorta_Resolvida& porta,
                              const QString& arquivo) {
    TEnvio_Impressao envio;
    envio.Tipo = perfil.impress_nome;
    envio.Porta = porta.Porta;
    envio.Visualizar = porta.Visualizar;
    envio.Salto = perfil.impress_Salto;
    envio.Gaveta = perfil.impress_Gaveta;
    envio.Cortar = perfil.impress_Papel;
    envio.Arquivo = arquivo;
    return envio;
}

QString Impressao_Texto_QR(const TSettings& cfg) {
    for (const QString* rede :
         {&cfg.Emp_Instagram, &cfg.Emp_Facebook, &cfg.Emp_TikTok, &cfg.Emp_twitter})
        if (!rede->isEmpty()) return *rede;
    return QString();
}

TCanais_Externos& Canais_Externos() {
    static TCanais_Externos canais{
        [](const QString& arquivo, const QString& qrcode, bool visualizar) {
            const QByteArray a = Platform::toSystem8bit(arquivo);
            const QByteArray q = Platform::toSystem8bit(qrcode);
            return ::Impressao_Mini_Termica(a.constData(), q.isEmpty() ? nullptr : q.constData(),
                                            visualizar);
        },
        [](const QString& arquivo) { Platform::shellOpen(arquivo); }};
    return canais;
}

void Impressao_Enviar(const TEnvio_Impressao& e) {
    if (e.Tipo == Impressora::Bloco_Notas) {
        // The editor runs on its own; the file stays for it.
        if (Canais_Externos().Editor) Canais_Externos().Editor(e.Arquivo);
    } else if (e.Tipo == Impressora::Matricial) {
        Impressao_Porta_Serial(e.Arquivo, e.Porta, e.Salto, e.Gaveta, e.Cortar);
    } else if (e.Tipo == Impressora::Termica) {
        // The library's result is not ours to act on: its preview and errors are its own.
        if (Canais_Externos().Mini_Termica)
            Canais_Externos().Mini_Termica(e.Arquivo, e.QRCode, e.Visualizar);
    } else if (e.Tipo == Impressora::Epson_LX300) {
        Impressao_Porta_Serial(e.Arquivo, e.Porta, e.Salto);
    }
}
