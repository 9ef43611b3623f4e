#include "JsonLeitor.h"

#include <QLocale>

#include <simdjson.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

using simdjson::dom::element;
using simdjson::dom::element_type;

namespace {

static_assert(std::is_trivially_copyable_v<element>);
static_assert(sizeof(element) == 2 * sizeof(void*));

// The identity of an element in its document (its bytes), for the arrays' index.
struct ChaveElemento {
    quintptr a = 0;
    quintptr b = 0;
    bool operator==(const ChaveElemento&) const = default;
};
struct HashElemento {
    size_t operator()(const ChaveElemento& k) const noexcept {
        return std::hash<quintptr>()(k.a) ^ (std::hash<quintptr>()(k.b) * 0x9E3779B97F4A7C15ull);
    }
};

ChaveElemento chaveDe(const element& e) {
    ChaveElemento k;
    std::memcpy(static_cast<void*>(&k), static_cast<const void*>(&e), sizeof k);
    return k;
}

// A key as UTF-8 bytes without a heap allocation for the usual short ASCII names: the
// catalogue reads hundreds of thousands of values by key.
class ChaveUtf8 {
public:
    explicit ChaveUtf8(const QString& chave) {
        const qsizetype n = chave.size();
        if (n <= qsizetype(sizeof m_curta)) {
            const ushort* p = chave.utf16();
            qsizetype i = 0;
            for (; i < n && p[i] < 0x80; ++i)
                m_curta[i] = char(p[i]);
            if (i == n) {
                m_view = std::string_view(m_curta, size_t(n));
                return;
            }
        }
        m_longa = chave.toUtf8();
        m_view = std::string_view(m_longa.constData(), size_t(m_longa.size()));
    }
    std::string_view view() const { return m_view; }

private:
    char m_curta[64];
    QByteArray m_longa;
    std::string_view m_view;
};

std::string_view aparado(std::string_view s) {
    auto espaco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && espaco(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && espaco(s.back()))
        s.remove_suffix(1);
    return s;
}

// A number written as text, with "." for the decimals; surrounding blanks are forgiven.
bool textoParaDouble(std::string_view s, double& saida) {
    s = aparado(s);
    if (s.empty()) return false;
    if (s.front() == '+') s.remove_prefix(1);
    const auto r = std::from_chars(s.data(), s.data() + s.size(), saida);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(saida);
}

QString numeroComoTexto(const element& e) {
    switch (e.type()) {
    case element_type::INT64:
        return QString::number(qint64(int64_t(e)));
    case element_type::UINT64:
        return QString::number(quint64(uint64_t(e)));
    default:
        return QString::number(double(e), 'g', QLocale::FloatingPointShortest);
    }
}

QString valorComoTexto(const element& e) {
    switch (e.type()) {
    case element_type::STRING: {
        const std::string_view s(e);
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    case element_type::NULL_VALUE:
        return QString();
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE:
        return numeroComoTexto(e);
    case element_type::BOOL:
        return bool(e) ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return QString::fromStdString(simdjson::minify(e));
    }
}

QString aspas(const QString& chave) {
    return QLatin1Char('\'') + chave + QLatin1Char('\'');
}

} // namespace

struct JsonValor::Ref {
    simdjson::dom::parser parser;
    QByteArray json; // UTF-8 with the parser's padding after it
    element raiz;
    QString texto;

    // Walking an array by index is linear in the parser; long arrays get an index of
    // their elements on first use, so the catalogue's loops stay linear.
    mutable std::mutex mutex;
    mutable std::unordered_map<ChaveElemento, std::vector<element>, HashElemento> indices;

    [[noreturn]] void falhar(const QString& mensagem) const { throw WebAPIError(mensagem, texto); }
};

struct JsonDocumento::Impl {
    std::shared_ptr<JsonValor::Ref> ref;
};

namespace {

template <class Ref> std::shared_ptr<Ref> analisar(QByteArray utf8, const QString& texto) {
    auto ref = std::make_shared<Ref>();
    ref->texto = texto;
    const size_t tamanho = size_t(utf8.size());
    if (aparado(std::string_view(utf8.constData(), tamanho)).empty())
        throw WebAPIError(QStringLiteral("Resposta inválida: texto vazio"), texto);
    // Padding our own copy spares the parser another one of a catalogue's tens of MB.
    utf8.append(qsizetype(simdjson::SIMDJSON_PADDING), '\0');
    ref->json = std::move(utf8);
    if (const auto erro = ref->parser.parse(ref->json.constData(), tamanho, false).get(ref->raiz))
        throw WebAPIError(QStringLiteral("Resposta inválida: ") +
                              QString::fromUtf8(simdjson::error_message(erro)),
                          texto);
    return ref;
}

} // namespace

JsonDocumento::JsonDocumento(const QString& texto) : m(std::make_unique<Impl>()), m_texto(texto) {
    m->ref = analisar<JsonValor::Ref>(texto.toUtf8(), m_texto);
}

JsonDocumento::JsonDocumento(const QByteArray& utf8)
    : m(std::make_unique<Impl>()), m_texto(QString::fromUtf8(utf8)) {
    m->ref = analisar<JsonValor::Ref>(utf8, m_texto);
}

JsonDocumento::~JsonDocumento() = default;

namespace {

element carregar(const unsigned char* bytes) {
    element e;
    std::memcpy(static_cast<void*>(&e), bytes, sizeof e);
    return e;
}

void guardar(unsigned char* bytes, const element& e) {
    std::memcpy(bytes, static_cast<const void*>(&e), sizeof e);
}

} // namespace

JsonValor JsonDocumento::raiz() const {
    JsonValor v;
    v.m = m->ref;
    guardar(v.m_el, m->ref->raiz);
    return v;
}

// A value not taken from a document (default-constructed) behaves as an empty one: no
// keys, no elements.

bool JsonValor::isObjeto() const {
    return m && carregar(m_el).is_object();
}

bool JsonValor::isArray() const {
    return m && carregar(m_el).is_array();
}

bool JsonValor::isNull() const {
    return m && carregar(m_el).is_null();
}

namespace {

// The value under a key: false when the key is missing (or this is not an object).
bool buscar(const element& e, const QString& chave, element& saida) {
    simdjson::dom::object objeto;
    if (e.get_object().get(objeto)) return false;
    return !objeto.at_key(ChaveUtf8(chave).view()).get(saida);
}

} // namespace

bool JsonValor::contem(const QString& chave) const {
    element v;
    return m && buscar(carregar(m_el), chave, v);
}

JsonValor JsonValor::campo(const QString& chave) const {
    if (!m) throw WebAPIError(QStringLiteral("chave ") + aspas(chave) + QStringLiteral(" ausente"));
    element v;
    if (!buscar(carregar(m_el), chave, v))
        m->falhar(QStringLiteral("chave ") + aspas(chave) + QStringLiteral(" ausente"));
    JsonValor r;
    r.m = m;
    guardar(r.m_el, v);
    return r;
}

JsonValor JsonValor::array(const QString& chave) const {
    JsonValor r = campo(chave);
    if (!r.isArray())
        m->falhar(QStringLiteral("chave ") + aspas(chave) + QStringLiteral(" não é uma lista"));
    return r;
}

int JsonValor::tamanho() const {
    if (!m) return 0;
    simdjson::dom::array a;
    if (carregar(m_el).get_array().get(a)) m->falhar(QStringLiteral("o valor não é uma lista"));
    return int(a.size());
}

JsonValor JsonValor::operator[](int i) const {
    if (!m) throw WebAPIError(QStringLiteral("índice %1 fora da lista").arg(i));
    const element e = carregar(m_el);
    simdjson::dom::array a;
    if (e.get_array().get(a)) m->falhar(QStringLiteral("o valor não é uma lista"));
    const size_t n = a.size();
    if (i < 0 || size_t(i) >= n)
        m->falhar(QStringLiteral("índice %1 fora da lista de %2 elementos").arg(i).arg(n));

    element v;
    if (i < 32) {
        v = a.at(size_t(i)).value_unsafe();
    } else {
        std::lock_guard trava(m->mutex);
        auto& indice = m->indices[chaveDe(e)];
        if (indice.empty()) {
            indice.reserve(n);
            for (const element x : a)
                indice.push_back(x);
        }
        v = indice[size_t(i)];
    }
    JsonValor r;
    r.m = m;
    guardar(r.m_el, v);
    return r;
}

namespace {

enum class Leitura { Ok, Ausente, Nulo, Invalido, Fracao, ForaDaFaixa };

// A number as a JSON number, a text holding one, or a boolean (true 1, false 0).
Leitura lerNumero(const element& e, double& saida) {
    switch (e.type()) {
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE:
        saida = double(e);
        return Leitura::Ok;
    case element_type::BOOL:
        saida = bool(e) ? 1 : 0;
        return Leitura::Ok;
    case element_type::NULL_VALUE:
        return Leitura::Nulo;
    case element_type::STRING:
        return textoParaDouble(std::string_view(e), saida) ? Leitura::Ok : Leitura::Invalido;
    default:
        return Leitura::Invalido;
    }
}

Leitura deDouble(double d, qint32& saida) {
    // An integer key with decimals is a fault of the reply, not something to round away.
    if (std::trunc(d) != d) return Leitura::Fracao;
    if (d < double(std::numeric_limits<qint32>::min()) ||
        d > double(std::numeric_limits<qint32>::max()))
        return Leitura::ForaDaFaixa;
    saida = qint32(d);
    return Leitura::Ok;
}

Leitura deInt64(qint64 v, qint32& saida) {
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return Leitura::ForaDaFaixa;
    saida = qint32(v);
    return Leitura::Ok;
}

Leitura lerInteiro(const element& e, qint32& saida) {
    switch (e.type()) {
    case element_type::INT64:
        return deInt64(int64_t(e), saida);
    case element_type::UINT64:
        return Leitura::ForaDaFaixa;
    case element_type::DOUBLE:
        return deDouble(double(e), saida);
    case element_type::BOOL:
        saida = bool(e) ? 1 : 0;
        return Leitura::Ok;
    case element_type::NULL_VALUE:
        return Leitura::Nulo;
    case element_type::STRING: {
        std::string_view s = aparado(std::string_view(e));
        if (!s.empty() && s.front() == '+') s.remove_prefix(1);
        qint64 v = 0;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        if (!s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size())
            return deInt64(v, saida);
        double d = 0;
        if (textoParaDouble(s, d)) return deDouble(d, saida);
        return Leitura::Invalido;
    }
    default:
        return Leitura::Invalido;
    }
}

QString mensagem(Leitura l, const QString& chave) {
    const QString c = QStringLiteral("chave ") + aspas(chave);
    switch (l) {
    case Leitura::Ausente:
        return c + QStringLiteral(" ausente");
    case Leitura::Nulo:
        return c + QStringLiteral(" nula");
    case Leitura::Fracao:
        return c + QStringLiteral(" não é um número inteiro");
    case Leitura::ForaDaFaixa:
        return c + QStringLiteral(" fora da faixa de um inteiro");
    default:
        return c + QStringLiteral(" não é um número");
    }
}

} // namespace

QString JsonValor::texto(const QString& chave) const {
    if (!m) throw WebAPIError(mensagem(Leitura::Ausente, chave));
    element v;
    if (!buscar(carregar(m_el), chave, v)) m->falhar(mensagem(Leitura::Ausente, chave));
    return valorComoTexto(v);
}

QString JsonValor::texto(const QString& chave, const QString& padrao) const {
    element v;
    if (!m || !buscar(carregar(m_el), chave, v) || v.is_null()) return padrao;
    return valorComoTexto(v);
}

double JsonValor::numero(const QString& chave) const {
    if (!m) throw WebAPIError(mensagem(Leitura::Ausente, chave));
    element v;
    if (!buscar(carregar(m_el), chave, v)) m->falhar(mensagem(Leitura::Ausente, chave));
    double d = 0;
    const Leitura l = lerNumero(v, d);
    if (l != Leitura::Ok) m->falhar(mensagem(l, chave));
    return d;
}

double JsonValor::numero(const QString& chave, double padrao) const {
    element v;
    if (!m || !buscar(carregar(m_el), chave, v) || v.is_null()) return padrao;
    double d = 0;
    const Leitura l = lerNumero(v, d);
    if (l != Leitura::Ok) m->falhar(mensagem(l, chave));
    return d;
}

qint32 JsonValor::inteiro(const QString& chave) const {
    if (!m) throw WebAPIError(mensagem(Leitura::Ausente, chave));
    element v;
    if (!buscar(carregar(m_el), chave, v)) m->falhar(mensagem(Leitura::Ausente, chave));
    qint32 i = 0;
    const Leitura l = lerInteiro(v, i);
    if (l != Leitura::Ok) m->falhar(mensagem(l, chave));
    return i;
}

qint32 JsonValor::inteiro(const QString& chave, qint32 padrao) const {
    element v;
    if (!m || !buscar(carregar(m_el), chave, v) || v.is_null()) return padrao;
    qint32 i = 0;
    const Leitura l = lerInteiro(v, i);
    if (l != Leitura::Ok) m->falhar(mensagem(l, chave));
    return i;
}

QString JsonValor::comoTexto() const {
    return m ? valorComoTexto(carregar(m_el)) : QString();
}

namespace {

// The output of the re-indenter, written through a pointer straight into the QString
// (no UTF-8 round trip, no append per character): a catalogue dump has to take well
// under a second.
class Saida {
public:
    explicit Saida(qsizetype previsto) : m_buf(previsto, Qt::Uninitialized), m_w(m_buf.data()) {}
    QChar* reservar(qsizetype n) {
        const qsizetype usado = m_w - m_buf.data();
        if (usado + n > m_buf.size()) {
            m_buf.resize(std::max(m_buf.size() * 2, usado + n));
            m_w = m_buf.data() + usado;
        }
        return m_w;
    }
    void avancar(QChar* w) { m_w = w; }
    QString terminar() {
        m_buf.truncate(m_w - m_buf.data());
        return std::move(m_buf);
    }

private:
    QString m_buf;
    QChar* m_w;
};

bool espacoJson(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace

QString Json_Indentar(const QString& texto) {
    {
        // Only well-formed JSON is re-indented; the scan below trusts its structure.
        QByteArray utf8 = texto.toUtf8();
        const size_t n = size_t(utf8.size());
        if (aparado(std::string_view(utf8.constData(), n)).empty()) return QString();
        utf8.append(qsizetype(simdjson::SIMDJSON_PADDING), '\0');
        simdjson::dom::parser parser;
        element raiz;
        if (parser.parse(utf8.constData(), n, false).get(raiz)) return QString();
    }

    Saida out(texto.size() + texto.size() / 2 + 64);
    qsizetype nivel = 0;
    auto novaLinha = [&](QChar* w) {
        *w++ = u'\n';
        std::fill_n(w, nivel * 4, QChar(u' '));
        return w + nivel * 4;
    };
    auto copiar = [&](const char16_t* de, qsizetype n) {
        QChar* w = out.reservar(n);
        std::memcpy(static_cast<void*>(w), de, size_t(n) * sizeof(char16_t));
        return w + n;
    };

    const char16_t* p = reinterpret_cast<const char16_t*>(texto.utf16());
    const char16_t* const fim = p + texto.size();
    while (p < fim) {
        const char16_t c = *p;
        if (espacoJson(c)) {
            ++p;
            continue;
        }
        // Room for a structural character, a line break and the next line's indent;
        // strings and numbers reserve their own length before writing anything.
        QChar* w = out.reservar((nivel + 1) * 4 + 8);
        switch (c) {
        case u'"': {
            // Strings go out as they came, escapes and all.
            const char16_t* q = p + 1;
            for (;;) {
                while (*q != u'"' && *q != u'\\')
                    ++q;
                if (*q == u'"') break;
                q += 2;
            }
            w = copiar(p, q + 1 - p);
            p = q + 1;
            break;
        }
        case u'{':
        case u'[': {
            const char16_t fecha = c == u'{' ? u'}' : u']';
            const char16_t* q = p + 1;
            while (q < fim && espacoJson(*q))
                ++q;
            *w++ = c;
            if (q < fim && *q == fecha) {
                *w++ = fecha;
                p = q + 1;
            } else {
                ++nivel;
                w = novaLinha(w);
                p = q;
            }
            break;
        }
        case u'}':
        case u']':
            --nivel;
            w = novaLinha(w);
            *w++ = c;
            ++p;
            break;
        case u',':
            *w++ = u',';
            w = novaLinha(w);
            ++p;
            break;
        case u':':
            *w++ = u':';
            *w++ = u' ';
            ++p;
            break;
        default: {
            // A number or a literal, up to the next structural character or blank.
            const char16_t* q = p;
            while (q < fim && !espacoJson(*q) && *q != u',' && *q != u'}' && *q != u']')
                ++q;
            w = copiar(p, q - p);
            p = q;
        }
        }
        out.avancar(w);
    }
    return out.terminar();
}
