#include "Sincronia_Resposta.h"

#include "foundation/Errors.h"

#include <QIODevice>
#include <QStringEncoder>

#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace {

// The parser's own limit of nesting.
constexpr size_t PROFUNDIDADE_MAXIMA = 1024;

inline bool branco(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

inline bool digito(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool hex4(const char16_t* p, const char16_t* fim, unsigned& valor) {
    if (fim - p < 4) return false;
    valor = 0;
    for (int i = 0; i < 4; ++i) {
        const char16_t c = p[i];
        valor <<= 4;
        if (c >= u'0' && c <= u'9')
            valor |= unsigned(c - u'0');
        else if (c >= u'a' && c <= u'f')
            valor |= unsigned(c - u'a' + 10);
        else if (c >= u'A' && c <= u'F')
            valor |= unsigned(c - u'A' + 10);
        else
            return false;
    }
    return true;
}

// The end of a string's plain run: the first quote, backslash or control character. Eight
// characters at a time where the processor allows; the strings are most of a reply.
const char16_t* fimDoTrecho(const char16_t* p, const char16_t* fim) {
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i aspas = _mm_set1_epi16(u'"');
    const __m128i barra = _mm_set1_epi16(u'\\');
    const __m128i limite = _mm_set1_epi16(0x1F);
    const __m128i zero = _mm_setzero_si128();
    while (fim - p >= 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i achados =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, aspas), _mm_cmpeq_epi16(v, barra)),
                         _mm_cmpeq_epi16(_mm_subs_epu16(v, limite), zero));
        const unsigned bits = unsigned(_mm_movemask_epi8(achados));
        if (bits) return p + std::countr_zero(bits) / 2;
        p += 8;
    }
#endif
    while (p < fim && *p != u'"' && *p != u'\\' && *p >= 0x20)
        ++p;
    return p;
}

} // namespace

TSincronia_Resposta::TSincronia_Resposta(const QString& texto) : m_texto(texto) {
    varrer();
}

// One pass over the text with the rules of strict JSON, the same the parser applies, so
// that a reply that passes here also parses in pieces. It notes where each element of
// the root's arrays starts and ends, and builds the root without those elements.
void TSincronia_Resposta::varrer() {
    const char16_t* const inicio = reinterpret_cast<const char16_t*>(m_texto.constData());
    const char16_t* const fim = inicio + m_texto.size();
    const char16_t* p = inicio;

    std::vector<char16_t> pilha;
    pilha.reserve(64);
    int arrayRaiz = -1; // the root's array being read
    qsizetype inicioElemento = 0;
    const char16_t* copiado = inicio; // the root's text up to here is in m_esqueleto

    auto falhar = [&](const char* motivo) {
        m_erro = QStringLiteral("%1 na posição %2").arg(QLatin1String(motivo)).arg(p - inicio);
        m_arrays.clear();
        m_esqueleto.clear();
    };
    auto pularBrancos = [&] {
        while (p < fim && branco(*p))
            ++p;
    };
    auto lerString = [&]() -> bool {
        ++p;
        for (;;) {
            p = fimDoTrecho(p, fim);
            if (p >= fim || *p < 0x20) return false;
            if (*p == u'"') {
                ++p;
                return true;
            }
            if (++p >= fim) return false;
            switch (*p) {
            case u'"':
            case u'\\':
            case u'/':
            case u'b':
            case u'f':
            case u'n':
            case u'r':
            case u't':
                ++p;
                break;
            case u'u': {
                unsigned cp = 0;
                if (!hex4(p + 1, fim, cp)) return false;
                p += 5;
                if (cp >= 0xD800 && cp < 0xDC00) {
                    unsigned baixo = 0;
                    if (fim - p < 6 || p[0] != u'\\' || p[1] != u'u' || !hex4(p + 2, fim, baixo) ||
                        baixo < 0xDC00 || baixo > 0xDFFF)
                        return false;
                    p += 6;
                } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    return false;
                }
                break;
            }
            default:
                return false;
            }
        }
    };
    auto lerNumero = [&]() -> bool {
        if (*p == u'-') ++p;
        if (p >= fim || !digito(*p)) return false;
        if (*p == u'0')
            ++p;
        else
            while (p < fim && digito(*p))
                ++p;
        if (p < fim && *p == u'.') {
            if (++p >= fim || !digito(*p)) return false;
            while (p < fim && digito(*p))
                ++p;
        }
        if (p < fim && (*p == u'e' || *p == u'E')) {
            ++p;
            if (p < fim && (*p == u'+' || *p == u'-')) ++p;
            if (p >= fim || !digito(*p)) return false;
            while (p < fim && digito(*p))
                ++p;
        }
        return true;
    };
    auto lerLiteral = [&](std::u16string_view palavra) -> bool {
        if (size_t(fim - p) < palavra.size() || std::u16string_view(p, palavra.size()) != palavra)
            return false;
        p += palavra.size();
        return true;
    };
    // After a value: at the root's array level it was one of its elements.
    auto fimValor = [&] {
        if (arrayRaiz >= 0 && pilha.size() == 2)
            m_arrays[size_t(arrayRaiz)].push_back({inicioElemento, p - inicio});
    };
    // A member's key and its colon.
    auto lerChave = [&]() -> bool {
        pularBrancos();
        if (p >= fim || *p != u'"' || !lerString()) return false;
        pularBrancos();
        if (p >= fim || *p != u':') return false;
        ++p;
        return true;
    };
    auto fechar = [&] {
        if (arrayRaiz >= 0 && pilha.size() == 2) {
            arrayRaiz = -1;
            copiado = p;
        }
        pilha.pop_back();
        ++p;
        fimValor();
    };

    pularBrancos();
    if (p >= fim) return falhar("texto vazio");
    m_objeto = *p == u'{';

    bool esperaValor = true;
    for (;;) {
        pularBrancos();
        if (esperaValor) {
            if (p >= fim) return falhar("fim inesperado");
            if (arrayRaiz >= 0 && pilha.size() == 2) inicioElemento = p - inicio;
            const char16_t c = *p;
            if (c == u'{' || c == u'[') {
                if (pilha.size() >= PROFUNDIDADE_MAXIMA) return falhar("profundidade excessiva");
                if (c == u'[' && m_objeto && pilha.size() == 1) {
                    arrayRaiz = int(m_arrays.size());
                    m_arrays.emplace_back();
                    m_esqueleto.append(QStringView(copiado, p + 1));
                    m_esqueleto += QString::number(arrayRaiz);
                }
                pilha.push_back(c == u'{' ? u'}' : u']');
                ++p;
                pularBrancos();
                if (p < fim && *p == pilha.back()) {
                    fechar();
                    esperaValor = false;
                } else if (c == u'{' && !lerChave()) {
                    return falhar("chave esperada");
                }
                continue;
            }
            bool ok = false;
            if (c == u'"')
                ok = lerString();
            else if (c == u'-' || digito(c))
                ok = lerNumero();
            else if (c == u't')
                ok = lerLiteral(u"true");
            else if (c == u'f')
                ok = lerLiteral(u"false");
            else if (c == u'n')
                ok = lerLiteral(u"null");
            if (!ok) return falhar("valor inválido");
            fimValor();
            esperaValor = false;
            continue;
        }
        if (pilha.empty()) {
            if (p < fim) return falhar("texto após o valor");
            break;
        }
        if (p >= fim) return falhar("fim inesperado");
        if (*p == u',') {
            ++p;
            if (pilha.back() == u'}' && !lerChave()) return falhar("chave esperada");
            esperaValor = true;
        } else if (*p == pilha.back()) {
            fechar();
        } else {
            return falhar("caractere inesperado");
        }
    }

    m_valida = true;
    if (m_objeto)
        m_esqueleto.append(QStringView(copiado, fim));
    else
        m_esqueleto = m_texto;
}

namespace {

// A block of bytes for the dump, written out when full.
class Bloco {
public:
    explicit Bloco(QIODevice& saida) : m_saida(saida), m_bytes(size_t(1) << 20) {}

    char* reservar(size_t n) {
        if (m_usados + n > m_bytes.size()) {
            esvaziar();
            if (n > m_bytes.size()) m_bytes.resize(n);
        }
        return m_bytes.data() + m_usados;
    }
    void avancar(size_t n) { m_usados += n; }
    void esvaziar() {
        if (m_usados && m_saida.write(m_bytes.data(), qint64(m_usados)) != qint64(m_usados))
            throw FileError(QStringLiteral("Falha ao gravar o arquivo: ") + m_saida.errorString());
        m_usados = 0;
    }

private:
    QIODevice& m_saida;
    std::vector<char> m_bytes;
    size_t m_usados = 0;
};

} // namespace

void TSincronia_Resposta::Despejar(QIODevice& saida) const {
    if (!m_valida) return;

    // The system's code page keeps ASCII as it is (UTF-8 here, an ANSI page on Windows), so
    // the layout goes out byte by byte and only strings with other characters are encoded.
    QStringEncoder codificador(QStringConverter::System);
    Bloco bloco(saida);
    auto um = [&](char c) {
        *bloco.reservar(1) = c;
        bloco.avancar(1);
    };
    size_t nivel = 0;
    auto novaLinha = [&] {
        const size_t n = 1 + nivel * 4;
        char* o = bloco.reservar(n);
        o[0] = '\n';
        std::memset(o + 1, ' ', n - 1);
        bloco.avancar(n);
    };

    // The layout of Json_Indentar.
    const char16_t* p = reinterpret_cast<const char16_t*>(m_texto.constData());
    const char16_t* const fim = p + m_texto.size();
    while (p < fim) {
        const char16_t c = *p;
        switch (c) {
        case u' ':
        case u'\t':
        case u'\r':
        case u'\n':
            ++p;
            break;
        case u'"': {
            const char16_t* q = p + 1;
            for (;;) {
                q = fimDoTrecho(q, fim);
                if (*q == u'"') break;
                q += 2; // an escape goes out as it came
            }
            ++q;
            const size_t n = size_t(q - p);
            char* o = bloco.reservar(size_t(codificador.requiredSpace(qsizetype(n))));
            size_t i = 0;
            while (i < n && p[i] < 0x80) {
                o[i] = char(p[i]);
                ++i;
            }
            if (i < n) i = size_t(codificador.appendToBuffer(o, QStringView(p, qsizetype(n))) - o);
            bloco.avancar(i);
            p = q;
            break;
        }
        case u'{':
        case u'[': {
            const char16_t fecha = c == u'{' ? u'}' : u']';
            const char16_t* q = p + 1;
            while (q < fim && branco(*q))
                ++q;
            um(char(c));
            if (q < fim && *q == fecha) {
                um(char(fecha));
                p = q + 1;
            } else {
                ++nivel;
                novaLinha();
                p = q;
            }
            break;
        }
        case u'}':
        case u']':
            --nivel;
            novaLinha();
            um(char(c));
            ++p;
            break;
        case u',':
            um(',');
            novaLinha();
            ++p;
            break;
        case u':': {
            char* o = bloco.reservar(2);
            o[0] = ':';
            o[1] = ' ';
            bloco.avancar(2);
            ++p;
            break;
        }
        default:
            // Numbers and literals: ASCII only, in valid JSON.
            um(char(c));
            ++p;
        }
    }
    um('\n');
    bloco.esvaziar();
}

JsonValor TSincronia_Resposta::raiz() const {
    if (!m_valida) throw WebAPIError(QStringLiteral("Resposta inválida: ") + m_erro, m_texto);
    if (!m_raiz) m_raiz = std::make_unique<JsonDocumento>(m_esqueleto);
    return m_raiz->raiz();
}

TSincronia_Resposta::Lista TSincronia_Resposta::lista(const QString& chave) const {
    const JsonValor marca = raiz().array(chave);
    Lista l;
    l.m_texto = &m_texto;
    // The root's arrays stand in it as "[n]"; any other array here is not one of them.
    const int n = marca.tamanho() == 1 ? marca[0].comoTexto().toInt() : -1;
    if (m_objeto && n >= 0 && size_t(n) < m_arrays.size()) l.m_faixas = &m_arrays[size_t(n)];
    return l;
}

JsonValor TSincronia_Resposta::Lista::pedaco(int de, int ate) const {
    const Faixa& primeira = (*m_faixas)[size_t(de)];
    const Faixa& ultima = (*m_faixas)[size_t(ate - 1)];
    QString texto;
    texto.reserve(ultima.fim - primeira.inicio + 2);
    texto += u'[';
    texto += QStringView(*m_texto).mid(primeira.inicio, ultima.fim - primeira.inicio);
    texto += u']';
    const JsonDocumento documento(texto);
    return documento.raiz();
}
