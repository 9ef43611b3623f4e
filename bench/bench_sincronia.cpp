// Speed and memory of the catalogue synchronisation: a recorded reply of 100,000 products
// and 50,000 customers (and a few rows of each other section) applied to a fresh company
// database, the dump of the reply included. Then the sale screen's barcode scans while a
// synchronisation runs on its worker.
//
//     build/bench/bench_sincronia [runs]
//
// Each run is a child process forked after the reply was built: its peak resident memory
// (getrusage of that child) holds the reply, as the worker holds it, and nothing of the
// runs before.

#include "cloud/Tarvel_Sincronia_Donwload_Unit.h"
#include "foundation/Database.h"
#include "sale/Produto_Core.h"
#include "sale/Venda_Core.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int PRODUTOS = 100000;
constexpr int CLIENTES = 50000;

class Tela_Muda : public ISincronia_Tela {
public:
    void Iniciar_Sincronia() override {}
    void Update_Title(const QString&, const QString&) override {}
    void Update_Progress(const QString&) override {}
    void FinalizaSincronia(bool, const QDateTime&) override {}
    void Diagnostico(const QString& texto) override {
        std::fprintf(stderr, "%s\n", qPrintable(texto.left(300)));
    }
};

QString cbarra(int i) {
    return QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0'));
}

QString data(int i) {
    return QStringLiteral("20%1-%2-%3 %4:%5:%6")
        .arg(14 + i % 11)
        .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
        .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
        .arg(i % 24, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'))
        .arg((i * 7) % 60, 2, 10, QLatin1Char('0'));
}

// The reply as the cloud account writes it: numbers as texts, nulls, accented names.
QString Resposta_Grande() {
    static const char* const grupos[] = {"BEBIDAS", "MERCEARIA", "LIMPEZA", "AÇOUGUE", "PADARIA"};
    static const char* const medidas[] = {"UN", "KG", "UNIDADE", "CX", "LT"};
    QString s;
    s.reserve(60'000'000);
    s += QStringLiteral(
        R"({"datahora":"2025-03-10 08:15:00","instalador":"2025-03-01 00:00:00","produtos":[)");
    for (int i = 1; i <= PRODUTOS; ++i) {
        if (i > 1) s += u',';
        s += QStringLiteral(R"({"id":"%1","ativo":"%2","dt_cadastro":"%3","grupo_id":"%4",)"
                            R"("grupo":"%5","produto":"PRODUTO %1 AÇÚCAR REFINADO 1KG",)"
                            R"("tamanho":"Padrao","marca":"MARCA %4","cbarra":"%6",)")
                 .arg(i)
                 .arg(i % 100 == 0 ? 0 : 1)
                 .arg(data(i))
                 .arg(i % 5 + 1)
                 .arg(QString::fromUtf8(grupos[i % 5]))
                 .arg(cbarra(i));
        s += QStringLiteral(R"("custo":"%1","lucro":"30","venda":"%2","desconto":"0",)"
                            R"("promocao":"%3","promocao_min":"%4","dt_promocao":%5,)"
                            R"("medida":"%6","estoque":"%7"})")
                 .arg(double(1 + i % 97), 0, 'f', 2)
                 .arg(1.3 * (1 + i % 97), 0, 'f', 2)
                 .arg(i % 10 == 0 ? 0.9 * (1 + i % 97) : 0, 0, 'f', 2)
                 .arg(i % 10 == 0 ? 3 : 0)
                 .arg(i % 10 == 0 ? QLatin1Char('"') + data(i + 3) + QLatin1Char('"')
                                  : QStringLiteral("null"))
                 .arg(QString::fromUtf8(medidas[i % 5]))
                 .arg(i % 300);
    }
    s += QStringLiteral(R"(],"clientes":[)");
    for (int i = 1; i <= CLIENTES; ++i) {
        if (i > 1) s += u',';
        s += QStringLiteral(R"({"id":"%1","cod":" C%1 ","ativo":"%2","tipo":"f","nome":"MARIA )"
                            R"(JOSÉ DA SILVA %1","apelido":"","cpf_cnpj":"%3",)"
                            R"("endereco":"RUA DAS FLORES","endereco_obs":"",)"
                            R"("gps_latitude":"-23.5%4","gps_longitude":"-46.6%4",)")
                 .arg(i)
                 .arg(i % 50 == 0 ? 0 : 1)
                 .arg(QStringLiteral("%1.%2.%3-%4")
                          .arg(100 + i / 1000000)
                          .arg(i / 1000 % 1000, 3, 10, QLatin1Char('0'))
                          .arg(i % 1000, 3, 10, QLatin1Char('0'))
                          .arg(i % 97, 2, 10, QLatin1Char('0')))
                 .arg(i % 1000);
        s += QStringLiteral(R"("numero":"%1","bairro":"CENTRO","cidade":"SÃO PAULO ",)"
                            R"("estado":"sp","fone":"(11) 9%2-0000 RAMAL 12","grupo":"ROTA %3",)"
                            R"("grupo_id":"%3","cep":"01000-000","dt_ultatend":"%4",)"
                            R"("ultatend":"%5","atend_tipo":"7","cred_limite":"500",)"
                            R"("cred_restante":"%6","credito":"LIBERADO"})")
                 .arg(i % 2000)
                 .arg(i % 10000, 4, 10, QLatin1Char('0'))
                 .arg(i % 20 + 1)
                 .arg(data(i * 3))
                 .arg(i % 9)
                 .arg(500 - i % 500);
    }
    s += QStringLiteral(R"(],"funcionarios":[)");
    for (int i = 1; i <= 12; ++i)
        s += QStringLiteral(R"(%1{"id":"%2","nome":"vendedor %2","ativo":"1"})")
                 .arg(i > 1 ? QStringLiteral(",") : QString())
                 .arg(i);
    s += QStringLiteral(R"(],"cidades":[)");
    for (int i = 1; i <= 40; ++i)
        s += QStringLiteral(R"(%1{"id":"%2","uf":"SP ","cidade":"cidade %2"})")
                 .arg(i > 1 ? QStringLiteral(",") : QString())
                 .arg(i);
    s += QStringLiteral(R"(],"rotas":[)");
    for (int i = 1; i <= 20; ++i)
        s += QStringLiteral(R"(%1{"id":"%2","rota":" ROTA %2 "})")
                 .arg(i > 1 ? QStringLiteral(",") : QString())
                 .arg(i);
    s += QStringLiteral(R"(],"pagamentos":[)");
    for (int i = 1; i <= 8; ++i)
        s += QStringLiteral(R"(%1{"id":"%2","plano":"PLANO %2","tipo":"PRAZO","carencia":"30",)"
                            R"("alt_carencia":"1","parcelas":"%2","periodicidade":"Mensal",)"
                            R"("acrecimo":"2.5"})")
                 .arg(i > 1 ? QStringLiteral(",") : QString())
                 .arg(i);
    s += QStringLiteral(R"(],"cartoes":[)");
    for (int i = 1; i <= 6; ++i)
        s +=
            QStringLiteral(R"(%1{"id":"%2","operadora":"OPERADORA %2","gredito":"1","debito":"1"})")
                .arg(i > 1 ? QStringLiteral(",") : QString())
                .arg(i);
    s += QStringLiteral(R"(],"mensagens":[)");
    for (int i = 1; i <= 5; ++i)
        s += QStringLiteral(R"(%1{"id":"%2","tipo":"AVISO","dt_update":"2025-03-0%2 10:00:00",)"
                            R"("msg":"Mensagem %2","user_id":"1","user_name":"Gerente",)"
                            R"("detinatario_id":"0"})")
                 .arg(i > 1 ? QStringLiteral(",") : QString())
                 .arg(i);
    s += QStringLiteral("]}");
    return s;
}

TSincronia_Parametros parametros(const QString& pasta) {
    TSincronia_Parametros p;
    p.Banco = pasta + QStringLiteral("dbase.s3db");
    p.ArquivoJSON = pasta + QStringLiteral("JSONText.txt");
    p.ArquivoLog = pasta + QStringLiteral("LogError.txt");
    p.Config.Dt_Sinc_Update = QDateTime(QDate(1982, 3, 15), QTime(0, 0));
    p.Config.Dt_Exe_Update = QDateTime(QDate(2025, 1, 1), QTime(0, 0));
    return p;
}

bool banco_novo(const QString& pasta) {
    return QFile::copy(QStringLiteral(ONDAVIA_PROGRAM_DIR "/dbase.s3db"),
                       pasta + QStringLiteral("dbase.s3db")) &&
           QFile::setPermissions(pasta + QStringLiteral("dbase.s3db"),
                                 QFile::ReadOwner | QFile::WriteOwner);
}

struct Figura {
    double ms = 0;
    double extra = 0; // second figure of the run, when it has one
    long pico_kb = 0;
    bool ok = false;
};

// Runs `corpo` in a child process; it writes its figures through a pipe.
template <class F> Figura filho(F corpo) {
    int tubo[2];
    if (pipe(tubo) != 0) std::abort();
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(tubo[0]);
        Figura f = corpo();
        if (write(tubo[1], &f, sizeof f) != sizeof f) _exit(2);
        _exit(0);
    }
    close(tubo[1]);
    Figura f;
    const bool lido = read(tubo[0], &f, sizeof f) == sizeof f;
    close(tubo[0]);
    int status = 0;
    struct rusage uso {};
    wait4(pid, &status, 0, &uso);
    if (!lido || !WIFEXITED(status) || WEXITSTATUS(status) != 0) f.ok = false;
    f.pico_kb = uso.ru_maxrss;
    return f;
}

// A fresh company database, then the reply applied to it; the time is that of the run.
Figura aplicar(const QString& resposta) {
    QTemporaryDir dir;
    const QString pasta = dir.path() + QLatin1Char('/');
    if (!banco_novo(pasta)) return {};
    const TSincronia_Parametros p = parametros(pasta);
    db::Connection conexao;
    conexao.open(p.Banco, db::Journal::Wal, db::Sync::Normal);
    Tela_Muda tela;
    QElapsedTimer t;
    t.start();
    const TSincronia_Resultado r = Sincronia_Executar(p, conexao, tela, &resposta);
    Figura f;
    f.ms = t.nsecsElapsed() / 1e6;
    f.ok = r.Ok;
    return f;
}

// The catalogue is applied once; while it is applied again on a worker thread, the sale
// screen's connection (synchronous=FULL) scans a barcode and stores the item every 5 ms.
Figura leituras(const QString& resposta, std::vector<double>& esperas) {
    QTemporaryDir dir;
    const QString pasta = dir.path() + QLatin1Char('/');
    if (!banco_novo(pasta)) return {};
    const TSincronia_Parametros p = parametros(pasta);
    Tela_Muda tela;
    {
        db::Connection c;
        c.open(p.Banco, db::Journal::Wal, db::Sync::Normal);
        if (!Sincronia_Executar(p, c, tela, &resposta).Ok) return {};
    }
    db::Connection ui;
    ui.open(p.Banco, db::Journal::Wal, db::Sync::Full);
    VendaDB::Inserir(ui, 1, QStringLiteral("V1"), QDate::currentDate());

    std::atomic<bool> fim{false};
    Figura f;
    std::thread worker([&] {
        db::Connection c;
        c.open(p.Banco, db::Journal::Wal, db::Sync::Normal);
        Tela_Muda tela_worker;
        QElapsedTimer t;
        t.start();
        f.ok = Sincronia_Executar(p, c, tela_worker, &resposta).Ok;
        f.extra = t.nsecsElapsed() / 1e6;
        fim = true;
    });
    for (int i = 1; !fim; ++i) {
        QElapsedTimer t;
        t.start();
        const QList<TProduto> achados = Produto_Pesquisar(ui, cbarra(1 + (i * 7919) % PRODUTOS), 7);
        if (!achados.isEmpty()) {
            TProdutoEntrada e;
            Produto_Carregar(e, achados.first());
            Produto_Insert(ui, 1, QStringLiteral("V1"), e, QStringLiteral("0.00,"),
                           QDateTime::currentDateTime());
        }
        esperas.push_back(t.nsecsElapsed() / 1e6);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    return f;
}

} // namespace

int main(int argc, char** argv) {
    const int vezes = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QElapsedTimer preparo;
    preparo.start();
    const QString resposta = Resposta_Grande();
    malloc_trim(0);
    std::printf("reply: %d products, %d customers, %.1f MB of text, built in %.0f ms\n", PRODUTOS,
                CLIENTES, resposta.size() / 1e6, preparo.nsecsElapsed() / 1e6);

    std::vector<double> ms;
    long pico = 0;
    for (int i = 0; i < vezes; ++i) {
        const Figura f = filho([&] { return aplicar(resposta); });
        if (!f.ok) {
            std::printf("run %d failed\n", i + 1);
            return 1;
        }
        std::printf("run %d: %8.1f ms   peak %6.1f MB\n", i + 1, f.ms, f.pico_kb / 1024.0);
        ms.push_back(f.ms);
        pico = std::max(pico, f.pico_kb);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("synchronisation, fresh database: median %.1f ms, max of the runs' peak memory "
                "%.1f MB (%d runs)\n",
                ms[ms.size() / 2], pico / 1024.0, vezes);

    // The scans' times go back through a file: the figures of one child.
    QTemporaryDir dir;
    const QString arquivo = dir.path() + QStringLiteral("/esperas");
    const Figura f = filho([&] {
        std::vector<double> esperas;
        Figura r = leituras(resposta, esperas);
        QFile out(arquivo);
        if (out.open(QIODevice::WriteOnly))
            out.write(reinterpret_cast<const char*>(esperas.data()),
                      qint64(esperas.size() * sizeof(double)));
        return r;
    });
    QFile in(arquivo);
    std::vector<double> esperas;
    if (in.open(QIODevice::ReadOnly)) {
        const QByteArray b = in.readAll();
        esperas.resize(size_t(b.size()) / sizeof(double));
        std::memcpy(esperas.data(), b.constData(), esperas.size() * sizeof(double));
    }
    if (!f.ok || esperas.empty()) {
        std::printf("scan run failed\n");
        return 1;
    }
    std::sort(esperas.begin(), esperas.end());
    std::printf("again over the same catalogue, on a worker thread: %.1f ms; meanwhile %zu scans "
                "on the sale screen's connection: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                f.extra, esperas.size(), esperas[esperas.size() / 2],
                esperas[esperas.size() * 99 / 100], esperas.back());
    return 0;
}
