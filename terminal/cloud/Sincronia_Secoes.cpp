#include "Sincronia_Secoes.h"

#include "cloud/Sincronia_Resposta.h"
#include "cloud/Tarvel_Sincronia_Donwload_Unit.h"
#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"

#include <QElapsedTimer>
#include <QStringEncoder>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Sincronia_SQL {

const QString Produtos = QStringLiteral(
    "INSERT OR REPLACE INTO produtos (id, ativo, dt_cadastro, grupo_id, grupo, produto, tamanho, "
    "marca, cbarra, custo, lucro, venda, desconto, promocao, promocao_min, dt_promocao, medida, "
    "estoque)\n"
    "VALUES (:id, :ativo, :dt_cadastro, :grupo_id, :grupo,  :produto, :tamanho, :marca, :cbarra, "
    ":custo, :lucro, :venda, :desconto, :promocao, :promocao_min, :dt_promocao, :medida, "
    ":estoque)");
const QString Produtos_Inativo = QStringLiteral("DELETE FROM produtos WHERE (id=:id)");
const QString Produtos_Excluir = QStringLiteral("DELETE FROM produtos WHERE (ativo<=0)");

const QString Clientes_Documento =
    QStringLiteral("delete from clientes where (cpf_cnpj=:cpf_cnpj)");
const QString Clientes = QStringLiteral(
    "INSERT OR REPLACE INTO clientes (id, cod, ativo, tipo, nome, apelido, cpf_cnpj, endereco, "
    "endereco_obs, gps_latitude, gps_longitude, \n"
    "numero, bairro, cidade, estado, fone, celular, grupo, grupo_id, cep, dt_ultatend, ultatend, "
    "atend_tipo, cred_limite, cred_restante, credito)\n"
    "values (:id, :cod, :ativo, :tipo, :nome, :apelido, :cpf_cnpj, :endereco, :endereco_obs, "
    ":gps_latitude, :gps_longitude, \n"
    ":numero, :bairro, :cidade, :estado, :fone, :celular, :grupo, :grupo_id, :cep, :dt_ultatend, "
    ":ultatend, :atend_tipo, :cred_limite, :cred_restante, :credito)");
const QString Clientes_Inativo = QStringLiteral("DELETE FROM clientes WHERE (id=:id)");
const QString Clientes_Excluir = QStringLiteral("DELETE FROM clientes WHERE (ativo<=0)");

const QString Vendedores_Excluir = QStringLiteral("DELETE FROM funcionarios");
const QString Vendedores = QStringLiteral(
    "INSERT OR REPLACE INTO funcionarios (id, nome, ativo) VALUES (:id, :nome, :ativo)");

const QString Cidades =
    QStringLiteral("INSERT OR REPLACE INTO cidades (id, uf, cidade) VALUES (:id, :uf, :cidade)");

const QString Rotas_Excluir = QStringLiteral("DELETE FROM rotas");
const QString Rotas = QStringLiteral("INSERT INTO rotas (id, rota) VALUES (:id, :rota)");

const QString Planos_Excluir = QStringLiteral("DELETE FROM pagamentos");
const QString Planos = QStringLiteral(
    "INSERT OR REPLACE INTO pagamentos (id, ativo, plano, tipo, entrada, carencia, alt_carencia, "
    "parcelas, periodicidade, acrecimo)\n"
    "values (:id, :ativo, :plano, :tipo, :entrada, :carencia, :alt_carencia, :parcelas, "
    ":periodicidade, :acrecimo)");

const QString Cartoes_Excluir = QStringLiteral("DELETE FROM cartoes");
const QString Cartoes =
    QStringLiteral("INSERT OR REPLACE INTO cartoes (id, ativo, operadora, credito, debito)\n"
                   "values (:id, :ativo, :operadora, :credito, :debito)");

const QString Mensagens_Excluir = QStringLiteral("DELETE FROM mensagens");
const QString Mensagens = QStringLiteral(
    "INSERT OR REPLACE INTO mensagens (id, tipo, dt_update, dt_visualiza, msg, user_id, "
    "user_name, destinatario, destinatario_id) \n"
    "VALUES (:id, :tipo, :dt_update, NULL , :msg, :user_id, :user_name, :destinatario, "
    ":destinatario_id)");

} // namespace Sincronia_SQL

namespace SQL = Sincronia_SQL;

namespace {

const QString DATA_PADRAO = QStringLiteral("1982-03-15 00:00:00");

struct Valor {
    enum Tipo : quint8 { Nulo, Inteiro, Real, Texto } tipo = Nulo;
    qint64 inteiro = 0;
    double real = 0;
    size_t pos = 0;
    size_t tam = 0;
};

// A statement of the worker, prepared once per section, its named parameters turned into
// positions once: binding 26 values by name for each of 150,000 rows would cost more
// than the inserts themselves.
class Comando {
public:
    Comando(db::Connection& conexao, const QString& sql) : m_sql(sql) {
        sqlite3* db = conexao.handle();
        const QByteArray texto = sql.toUtf8();
        if (sqlite3_prepare_v2(db, texto.constData(), int(texto.size()), &m_stmt, nullptr) !=
            SQLITE_OK) {
            const QString mensagem = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_finalize(m_stmt);
            throw DbError(mensagem + QLatin1Char('\n') + sql);
        }
        m_parametros = sqlite3_bind_parameter_count(m_stmt);
    }
    ~Comando() { sqlite3_finalize(m_stmt); }
    Comando(const Comando&) = delete;
    Comando& operator=(const Comando&) = delete;

    int parametros() const { return m_parametros; }
    // The position (from 0) of a parameter written with its colon.
    int operator[](const char* nome) const {
        const int i = sqlite3_bind_parameter_index(m_stmt, nome);
        if (i == 0)
            throw DbError(QStringLiteral("the query has no parameter %1\n%2")
                              .arg(QLatin1String(nome), m_sql));
        return i - 1;
    }

    void executar(const Valor* v, const char* textos) {
        for (int i = 0; i < m_parametros; ++i) {
            switch (v[i].tipo) {
            case Valor::Nulo:
                sqlite3_bind_null(m_stmt, i + 1);
                break;
            case Valor::Inteiro:
                sqlite3_bind_int64(m_stmt, i + 1, v[i].inteiro);
                break;
            case Valor::Real:
                sqlite3_bind_double(m_stmt, i + 1, v[i].real);
                break;
            case Valor::Texto:
                sqlite3_bind_text(m_stmt, i + 1, textos + v[i].pos, int(v[i].tam), SQLITE_STATIC);
                break;
            }
        }
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
            const QString mensagem = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_stmt)));
            sqlite3_reset(m_stmt);
            throw DbError(mensagem + QLatin1Char('\n') + m_sql);
        }
        sqlite3_reset(m_stmt);
    }

private:
    QString m_sql;
    sqlite3_stmt* m_stmt = nullptr;
    int m_parametros = 0;
};

// The worker's share of the write lock. SQLite's busy handler, which the sale screen's
// connection waits in, tries again 1, 3, 8, 18 ... ms after its first attempt. A write
// transaction of the worker stops taking rows after LIMITE (its commit adds a few tenths
// of a millisecond), and the next one begins INTERVALO after it ended: whenever the sale
// screen finds the lock taken, its retry at 1 or at 3 ms falls in a free interval, so a
// scan waits a few milliseconds at most.
class Ritmo {
public:
    static constexpr qint64 LIMITE = 2'400'000;    // ns
    static constexpr qint64 INTERVALO = 2'200'000; // ns

    void esperar() {
        if (!m_livre.isValid()) return;
        const qint64 falta = INTERVALO - m_livre.nsecsElapsed();
        if (falta > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(falta));
    }
    void liberado() { m_livre.start(); }

private:
    QElapsedTimer m_livre; // since the last commit
};

// The rows of a run of elements, with their values.
class Lote {
public:
    class Linha {
    public:
        void inteiro(int i, qint64 v) {
            Valor& x = m_lote.m_valores[m_base + size_t(i)];
            x.tipo = Valor::Inteiro;
            x.inteiro = v;
        }
        void real(int i, double v) {
            Valor& x = m_lote.m_valores[m_base + size_t(i)];
            x.tipo = Valor::Real;
            x.real = v;
        }
        void texto(int i, QStringView s) { m_lote.texto(m_base + size_t(i), s); }

    private:
        friend class Lote;
        Linha(Lote& lote, size_t base) : m_lote(lote), m_base(base) {}
        Lote& m_lote;
        size_t m_base;
    };

    // A statement of the current element; `ultimo` closes the element, and a transaction
    // ends only there (a customer's delete and insert go together).
    Linha linha(Comando& comando, bool ultimo = true) {
        const size_t base = m_valores.size();
        m_valores.resize(base + size_t(comando.parametros()));
        m_passos.push_back({&comando, base, ultimo});
        return Linha(*this, base);
    }

    // Runs the rows in short transactions. When one fails, those before it are committed
    // all the same, as each would have been on its own.
    void gravar(db::Connection& conexao, Ritmo& ritmo) {
        size_t i = 0;
        try {
            while (i < m_passos.size()) {
                ritmo.esperar();
                conexao.exec(QStringLiteral("BEGIN IMMEDIATE"));
                QElapsedTimer tempo;
                tempo.start();
                do {
                    const Passo& p = m_passos[i++];
                    p.comando->executar(m_valores.data() + p.base, m_textos.data());
                } while (i < m_passos.size() &&
                         (!m_passos[i - 1].ultimo || tempo.nsecsElapsed() < Ritmo::LIMITE));
                terminar(conexao, ritmo);
            }
        } catch (...) {
            if (!sqlite3_get_autocommit(conexao.handle())) terminar(conexao, ritmo);
            throw;
        }
    }

private:
    struct Passo {
        Comando* comando;
        size_t base;
        bool ultimo;
    };

    void texto(size_t i, QStringView s) {
        const size_t pos = m_textos.size();
        m_textos.resize(pos + size_t(m_utf8.requiredSpace(s.size())));
        const char* fim = m_utf8.appendToBuffer(m_textos.data() + pos, s);
        Valor& x = m_valores[i];
        x.tipo = Valor::Texto;
        x.pos = pos;
        x.tam = size_t(fim - (m_textos.data() + pos));
        m_textos.resize(pos + x.tam);
    }

    static void terminar(db::Connection& conexao, Ritmo& ritmo) {
        try {
            conexao.exec(QStringLiteral("COMMIT"));
        } catch (...) {
            try {
                conexao.exec(QStringLiteral("ROLLBACK"));
            } catch (...) {
            }
            ritmo.liberado();
            throw;
        }
        ritmo.liberado();
    }

    std::vector<Passo> m_passos;
    std::vector<Valor> m_valores;
    std::string m_textos;
    QStringEncoder m_utf8{QStringConverter::Utf8};
};

// A run of elements read ahead of the writing: their rows, their titles for the screen,
// and the failure that stopped the reading, if one did.
struct Pedaco {
    Lote lote;
    std::vector<QString> titulos;
    std::exception_ptr falha;
    int linha = 0; // the product step number where the reading stood
};

// Hands the runs from the reader to the writer, two at most in between.
class Fila {
public:
    // False when the writer has given up.
    bool por(std::unique_ptr<Pedaco> p) {
        std::unique_lock trava(m_mutex);
        m_mudou.wait(trava, [&] { return m_cancelada || m_pedacos.size() < 2; });
        if (m_cancelada) return false;
        m_pedacos.push_back(std::move(p));
        m_mudou.notify_all();
        return true;
    }
    // Null once the reader has finished and everything was taken.
    std::unique_ptr<Pedaco> tirar() {
        std::unique_lock trava(m_mutex);
        m_mudou.wait(trava, [&] { return !m_pedacos.empty() || m_acabou; });
        if (m_pedacos.empty()) return nullptr;
        std::unique_ptr<Pedaco> p = std::move(m_pedacos.front());
        m_pedacos.pop_front();
        m_mudou.notify_all();
        return p;
    }
    void acabou() {
        std::lock_guard trava(m_mutex);
        m_acabou = true;
        m_mudou.notify_all();
    }
    void cancelar() {
        std::lock_guard trava(m_mutex);
        m_cancelada = true;
        m_mudou.notify_all();
    }
    bool cancelada() {
        std::lock_guard trava(m_mutex);
        return m_cancelada;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_mudou;
    std::deque<std::unique_ptr<Pedaco>> m_pedacos;
    bool m_acabou = false;
    bool m_cancelada = false;
};

struct Contexto {
    const TSincronia_Resposta& resposta;
    db::Connection& conexao;
    ISincronia_Tela& tela;
    TSincronia_Passo& passo;
    Ritmo ritmo;
};

// The elements of a section: a reader thread parses and maps the next run while this
// thread shows the titles and writes the rows of the one before (the two take about
// as long, and a terminal has two cores). `elemento` runs on the reader: it fills the
// run, and neither touches the screen nor the database. On a failure the rows read
// before it are written first; the step number is that of the failure.
template <class F>
void percorrer(Contexto& x, const TSincronia_Resposta::Lista& lista, bool produtos, F&& elemento) {
    Fila fila;
    std::exception_ptr falhaDoLeitor; // one outside the elements (out of memory)
    std::thread leitor([&] {
        try {
            const int n = lista.tamanho();
            for (int de = 0; de < n && !fila.cancelada(); de += Sincronia_Lote) {
                auto p = std::make_unique<Pedaco>();
                try {
                    const int ate = std::min(n, de + Sincronia_Lote);
                    const JsonValor pedaco = lista.pedaco(de, ate);
                    for (int i = 0; i < ate - de; ++i)
                        elemento(pedaco[i], *p);
                } catch (...) {
                    p->falha = std::current_exception();
                }
                const bool parar = bool(p->falha);
                if (!fila.por(std::move(p)) || parar) break;
            }
        } catch (...) {
            falhaDoLeitor = std::current_exception();
        }
        fila.acabou();
    });
    try {
        while (const std::unique_ptr<Pedaco> p = fila.tirar()) {
            for (const QString& titulo : p->titulos)
                x.tela.Update_Progress(titulo);
            // The step number is the reader's, but for a failed insert (21).
            const bool passos = produtos && p->linha > 0;
            if (passos) x.passo.Linha = 21;
            p->lote.gravar(x.conexao, x.ritmo);
            if (passos) x.passo.Linha = p->linha;
            if (p->falha) std::rethrow_exception(p->falha);
        }
    } catch (...) {
        fila.cancelar();
        leitor.join();
        throw;
    }
    leitor.join();
    if (falhaDoLeitor) std::rethrow_exception(falhaDoLeitor);
}

// A table-wide delete, on the main query object, committed on its own.
void excluir(Contexto& x, const QString& sql) {
    x.passo.Ultimo_SQL = sql;
    x.ritmo.esperar();
    try {
        x.conexao.exec(sql);
    } catch (...) {
        x.ritmo.liberado();
        throw;
    }
    x.ritmo.liberado();
}

QString contagem(const char* prefixo, int n) {
    return QString::fromUtf8(prefixo) + QString::number(n) + QLatin1Char(']');
}

QString titulo(const char* prefixo, const QString& id) {
    return QString::fromUtf8(prefixo) + id + QLatin1Char(']');
}

void Secao_Produtos(Contexto& x) {
    const TSincronia_Resposta& r = x.resposta;
    db::Connection& c = x.conexao;
    ISincronia_Tela& tela = x.tela;
    TSincronia_Passo& passo = x.passo;
    tela.Update_Title(QStringLiteral("Produtos"), QStringLiteral("Iniciando Produtos"));
    const auto lista = r.lista(QStringLiteral("produtos"));
    Comando inativo(c, SQL::Produtos_Inativo);
    const int INATIVO = inativo[":id"];
    passo.Ultimo_SQL = SQL::Produtos;
    Comando ins(c, SQL::Produtos);
    const int ID = ins[":id"], ATIVO = ins[":ativo"], DT_CADASTRO = ins[":dt_cadastro"],
              GRUPO_ID = ins[":grupo_id"], GRUPO = ins[":grupo"], PRODUTO = ins[":produto"],
              TAMANHO = ins[":tamanho"], MARCA = ins[":marca"], CBARRA = ins[":cbarra"],
              CUSTO = ins[":custo"], LUCRO = ins[":lucro"], VENDA = ins[":venda"],
              DESCONTO = ins[":desconto"], PROMOCAO = ins[":promocao"],
              PROMOCAO_MIN = ins[":promocao_min"], DT_PROMOCAO = ins[":dt_promocao"],
              MEDIDA = ins[":medida"], ESTOQUE = ins[":estoque"];
    tela.Update_Title(QStringLiteral("Inserindo Produtos..."),
                      contagem("Produtos            [", lista.tamanho()));

    percorrer(x, lista, true, [&](const JsonValor& e, Pedaco& p) {
        int& L = p.linha;
        L = 1;
        const QString rotulo = titulo("Inserindo Produtos...[",
                                      QString::number(qint64(e.numero(QStringLiteral("id"), 0))));
        L = 2;
        p.titulos.push_back(rotulo);
        L = 3;
        L = 4;
        const qint32 id = e.inteiro(QStringLiteral("id"), 0);
        L = 5;
        const qint32 ativo = e.inteiro(QStringLiteral("ativo"), 1);
        L = 6;
        const QString dt_cadastro = Sincronia_DataHora(e.texto(QStringLiteral("dt_cadastro")));
        L = 7;
        const qint32 grupo_id = e.inteiro(QStringLiteral("grupo_id"), 0);
        const QString grupo = e.texto(QStringLiteral("grupo")).left(100);
        L = 8;
        const QString produto = e.texto(QStringLiteral("produto")).left(100);
        L = 9;
        const QString tamanho = e.texto(QStringLiteral("tamanho"), QStringLiteral("Padrao"));
        L = 10;
        const QString marca = e.texto(QStringLiteral("marca"), QStringLiteral("Nenhuma"));
        L = 11;
        const QString cbarra = e.texto(QStringLiteral("cbarra"), QString());
        L = 12;
        const double custo = e.numero(QStringLiteral("custo"), 0);
        L = 13;
        const double lucro = e.numero(QStringLiteral("lucro"), 0);
        L = 14;
        const double venda = e.numero(QStringLiteral("venda"), 0);
        L = 15;
        const double desconto = e.numero(QStringLiteral("desconto"), 0);
        L = 16;
        const double promocao = e.numero(QStringLiteral("promocao"), 0);
        L = 17;
        const double promocao_min = e.numero(QStringLiteral("promocao_min"), 0);
        L = 18;
        // The key must be there; null or an empty text means "no promotion date".
        const QString promocaoTexto = e.texto(QStringLiteral("dt_promocao"));
        const QString dt_promocao =
            promocaoTexto.isEmpty() ? DATA_PADRAO : Sincronia_DataHora(promocaoTexto);
        L = 19;
        // Only a unit that came from the account is cut to 5 characters: cutting the
        // default would store "Padra".
        const QString medida =
            e.contem(QStringLiteral("medida")) && !e.campo(QStringLiteral("medida")).isNull()
                ? e.texto(QStringLiteral("medida")).left(5)
                : QStringLiteral("Padrao");
        L = 20;
        const double estoque = e.numero(QStringLiteral("estoque"), 0);
        L = 21;
        // A row the closing delete would remove goes now: inserted, it would cost a page
        // of the log and the delete another, all in one long transaction at the end.
        if (ativo <= 0) {
            p.lote.linha(inativo).inteiro(INATIVO, id);
            L = 22;
            return;
        }
        Lote::Linha l = p.lote.linha(ins);
        l.inteiro(ID, id);
        l.inteiro(ATIVO, ativo);
        l.texto(DT_CADASTRO, dt_cadastro);
        l.inteiro(GRUPO_ID, grupo_id);
        l.texto(GRUPO, grupo);
        l.texto(PRODUTO, produto);
        l.texto(TAMANHO, tamanho);
        l.texto(MARCA, marca);
        l.texto(CBARRA, cbarra);
        l.real(CUSTO, custo);
        l.real(LUCRO, lucro);
        l.real(VENDA, venda);
        l.real(DESCONTO, desconto);
        l.real(PROMOCAO, promocao);
        l.real(PROMOCAO_MIN, promocao_min);
        l.texto(DT_PROMOCAO, dt_promocao);
        l.texto(MEDIDA, medida);
        l.real(ESTOQUE, estoque);
        L = 22;
    });
    excluir(x, SQL::Produtos_Excluir);
}

void Secao_Clientes(Contexto& x) {
    const TSincronia_Resposta& r = x.resposta;
    db::Connection& c = x.conexao;
    ISincronia_Tela& tela = x.tela;
    TSincronia_Passo& passo = x.passo;
    tela.Update_Title(QStringLiteral("Clientes"), QStringLiteral("Iniciando Clientes"));
    const auto lista = r.lista(QStringLiteral("clientes"));
    Comando apagar(c, SQL::Clientes_Documento);
    const int DOCUMENTO = apagar[":cpf_cnpj"];
    Comando inativo(c, SQL::Clientes_Inativo);
    const int INATIVO = inativo[":id"];
    passo.Ultimo_SQL = SQL::Clientes;
    Comando ins(c, SQL::Clientes);
    const int ID = ins[":id"], COD = ins[":cod"], ATIVO = ins[":ativo"], TIPO = ins[":tipo"],
              NOME = ins[":nome"], APELIDO = ins[":apelido"], CPF_CNPJ = ins[":cpf_cnpj"],
              ENDERECO = ins[":endereco"], ENDERECO_OBS = ins[":endereco_obs"],
              GPS_LATITUDE = ins[":gps_latitude"], GPS_LONGITUDE = ins[":gps_longitude"],
              NUMERO = ins[":numero"], BAIRRO = ins[":bairro"], CIDADE = ins[":cidade"],
              ESTADO = ins[":estado"], FONE = ins[":fone"], CELULAR = ins[":celular"],
              GRUPO = ins[":grupo"], GRUPO_ID = ins[":grupo_id"], CEP = ins[":cep"],
              DT_ULTATEND = ins[":dt_ultatend"], ULTATEND = ins[":ultatend"],
              ATEND_TIPO = ins[":atend_tipo"], CRED_LIMITE = ins[":cred_limite"],
              CRED_RESTANTE = ins[":cred_restante"], CREDITO = ins[":credito"];
    tela.Update_Title(QStringLiteral("Inserindo Clientes..."),
                      contagem("Clientes            [", lista.tamanho()));

    percorrer(x, lista, false, [&](const JsonValor& e, Pedaco& p) {
        p.titulos.push_back(
            titulo("Inserindo Clientes...[", e.texto(QStringLiteral("id"), QStringLiteral("0"))));
        const QString documento = SoNumeros(e.texto(QStringLiteral("cpf_cnpj")));
        const qint32 id = e.inteiro(QStringLiteral("id"), 0);
        const qint32 ativo = e.inteiro(QStringLiteral("ativo"), 0);
        const QString cod = e.texto(QStringLiteral("cod")).trimmed();
        const QString tipo = e.texto(QStringLiteral("tipo")).trimmed().toUpper();
        const QString nome = e.texto(QStringLiteral("nome"));
        const QString apelido = e.texto(QStringLiteral("apelido"));
        const QString endereco = e.texto(QStringLiteral("endereco"));
        const QString endereco_obs = e.texto(QStringLiteral("endereco_obs")).left(250);
        const QString numero = e.texto(QStringLiteral("numero")).left(10);
        const QString bairro = e.texto(QStringLiteral("bairro")).left(40);
        const QString cidade = e.texto(QStringLiteral("cidade")).left(45).trimmed();
        const QString estado = e.texto(QStringLiteral("estado")).left(2).toUpper();
        const QString fone = e.texto(QStringLiteral("fone")).left(18);
        const QString grupo = e.texto(QStringLiteral("grupo")).left(39).trimmed();
        const qint32 grupo_id = StringToInteger(e.texto(QStringLiteral("grupo_id")));
        const QString cep = e.texto(QStringLiteral("cep")).left(10);
        const QString dt_ultatend = Sincronia_DataHora(e.texto(QStringLiteral("dt_ultatend")));
        const qint32 ultatend = e.inteiro(QStringLiteral("ultatend"), 0);
        const qint32 atend_tipo = e.inteiro(QStringLiteral("atend_tipo"), 7);
        const double gps_latitude = e.numero(QStringLiteral("gps_latitude"), 0);
        const double gps_longitude = e.numero(QStringLiteral("gps_longitude"), 0);
        const QString credito = e.texto(QStringLiteral("credito")).left(45).trimmed();
        const double cred_limite = e.numero(QStringLiteral("cred_limite"), 0);
        const double cred_restante = e.numero(QStringLiteral("cred_restante"), 0);

        // An element without a document would remove every local customer whose document
        // is empty, those registered here and not yet sent among them.
        if (!documento.isEmpty()) p.lote.linha(apagar, false).texto(DOCUMENTO, documento);
        if (ativo <= 0) { // as for the products
            p.lote.linha(inativo).inteiro(INATIVO, id);
            return;
        }
        Lote::Linha l = p.lote.linha(ins);
        l.inteiro(ID, id);
        l.texto(COD, cod);
        l.inteiro(ATIVO, ativo);
        l.texto(TIPO, tipo);
        l.texto(NOME, nome);
        l.texto(APELIDO, apelido);
        l.texto(CPF_CNPJ, documento);
        l.texto(ENDERECO, endereco);
        l.texto(ENDERECO_OBS, endereco_obs);
        l.real(GPS_LATITUDE, gps_latitude);
        l.real(GPS_LONGITUDE, gps_longitude);
        l.texto(NUMERO, numero);
        l.texto(BAIRRO, bairro);
        l.texto(CIDADE, cidade);
        l.texto(ESTADO, estado);
        l.texto(FONE, fone);
        l.texto(CELULAR, fone);
        l.texto(GRUPO, grupo);
        l.inteiro(GRUPO_ID, grupo_id);
        l.texto(CEP, cep);
        l.texto(DT_ULTATEND, dt_ultatend);
        l.inteiro(ULTATEND, ultatend);
        l.inteiro(ATEND_TIPO, atend_tipo);
        l.real(CRED_LIMITE, cred_limite);
        l.real(CRED_RESTANTE, cred_restante);
        l.texto(CREDITO, credito);
    });
    excluir(x, SQL::Clientes_Excluir);
}

void Secao_Vendedores(Contexto& x) {
    const TSincronia_Resposta& r = x.resposta;
    db::Connection& c = x.conexao;
    ISincronia_Tela& tela = x.tela;
    TSincronia_Passo& passo = x.passo;
    tela.Update_Title(QStringLiteral("Vendedores"), QStringLiteral("Iniciando Vendedores"));
    tela.Update_Title(QStringLiteral("Excluindo Vendedores..."),
                      QStringLiteral("Excluindo Vendedores..."));
    excluir(x, SQL::Vendedores_Excluir);
    const auto lista = r.lista(QStringLiteral("funcionarios"));
    passo.Ultimo_SQL = SQL::Vendedores;
    Comando ins(c, SQL::Vendedores);
    const int ID = ins[":id"], NOME = ins[":nome"], ATIVO = ins[":ativo"];
    tela.Update_Title(QStringLiteral("Inserindo Vendedores..."),
                      contagem("Vendedor  [", lista.tamanho()));

    percorrer(x, lista, false, [&](const JsonValor& e, Pedaco& p) {
        p.titulos.push_back(
            titulo("Inserindo Vendedor...[", e.texto(QStringLiteral("id"), QStringLiteral("0"))));
        const qint32 id = e.inteiro(QStringLiteral("id"), 0);
        const QString nome = e.texto(QStringLiteral("nome")).toUpper();
        Lote::Linha l = p.lote.linha(ins);
        l.inteiro(ID, id);
        l.texto(NOME, nome);
        l.inteiro(ATIVO, 1);
    });
}

void Secao_Cidades(Contexto& x) {
    const TSincronia_Resposta& r = x.resposta;
    db::Connection& c = x.conexao;
    ISincronia_Tela& tela = x.tela;
    TSincronia_Passo& passo = x.passo;
    tela.Update_Title(QStringLiteral("Clientes - Cidades "), QStringLiteral("Iniciando Cidades"));
    const auto lista = r.lista(QStringLiteral("cidades"));
    passo.Ultimo_SQL = SQL::Cidades;
    Comando ins(c, SQL::Cidades);
    const int ID = ins[":id"], UF = ins[":uf"], CIDADE = ins[":cidade"];
    tela.Update_Title(QStringLiteral("Inserindo Cidades..."),
                      contagem("Cidade  [", lista.tamanho()));

    percorrer(x, lista, false, [&](const JsonValor& e, Pedaco& p) {
        p.titulos.push_back(
            titulo("Inserindo Cidades...[", e.texto(QStringLiteral("id"), QStringLiteral("0"))));
        const qint32 id = e.inteiro(QStringLiteral("id"), 0);
        const QString uf = e.texto(QStringLiteral("uf")).trimmed();
        const QString cidade = e.texto(QStringLiteral("cidade")).toUpper();
        Lote::Linha l = p.lote.linha(ins);
        l.inteiro(ID, id);
        l.texto(UF, uf);
        l.texto(CIDADE, cidade);
    });
}

void Secao_Rotas(Contexto& x) {
    const TSincronia_Resposta& r = x.resposta;
    db::Connection& c = x.conexao;
    ISincronia_Tela& tela = x.tela;
    TSincronia_Passo& passo = x.passo;
    tela.Update_Title(QStringLiteral("Grupos de Clientes"), QStringLiteral("Iniciando Rotas"));
    const auto lista = r.lista(QStringLiteral("rotas"));
    excluir(x, SQL::Rotas_Excluir);
    passo.Ultimo_SQL = SQL::Rotas;
    Comando ins(c, SQL::Rotas);
    const int ID = ins[":id"], ROTA = ins[":rota"];
    tela.Update_Title(QStringLiteral("Inserindo Rotas..."),
                      contagem("Grupos / Rotas    [", lista.tamanho()));

    percorrer(x, lista, false, [&](const JsonValor& e, Pedaco& p) {
        p.titulos.push_back(
            titulo("Inserindo Rotas...[", e.texto(QStringLiteral("id"), QStringLiteral("0"))));
        const qint32 id = e.inteiro(QStringLiteral("id"), 0);
        const QString rota = e.texto(QStringLiteral("rota")).trimmed();
        Lote::Linha l = p.lote.linha(ins);
        l.inteiro(ID, id);
        l.texto(ROTA, rota);
    });
}

void Secao_Planos(Contexto& x) {
    const TSincronia_Resposta& r = x.resposta;
    db::Connection& c = x.conexao;
    ISincronia_Tela& tela = x.tela;
    TSincronia_Passo& passo = x.passo;
    tela.Update_Title(QStringLiteral("Planos de Pagamento"),
                      QStringLiteral("Iniciando Planos de Pagamento"));
    tela.Update_Title(QStringLiteral("Excluindo Planos de Pagamento..."),
                      QStringLiteral("Excluindo Planos de Pagamento..."));
    excluir(x, SQL::Planos_Excluir);
    const auto lista = r.lista(QStringLiteral("pagamentos"));
    passo.Ultimo_SQL = SQL::Planos;
    Comando ins(c, SQL::Planos);
    const int ID = ins[":id"], ATIVO = ins[":ativo"], PLANO = ins[":plano"], TIPO = ins[":tipo"],
              ENTRADA = ins[":entrada"], CARENCIA = ins[":carencia"],
              ALT_CARENCIA = ins[":alt_carencia"], PARCELAS = ins[":parcelas"],
              PERIODICIDADE = ins[":periodicidade"], ACRECIMO = ins[":acrecimo"];
    tela.Update_Title(QStringLiteral("Planos de Pagamento..."),
                      contagem("Planos de Pagamento   [", lista.tamanho()));

    percorrer(x, lista, false, [&](const JsonValor& e, Pedaco& p) {
        p.titulos.push_back(
            titulo("Planos de Pagamento...[", e.texto(QStringLiteral("id"), QStringLiteral("0"))));
        const qint32 id = e.inteiro(QStringLiteral("id"), 0);
        const QString plano = e.texto(QStringLiteral("plano")).trimmed();
        const QString tipo = e.texto(QStringLiteral("tipo")).trimmed();
        const qint32 carencia =
            StringToInteger(e.texto(QStringLiteral("carencia"), QStringLiteral("0")));
        const qint32 alt_carencia =
            StringToInteger(e.texto(QStringLiteral("alt_carencia"), QStringLiteral("0")));
        const qint32 parcelas =
            StringToInteger(e.texto(QStringLiteral("parcelas"), QStringLiteral("0")));
        const int periodicidade = Sincronia_Periodicidade(e.texto(QStringLiteral("periodicidade")));
        // The cloud account writes a decimal point; the reading wants the comma.
        const double acrecimo = StringToFloat(BuscaTroca(e.texto(QStringLiteral("acrecimo")),
                                                         QStringLiteral("."), QStringLiteral(",")));
        Lote::Linha l = p.lote.linha(ins);
        l.inteiro(ID, id);
        l.inteiro(ATIVO, 1);
        l.texto(PLANO, plano);
        l.texto(TIPO, tipo);
        l.real(ENTRADA, 0);
        l.inteiro(CARENCIA, carencia);
        l.inteiro(ALT_CARENCIA, alt_carencia);
        l.inteiro(PARCELAS, parcelas);
        l.inteiro(PERIODICIDADE, periodicidade);
        l.real(ACRECIMO, acrecimo);
    });
}

void Secao_Cartoes(Contexto& x) {
    const TSincronia_Resposta& r = x.resposta;
    db::Connection& c = x.conexao;
    ISincronia_Tela& tela = x.tela;
    TSincronia_Passo& passo = x.passo;
    tela.Update_Title(QStringLiteral("Operadoras de Cartão"),
                      QStringLiteral("Iniciando Operadoras de Cartão"));
    const auto lista = r.lista(QStringLiteral("cartoes"));
    excluir(x, SQL::Cartoes_Excluir);
    passo.Ultimo_SQL = SQL::Cartoes;
    Comando ins(c, SQL::Cartoes);
    const int ID = ins[":id"], ATIVO = ins[":ativo"], OPERADORA = ins[":operadora"],
              CREDITO = ins[":credito"], DEBITO = ins[":debito"];
    tela.Update_Title(QStringLiteral("Cartões de Credito..."),
                      contagem("Cartões de Credito   [", lista.tamanho()));

    percorrer(x, lista, false, [&](const JsonValor& e, Pedaco& p) {
        p.titulos.push_back(
            titulo("Cartões de Credito...[", e.texto(QStringLiteral("id"), QStringLiteral("0"))));
        const qint32 id = e.inteiro(QStringLiteral("id"), 0);
        const QString operadora = e.texto(QStringLiteral("operadora")).trimmed();
        // The cloud account spells the credit flag "gredito".
        const qint32 credito = e.inteiro(QStringLiteral("gredito"), 0);
        const qint32 debito = e.inteiro(QStringLiteral("debito"), 0);
        Lote::Linha l = p.lote.linha(ins);
        l.inteiro(ID, id);
        l.inteiro(ATIVO, 1);
        l.texto(OPERADORA, operadora);
        l.inteiro(CREDITO, credito);
        l.inteiro(DEBITO, debito);
    });
}

void Secao_Mensagens(Contexto& x) {
    const TSincronia_Resposta& r = x.resposta;
    db::Connection& c = x.conexao;
    ISincronia_Tela& tela = x.tela;
    TSincronia_Passo& passo = x.passo;
    tela.Update_Title(QStringLiteral("Mensagens"), QStringLiteral("Iniciando Mensagens"));
    const auto lista = r.lista(QStringLiteral("mensagens"));
    excluir(x, SQL::Mensagens_Excluir);
    passo.Ultimo_SQL = SQL::Mensagens;
    Comando ins(c, SQL::Mensagens);
    const int ID = ins[":id"], TIPO = ins[":tipo"], DT_UPDATE = ins[":dt_update"],
              MSG = ins[":msg"], USER_ID = ins[":user_id"], USER_NAME = ins[":user_name"],
              DESTINATARIO = ins[":destinatario"], DESTINATARIO_ID = ins[":destinatario_id"];
    tela.Update_Title(QStringLiteral("Inserindo Mensagens..."),
                      contagem("Mensagem    [", lista.tamanho()));

    percorrer(x, lista, false, [&](const JsonValor& e, Pedaco& p) {
        p.titulos.push_back(
            titulo("Inserindo Mensagens...[", e.texto(QStringLiteral("id"), QStringLiteral("0"))));
        const qint32 id = e.inteiro(QStringLiteral("id"), 0);
        const QString tipo = e.texto(QStringLiteral("tipo"));
        const QString dt_update = Sincronia_DataHora(e.texto(QStringLiteral("dt_update")));
        const QString msg = e.texto(QStringLiteral("msg"));
        const qint32 user_id = e.inteiro(QStringLiteral("user_id"), 0);
        const QString user_name = e.texto(QStringLiteral("user_name"));
        // The cloud account spells the recipient's key "detinatario_id".
        const qint32 destinatario_id = e.inteiro(QStringLiteral("detinatario_id"), 0);
        Lote::Linha l = p.lote.linha(ins);
        l.inteiro(ID, id);
        l.texto(TIPO, tipo);
        l.texto(DT_UPDATE, dt_update);
        l.texto(MSG, msg);
        l.inteiro(USER_ID, user_id);
        l.texto(USER_NAME, user_name);
        l.texto(DESTINATARIO, u"TODOS");
        l.inteiro(DESTINATARIO_ID, destinatario_id);
    });
}

inline bool digitos(const QChar* s, int de, int ate) {
    for (int i = de; i < ate; ++i)
        if (s[i] < u'0' || s[i] > u'9') return false;
    return true;
}

inline int numero(const QChar* s, int de, int ate) {
    int n = 0;
    for (int i = de; i < ate; ++i)
        n = n * 10 + (s[i].unicode() - u'0');
    return n;
}

} // namespace

int Sincronia_Periodicidade(const QString& texto) {
    if (texto.compare(u"Quinzenal", Qt::CaseInsensitive) == 0) return 15;
    if (texto.compare(u"Semanal", Qt::CaseInsensitive) == 0) return 7;
    // "mensal", and a period we do not know: monthly is the usual plan and the safest
    // guess for the due dates.
    return 30;
}

QString Sincronia_DataHora(const QString& texto) {
    // The reply's dates come in the storage form already; checking it by hand spares the
    // general reading, which costs microseconds a value on a catalogue of 100,000 rows.
    if (texto.size() == 19) {
        const QChar* s = texto.constData();
        if (digitos(s, 0, 4) && s[4] == u'-' && digitos(s, 5, 7) && s[7] == u'-' &&
            digitos(s, 8, 10) && s[10] == u' ' && digitos(s, 11, 13) && s[13] == u':' &&
            digitos(s, 14, 16) && s[16] == u':' && digitos(s, 17, 19) &&
            QDate::isValid(numero(s, 0, 4), numero(s, 5, 7), numero(s, 8, 10)) &&
            QTime::isValid(numero(s, 11, 13), numero(s, 14, 16), numero(s, 17, 19)))
            return texto;
    }
    return db::dateTimeToText(DateMySQLToDateTime(texto));
}

void Sincronia_Secoes(const TSincronia_Resposta& resposta, db::Connection& conexao,
                      ISincronia_Tela& tela, TSincronia_Passo& passo) {
    // A checkpoint every few batches, so that the log stays below the size at which the
    // sale screen's own commit would stop to copy it into the database.
    conexao.exec(QStringLiteral("PRAGMA wal_autocheckpoint=400"));
    Contexto x{resposta, conexao, tela, passo, {}};
    Secao_Produtos(x);
    Secao_Clientes(x);
    Secao_Vendedores(x);
    Secao_Cidades(x);
    Secao_Rotas(x);
    Secao_Planos(x);
    Secao_Cartoes(x);
    Secao_Mensagens(x);
}
