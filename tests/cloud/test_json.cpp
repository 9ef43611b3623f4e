#include "cloud/JsonLeitor.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QVariant>

#include <functional>
#include <variant>

namespace {

// The fields every value-rule case reads from.
const QString AMOSTRA = QStringLiteral(R"({
  "int": 12, "neg": -7, "dec": 2.5, "grande": 3000000000, "inteiro_dec": 4.0,
  "txt_int": "12", "txt_dec": "2.5", "txt_esp": " 12 ", "txt_virg": "2,5", "txt_nao": "abc",
  "txt_vazio": "", "txt_exp": "1e3", "txt_inf": "inf",
  "nulo": null, "vf": true, "ff": false, "obj": {"a": 1}, "lista": [1, "x"],
  "texto": "Pão de queijo \"mineiro\"", "unicode": "a\u00e7\u00e3o"
})");

struct Falha {
    const char* inicio; // how the error message starts
};
using Esperado = std::variant<double, QString, Falha>;

struct Caso {
    const char* nome;
    std::function<QVariant(const JsonValor&)> ler;
    Esperado esperado;
};

Falha erro(const char* inicio) {
    return Falha{inicio};
}

} // namespace

TEST(JsonValores, RegrasDeLeitura) {
    const auto N = [](const char* k) {
        return [k](const JsonValor& v) { return QVariant(v.numero(QString::fromUtf8(k))); };
    };
    const auto ND = [](const char* k, double d) {
        return [k, d](const JsonValor& v) { return QVariant(v.numero(QString::fromUtf8(k), d)); };
    };
    const auto I = [](const char* k) {
        return [k](const JsonValor& v) { return QVariant(v.inteiro(QString::fromUtf8(k))); };
    };
    const auto ID = [](const char* k, qint32 d) {
        return [k, d](const JsonValor& v) { return QVariant(v.inteiro(QString::fromUtf8(k), d)); };
    };
    const auto T = [](const char* k) {
        return [k](const JsonValor& v) { return QVariant(v.texto(QString::fromUtf8(k))); };
    };
    const auto TD = [](const char* k, const char* d) {
        return [k, d](const JsonValor& v) {
            return QVariant(v.texto(QString::fromUtf8(k), QString::fromUtf8(d)));
        };
    };

    const Caso casos[] = {
        // Numbers as JSON numbers or as texts holding one.
        {"numero", N("int"), 12.0},
        {"decimal", N("dec"), 2.5},
        {"texto inteiro", N("txt_int"), 12.0},
        {"texto decimal", N("txt_dec"), 2.5},
        {"texto com espacos", N("txt_esp"), 12.0},
        {"texto expoente", N("txt_exp"), 1000.0},
        {"verdadeiro", N("vf"), 1.0},
        {"falso", N("ff"), 0.0},
        {"virgula decimal", N("txt_virg"), erro("chave 'txt_virg' não é um número")},
        {"texto nao numerico", N("txt_nao"), erro("chave 'txt_nao' não é um número")},
        {"texto vazio", N("txt_vazio"), erro("chave 'txt_vazio' não é um número")},
        {"infinito", N("txt_inf"), erro("chave 'txt_inf' não é um número")},
        {"objeto", N("obj"), erro("chave 'obj' não é um número")},
        {"lista", N("lista"), erro("chave 'lista' não é um número")},
        {"ausente", N("falta"), erro("chave 'falta' ausente")},
        {"nulo", N("nulo"), erro("chave 'nulo' nula")},
        {"ausente com padrao", ND("falta", 7.5), 7.5},
        {"nulo com padrao", ND("nulo", 7.5), 7.5},
        {"presente com padrao", ND("txt_dec", 7.5), 2.5},
        {"errado com padrao", ND("txt_nao", 7.5), erro("chave 'txt_nao' não é um número")},
        // Integers: no rounding of fractions, no wrap beyond 32 bits.
        {"inteiro", I("int"), 12.0},
        {"inteiro negativo", I("neg"), -7.0},
        {"inteiro de texto", I("txt_int"), 12.0},
        {"inteiro 4.0", I("inteiro_dec"), 4.0},
        {"inteiro fracao", I("dec"), erro("chave 'dec' não é um número inteiro")},
        {"inteiro texto fracao", I("txt_dec"), erro("chave 'txt_dec' não é um número inteiro")},
        {"inteiro grande", I("grande"), erro("chave 'grande' fora da faixa")},
        {"inteiro nulo", I("nulo"), erro("chave 'nulo' nula")},
        {"inteiro ausente", I("falta"), erro("chave 'falta' ausente")},
        {"inteiro padrao", ID("falta", 3), 3.0},
        {"inteiro nulo padrao", ID("nulo", 3), 3.0},
        // Texts.
        {"texto", T("texto"), QStringLiteral("Pão de queijo \"mineiro\"")},
        {"texto unicode", T("unicode"), QStringLiteral("ação")},
        {"texto de numero", T("int"), QStringLiteral("12")},
        {"texto de decimal", T("dec"), QStringLiteral("2.5")},
        {"texto de booleano", T("vf"), QStringLiteral("true")},
        {"texto de objeto", T("obj"), QStringLiteral(R"({"a":1})")},
        {"texto nulo", T("nulo"), QString()},
        {"texto ausente", T("falta"), erro("chave 'falta' ausente")},
        {"texto padrao ausente", TD("falta", "x"), QStringLiteral("x")},
        {"texto padrao nulo", TD("nulo", "x"), QStringLiteral("x")},
        {"texto padrao presente", TD("txt_int", "x"), QStringLiteral("12")},
    };

    JsonDocumento doc(AMOSTRA);
    const JsonValor raiz = doc.raiz();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        if (const auto* f = std::get_if<Falha>(&c.esperado)) {
            try {
                c.ler(raiz);
                ADD_FAILURE() << "no failure";
            } catch (const WebAPIError& e) {
                EXPECT_TRUE(e.message().startsWith(QString::fromUtf8(f->inicio)))
                    << e.message().toStdString();
                EXPECT_EQ(e.resposta(), AMOSTRA); // for the diagnostic text
            }
            continue;
        }
        const QVariant v = c.ler(raiz);
        if (const auto* d = std::get_if<double>(&c.esperado))
            EXPECT_DOUBLE_EQ(v.toDouble(), *d);
        else
            EXPECT_EQ(v.toString(), std::get<QString>(c.esperado));
    }
}

TEST(JsonValores, NavegacaoPorObjetosEListas) {
    JsonDocumento doc(QByteArray(R"({"empresas":[{"id":1,"filiais":[[10,11],[]]},{"id":"2"}],
        "vazio":[], "nulo":null, "obj":{"x":{"y":"fundo"}}, "ação":"chave unicode"})"));
    const JsonValor raiz = doc.raiz();
    EXPECT_TRUE(raiz.isObjeto());
    EXPECT_TRUE(raiz.contem("nulo"));
    EXPECT_FALSE(raiz.contem("Empresas")); // keys are case-sensitive
    EXPECT_EQ(raiz.texto(QStringLiteral("ação")), "chave unicode");

    const JsonValor empresas = raiz.array("empresas");
    ASSERT_EQ(empresas.tamanho(), 2);
    EXPECT_EQ(empresas[0].inteiro("id"), 1);
    EXPECT_EQ(empresas[1].inteiro("id"), 2);
    const JsonValor filiais = empresas[0].array("filiais");
    ASSERT_EQ(filiais.tamanho(), 2);
    EXPECT_TRUE(filiais[0].isArray());
    EXPECT_EQ(filiais[0][1].comoTexto(), "11");
    EXPECT_EQ(filiais[1].tamanho(), 0);
    EXPECT_EQ(raiz.campo("obj").campo("x").texto("y"), "fundo");
    EXPECT_TRUE(raiz.campo("nulo").isNull());
    EXPECT_EQ(raiz.array("vazio").tamanho(), 0);

    const std::pair<const char*, std::function<void()>> falhas[] = {
        {"chave 'falta' ausente", [&] { raiz.campo("falta"); }},
        {"chave 'falta' ausente", [&] { raiz.array("falta"); }},
        {"chave 'obj' não é uma lista", [&] { raiz.array("obj"); }},
        {"chave 'nulo' não é uma lista", [&] { raiz.array("nulo"); }},
        {"índice 2 fora da lista", [&] { empresas[2]; }},
        {"índice -1 fora da lista", [&] { empresas[-1]; }},
        {"chave 'id' ausente", [&] { empresas.inteiro("id"); }}, // a list has no keys
        {"não é uma lista", [&] { raiz.campo("obj").tamanho(); }},
    };
    for (const auto& [trecho, ler] : falhas) {
        SCOPED_TRACE(trecho);
        try {
            ler();
            ADD_FAILURE() << "no failure";
        } catch (const WebAPIError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(trecho)))
                << e.message().toStdString();
        }
    }
}

TEST(JsonValores, ValoresCopiadosSobrevivemAoDocumento) {
    JsonValor item;
    {
        JsonDocumento doc(QByteArray(R"({"itens":[{"nome":"Café"}]})"));
        item = doc.raiz().array("itens")[0];
    }
    EXPECT_EQ(item.texto("nome"), QStringLiteral("Café"));
}

TEST(JsonValores, RespostaInvalida) {
    const QString textos[] = {
        QString(),
        QStringLiteral("   \r\n"),
        QStringLiteral("<html><body>404 Not Found</body></html>"),
        QStringLiteral(R"({"a": 1,)"),
        QStringLiteral(R"({"a": 1} lixo)"),
        QStringLiteral("{'a': 1}"),
    };
    for (const QString& t : textos) {
        SCOPED_TRACE(t.toStdString());
        try {
            JsonDocumento doc(t);
            ADD_FAILURE() << "parsed";
        } catch (const WebAPIError& e) {
            EXPECT_TRUE(e.message().startsWith("Resposta inválida: ")) << e.message().toStdString();
            EXPECT_EQ(e.resposta(), t);
        }
    }
}

TEST(JsonIndentar, MembrosEmOrdemEscapesEUnicodeMantidos) {
    const QString entrada =
        QStringLiteral(R"( {"zeta":1,"alfa":[1,2.50,{"b":null,"a":true}],"vazio":{ },"lista":[ ],)"
                       R"("esc":"linha\n\"aspas\" \u00e7 \\","uni":"ação €","num":-1.5e3} )");
    const QString esperado = QStringLiteral(R"({
    "zeta": 1,
    "alfa": [
        1,
        2.50,
        {
            "b": null,
            "a": true
        }
    ],
    "vazio": {},
    "lista": [],
    "esc": "linha\n\"aspas\" \u00e7 \\",
    "uni": "ação €",
    "num": -1.5e3
})");
    EXPECT_EQ(Json_Indentar(entrada), esperado);
    EXPECT_EQ(Json_Indentar(QStringLiteral(R"("a,b:{c}")")), QStringLiteral(R"("a,b:{c}")"));
    EXPECT_EQ(Json_Indentar(QStringLiteral("[[],[[1]]]")),
              QStringLiteral("[\n    [],\n    [\n        [\n            1\n        ]\n    ]\n]"));

    for (const char* invalido : {"", "  ", "{\"a\":", "<html></html>", "[1,]"}) {
        SCOPED_TRACE(invalido);
        EXPECT_TRUE(Json_Indentar(QString::fromUtf8(invalido)).isEmpty());
    }
}

// The catalogue reply runs to tens of megabytes: walking it by index and dumping it must
// stay linear (a quadratic walk of 200,000 items would take minutes).
TEST(JsonDesempenho, CatalogoGrande) {
    const int n = 200000;
    QByteArray json = "{\"produtos\":[";
    json.reserve(n * 310);
    for (int i = 0; i < n; ++i) {
        if (i) json += ',';
        json += "{\"id\":" + QByteArray::number(i) + ",\"produto\":\"Produto n\\u00famero " +
                QByteArray::number(i) + "\",\"preco\":\"" + QByteArray::number(i % 100) +
                ".25\",\"estoque\":" + QByteArray::number(i % 7) + ",\"descricao\":\"" +
                QByteArray(200, 'x') + "\",\"grupo_id\":null}";
    }
    json += "]}";
    const QString texto = QString::fromUtf8(json);

    QElapsedTimer relogio;
    relogio.start();
    JsonDocumento doc(texto);
    const JsonValor produtos = doc.raiz().array("produtos");
    ASSERT_EQ(produtos.tamanho(), n);
    double soma = 0;
    qint64 ids = 0;
    for (int i = 0; i < produtos.tamanho(); ++i) {
        const JsonValor p = produtos[i];
        ids += p.inteiro("id");
        soma += p.numero("preco") + p.inteiro("grupo_id", 0);
        if (p.texto("produto").isEmpty()) ADD_FAILURE();
    }
    const qint64 leitura = relogio.restart();
    const QString dump = Json_Indentar(texto);
    const qint64 indentacao = relogio.elapsed();

    EXPECT_EQ(ids, qint64(n) * (n - 1) / 2);
    EXPECT_EQ(produtos[n - 1].inteiro("id"), n - 1);
    EXPECT_GT(soma, 0);
    EXPECT_TRUE(dump.startsWith("{\n    \"produtos\": [\n        {\n            \"id\": 0,"));
    // Generous bounds: the point is linear time, not a benchmark.
    EXPECT_LT(leitura, 5000);
    EXPECT_LT(indentacao, 5000);
    RecordProperty("megabytes", int(json.size() >> 20));
    RecordProperty("leitura_ms", int(leitura));
    RecordProperty("indentacao_ms", int(indentacao));
}
