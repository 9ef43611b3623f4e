#include <gtest/gtest.h>

#include "foundation/Errors.h"
#include "foundation/QueloUtil_Unit.h"

#include <QRegularExpression>
#include <QSet>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Puts the money mask back, whatever the test set.
struct MascaraGuard {
    QString anterior = Mask_Decimal();
    ~MascaraGuard() { Set_Mask_Decimal(anterior); }
};

struct CasoTexto {
    QString entrada;
    QString esperado;
};

} // namespace

TEST(QueloUtil, SoNumerosKeepsOnlyAsciiDigits) {
    const std::vector<CasoTexto> casos = {
        {u"(11) 98765-4321"_s, u"11987654321"_s},
        {u""_s, u""_s},
        {u"   "_s, u""_s},
        {u" 0 1 "_s, u"01"_s},
        {u"abc"_s, u""_s},
        {u"١٢٣ ０１"_s, u""_s}, // Arabic-Indic and full-width digits do not count
        {u"1😀2"_s, u"12"_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(SoNumeros(c.entrada), c.esperado) << c.entrada.toStdString();
}

TEST(QueloUtil, StringToFloatReadsOperatorText) {
    struct Caso {
        QString entrada;
        double esperado;
    };
    const std::vector<Caso> casos = {
        {u"1.234,56"_s, 1234.56},
        {u"R$ 10,00"_s, 10},
        {u"  7,25  "_s, 7.25},
        {u"-5"_s, 5},
        {u"-3,5"_s, 3.5},
        {u"1.2.3"_s, 123}, // every dot is a thousands separator
        {u",5"_s, 0.5},
        {u"5,"_s, 5},
        {u"1e5"_s, 15}, // letters are dropped, so no exponent
        {u"12٣4"_s, 124},
        {u"0,1"_s, 0.1},
        // unreadable: 0
        {u""_s, 0},
        {u"   "_s, 0},
        {u"abc"_s, 0},
        {u"1,2,3"_s, 0},
        {u"2,5,1"_s, 0},
        {u","_s, 0},
        {u"-"_s, 0},
        {u"+"_s, 0},
        {u"."_s, 0},
        {u"٣"_s, 0},
        {u"😀"_s, 0},
        // overflow is unreadable too; underflow is as good as 0
        {QString(400, u'9'), 0},
        {u"0,"_s + QString(400, u'0') + u'1', 0},
        {u"1"_s + QString(300, u'0'), 1e300},
    };
    for (const auto& c : casos) {
        const double v = StringToFloat(c.entrada);
        EXPECT_DOUBLE_EQ(v, c.esperado) << c.entrada.toStdString();
        EXPECT_FALSE(std::signbit(v)) << c.entrada.toStdString();
    }
}

TEST(QueloUtil, StringToIntegerCutsLongTextAndReadsLeadingMinus) {
    struct Caso {
        QString entrada;
        qint32 esperado;
    };
    const std::vector<Caso> casos = {
        {u"12a3"_s, 123},
        {u"-5"_s, -5},
        {u" -5"_s, 5},  // minus only as the very first character
        {u"--5"_s, -5}, // the second minus is dropped
        {u"5-3"_s, 53},
        {u"+5"_s, 5},
        {u"007"_s, 7},
        {u"😀12"_s, 12},
        {u"2147483647"_s, 2147483647},
        {u"-2147483648"_s, std::numeric_limits<qint32>::min()}, // 11 characters, used whole
        {u"123456789012"_s, 1234567890},                        // 12 characters: first 10
        {u"-12345678901"_s, -123456789},
        {u"1234567890ab"_s, 1234567890},
        {u"abcdefghij123"_s, 0},
        // unreadable: 0
        {u"99999999999"_s, 0}, // 11 digits, out of range
        {u"-2147483649"_s, 0},
        {u""_s, 0},
        {u"   "_s, 0},
        {u"-"_s, 0},
        {u"+"_s, 0},
        {u","_s, 0},
        {u"٣"_s, 0},
    };
    for (const auto& c : casos)
        EXPECT_EQ(StringToInteger(c.entrada), c.esperado) << c.entrada.toStdString();
}

TEST(QueloUtil, FloatToStringGeneralForm) {
    struct Caso {
        double valor;
        QString esperado;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Caso> casos = {
        {12.5, u"12,5"_s},
        {3, u"3"_s},
        {35.50, u"35,5"_s},
        {1234.5, u"1234,5"_s}, // no grouping
        {0, u"0"_s},
        {-0.0, u"0"_s},
        {-1.25, u"-1,25"_s},
        {0.1 + 0.2, u"0,3"_s}, // 15 significant digits hide the binary noise
        {1.0 / 3, u"0,333333333333333"_s},
        {2.0 / 3, u"0,666666666666667"_s},
        {123456789012345.0, u"123456789012345"_s},
        {0.00001, u"0,00001"_s},
        {0.000012, u"0,000012"_s},
        // exponent form beyond 15 integer digits or below 0,00001
        {1e15, u"1E15"_s},
        {1e20, u"1E20"_s},
        {-2.5e30, u"-2,5E30"_s},
        {1.5e-7, u"1,5E-7"_s},
        {0.0000099, u"9,9E-6"_s},
        {std::numeric_limits<double>::max(), u"1,79769313486232E308"_s},
        {std::numeric_limits<double>::denorm_min(), u"4,94065645841247E-324"_s},
        {std::nan(""), u"NaN"_s},
        {inf, u"INF"_s},
        {-inf, u"-INF"_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FloatToString(c.valor), c.esperado) << c.valor;
}

TEST(QueloUtil, FormatFloatRoundsHalfAwayFromZeroAndGroupsThousands) {
    struct Caso {
        QString mascara;
        double valor;
        QString esperado;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const QString m2 = u"0.00,"_s;
    const std::vector<Caso> casos = {
        {m2, 1234.5, u"1.234,50"_s},
        {m2, 0, u"0,00"_s},
        {m2, 123, u"123,00"_s},
        {m2, 100000, u"100.000,00"_s},
        {m2, -1234567.5, u"-1.234.567,50"_s},
        // halves of the decimal value, not of its binary neighbour
        {m2, 2.675, u"2,68"_s},
        {m2, -2.675, u"-2,68"_s},
        {m2, 1.005, u"1,01"_s},
        {m2, 0.125, u"0,13"_s},
        {m2, 0.004999, u"0,00"_s},
        {m2, 999.995, u"1.000,00"_s},
        {m2, 999999.999, u"1.000.000,00"_s},
        {m2, -0.001, u"0,00"_s}, // no "-0,00"
        {m2, -0.0, u"0,00"_s},
        {m2, -0.005, u"-0,01"_s},
        {m2, 1e20, u"100.000.000.000.000.000.000,00"_s},
        {m2, 1e-20, u"0,00"_s},
        {u"0.000,"_s, 1234567.8915, u"1.234.567,892"_s},
        {u"0.000,"_s, 0.0005, u"0,001"_s},
        {u"0.0000,"_s, 0.5, u"0,5000"_s},
        {u"0.0000,"_s, 1.23456, u"1,2346"_s},
        // unknown pattern: two decimals
        {u"xyz"_s, 1.5, u"1,50"_s},
        {u""_s, 1.555, u"1,56"_s},
        {u"0.00000,"_s, 1.5, u"1,50"_s},
        {m2, std::nan(""), u"NaN"_s},
        {m2, inf, u"INF"_s},
        {m2, -inf, u"-INF"_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FormatFloat(c.mascara, c.valor), c.esperado)
            << c.mascara.toStdString() << " " << c.valor;
}

TEST(QueloUtil, FloatToStringRightPadsWithTheMoneyMask) {
    EXPECT_EQ(Mask_Decimal(), u"0.00,"_s); // until the settings set it
    MascaraGuard guard;

    struct Caso {
        QString mascara;
        int largura;
        double valor;
        QString esperado;
    };
    const std::vector<Caso> casos = {
        {u"0.00,"_s, 8, 1.5, u"    1,50"_s},
        {u"0.00,"_s, 9, 1.5, u"     1,50"_s},
        {u"0.00,"_s, 8, 1234567.5, u"1.234.567,50"_s}, // wider than the column: whole
        {u"0.00,"_s, 12, 1234567.5, u"1.234.567,50"_s},
        {u"0.00,"_s, 20, 1.5, QString(9, u' ') + u"1,50"_s}, // never more than 9 spaces
        {u"0.00,"_s, 0, 1.5, u"1,50"_s},
        {u"0.00,"_s, -5, 1.5, u"1,50"_s},
        {u"0.000,"_s, 8, 1.5, u"   1,500"_s},
        {u"0.0000,"_s, 9, -2, u"  -2,0000"_s},
    };
    for (const auto& c : casos) {
        Set_Mask_Decimal(c.mascara);
        EXPECT_EQ(Mask_Decimal(), c.mascara);
        EXPECT_EQ(FloatToString_Right(c.largura, c.valor), c.esperado)
            << c.mascara.toStdString() << " " << c.largura << " " << c.valor;
    }
}

TEST(QueloUtil, MoneyMaskCanBeSetWhileAnotherThreadFormats) {
    MascaraGuard guard;
    std::atomic<bool> fim = false;
    std::atomic<int> estranhos = 0;
    std::thread worker([&] {
        while (!fim) {
            const QString t = FloatToString_Right(9, 1.5);
            if (t != u"     1,50"_s && t != u"    1,500"_s) ++estranhos;
        }
    });
    for (int i = 0; i < 20000; ++i)
        Set_Mask_Decimal(i % 2 ? u"0.00,"_s : u"0.000,"_s);
    fim = true;
    worker.join();
    EXPECT_EQ(estranhos, 0);
}

TEST(QueloUtil, TestCPFChecksBothDigits) {
    struct Caso {
        QString cpf;
        bool valido;
    };
    const std::vector<Caso> casos = {
        {u"123.456.789-09"_s, true},
        {u"12345678909"_s, true},
        {u"111.111.111-11"_s, true},
        {u"529.982.247-25"_s, true},
        {u"123456789091"_s, true}, // digits after the 11th are ignored
        {u"123.456.789-08"_s, false},
        {u"123.456.789-19"_s, false},
        {u"000.000.000-00"_s, false},
        {QString(400, u'0'), false},
        {u"1234567890"_s, false},
        {u""_s, false},
        {u"abc"_s, false},
        {u"١٢٣.٤٥٦.٧٨٩-٠٩"_s, false},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TestCPF(c.cpf), c.valido) << c.cpf.toStdString();
}

TEST(QueloUtil, TesteCGCChecksBothDigits) {
    struct Caso {
        QString cnpj;
        bool valido;
    };
    const std::vector<Caso> casos = {
        {u"11.222.333/0001-81"_s, true},
        {u"11222333000181"_s, true},
        {u"112223330001819"_s, true}, // digits after the 14th are ignored
        {u"11.444.777/0001-61"_s, true},
        {u"11.222.333/0001-82"_s, false},
        {u"11.222.333/0001-91"_s, false},
        {u"00.000.000/0000-00"_s, false},
        {u"1122233300018"_s, false},
        {u""_s, false},
        {u"CNPJ"_s, false},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TesteCGC(c.cnpj), c.valido) << c.cnpj.toStdString();
}

TEST(QueloUtil, GeraCPFAlwaysGivesAValidNumber) {
    static const QRegularExpression pontuado(u"^[0-9]{3}\\.[0-9]{3}\\.[0-9]{3}-[0-9]{2}$"_s);
    static const QRegularExpression simples(u"^[0-9]{11}$"_s);
    QSet<QString> vistos;
    for (int i = 0; i < 5000; ++i) {
        const QString p = GeraCPF(true);
        ASSERT_TRUE(pontuado.match(p).hasMatch()) << p.toStdString();
        ASSERT_TRUE(TestCPF(p)) << p.toStdString();
        const QString s = GeraCPF(false);
        ASSERT_TRUE(simples.match(s).hasMatch()) << s.toStdString();
        ASSERT_TRUE(TestCPF(s)) << s.toStdString();
        vistos.insert(s);
    }
    EXPECT_GT(vistos.size(), 4900); // the draws really vary
}

TEST(QueloUtil, RemoveAcentosOnlyTheTableLetters) {
    const std::vector<CasoTexto> casos = {
        {u"àâãáÀÂÃÁêéÊÉíÍôõóÔÕÓûúüÛÚÜçÇñÑýÝ"_s, u"aaaaAAAAeeEEiIoooOOOuuuUUUcCnNyY"_s},
        {u"èìòùîäëïöÈÌÒÙÎÄËÏÖÿ"_s, u"èìòùîäëïöÈÌÒÙÎÄËÏÖÿ"_s},
        {u"São João, Açaí"_s, u"Sao Joao, Acai"_s},
        {u"a\u0303"_s, u"a\u0303"_s}, // a combining tilde is no letter of the table
        {u"😀ã𝒜"_s, u"😀a𝒜"_s},
        {u""_s, u""_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(RemoveAcentos(c.entrada), c.esperado) << c.entrada.toStdString();
}

TEST(QueloUtil, IniciaisMaiusculasCapitalisesNames) {
    const std::vector<CasoTexto> casos = {
        {u"JOÃO DA SILVA"_s, u"Joao da Silva"_s},
        {u"maria dos anjos"_s, u"Maria dos Anjos"_s},
        {u"maria DAS dores"_s, u"Maria das Dores"_s},
        {u"ANA DE"_s, u"Ana De"_s}, // no space after the particle
        {u"ana dasilva"_s, u"Ana Dasilva"_s},
        {u"pedro e paulo"_s, u"Pedro E Paulo"_s},
        {u"da silva"_s, u"Da Silva"_s}, // the first character is always upper-case
        {u"  josé  de  souza "_s, u"Jose  de  Souza"_s},
        {u"ana\tmaria"_s, u"Ana\tmaria"_s}, // only a space starts a word
        {u"élan"_s, u"Elan"_s},
        {u""_s, u""_s},
        {u"   "_s, u""_s},
        // characters outside the BMP are cased whole, never split
        {u"😀 ana 😀x"_s, u"😀 Ana 😀x"_s},
        {u"𐐨𐐨 𐐀𐐀"_s, u"𐐀𐐨 𐐀𐐨"_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Iniciais_Maiusculas(c.entrada), c.esperado) << c.entrada.toStdString();
}

TEST(QueloUtil, FormataTelefoneByDigitCount) {
    const std::vector<CasoTexto> casos = {
        {u"33334444"_s, u"3333-4444"_s},
        {u"1133334444"_s, u"(11)3333-4444"_s},
        {u"(11) 3333-4444"_s, u"(11)3333-4444"_s},
        {u"11987654321"_s, u"+1(19)8765-4321"_s},
        {u"551133334444"_s, u"+55(11)3333-4444"_s},
        {u"+55 (11) 98765-4321"_s, u"+55(11)98765-4321"_s},
        {u"113333444"_s, u"113333444"_s},
        {u"12345678901234"_s, u"12345678901234"_s},
        {u""_s, u""_s},
        {u"sem telefone"_s, u""_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FormataTelefone(c.entrada), c.esperado) << c.entrada.toStdString();
}

TEST(QueloUtil, FormataCEPOnlyEightDigits) {
    const std::vector<CasoTexto> casos = {
        {u"01310100"_s, u"01.310-100"_s},
        {u"01310-100"_s, u"01.310-100"_s},
        {u"123"_s, u"123"_s},
        {u"013101000"_s, u"013101000"_s},
        {u""_s, u""_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FormataCEP(c.entrada), c.esperado) << c.entrada.toStdString();
}

TEST(QueloUtil, DiaSemanaFromSundayToSaturday) {
    const QStringList esperado = {u"Dom"_s, u"Seg"_s, u"Ter"_s, u"Qua"_s,
                                  u"Qui"_s, u"Sex"_s, u"Sáb"_s};
    const QDate domingo(2024, 3, 3);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(DiaSemana(domingo.addDays(i)), esperado[i]) << i;
    EXPECT_EQ(DiaSemana(QDate()), QString());
}

TEST(QueloUtil, DateMySQLToDateTimeReadsCloudDates) {
    struct Caso {
        QString texto;
        QDateTime esperado;
    };
    const std::vector<Caso> casos = {
        {u"2024-02-29"_s, QDateTime(QDate(2024, 2, 29), QTime(0, 0, 1))},
        {u"2024-02-29   "_s, QDateTime(QDate(2024, 2, 29), QTime(0, 0, 1))},
        {u"2024-02-29 13:45:10"_s, QDateTime(QDate(2024, 2, 29), QTime(13, 45, 10))},
        {u"2023-12-31 23:59:59"_s, QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59))},
        {u"2024-01-05 07:08"_s, QDateTime(QDate(2024, 1, 5), QTime(7, 8))},
        {u"2024-01-05 10:30:00.123456"_s, QDateTime(QDate(2024, 1, 5), QTime(10, 30))},
    };
    for (const auto& c : casos) {
        const QDateTime dt = DateMySQLToDateTime(c.texto);
        EXPECT_EQ(dt, c.esperado) << c.texto.toStdString();
        EXPECT_EQ(dt.timeSpec(), Qt::LocalTime);
    }
}

TEST(QueloUtil, DateMySQLToDateTimeRejectsUnreadableText) {
    const QStringList invalidos = {
        u""_s,
        u"   "_s,
        u"abc"_s,
        u"2024"_s,
        u"2024-13-01"_s,
        u"2024-00-10"_s,
        u"2023-02-29"_s,
        u"2024-02-30"_s,
        u"2024-02-3x"_s,
        u"2024-02-29 25:00:00"_s,
        u"2024-02-29 10:61:00"_s,
        u"2024-02-29 xx"_s,
        u"٢٠٢٤-٠٢-٢٩"_s,
    };
    for (const QString& t : invalidos) {
        try {
            DateMySQLToDateTime(t);
            ADD_FAILURE() << "accepted '" << t.toStdString() << "'";
        } catch (const Error& e) {
            EXPECT_TRUE(e.message().contains(u'\'' + t + u'\'')) << e.message().toStdString();
        }
    }
}

TEST(QueloUtil, BuscaTrocaReplacesEveryOccurrenceOnce) {
    struct Caso {
        QString texto, busca, troca, esperado;
    };
    const std::vector<Caso> casos = {
        {u"1.5"_s, u"."_s, u","_s, u"1,5"_s},
        {u"1.234.567.8"_s, u"."_s, u","_s, u"1,234,567,8"_s},
        {u"aaa"_s, u"a"_s, u"b"_s, u"bbb"_s},
        {u"a..b."_s, u"."_s, u""_s, u"ab"_s},   // removal skips nothing
        {u"a.b"_s, u"."_s, u".."_s, u"a..b"_s}, // inserted text is not scanned
        {u"a.b.c.d"_s, u"."_s, u"xx"_s, u"axxbxxcxxd"_s},
        {u"abc"_s, u""_s, u"x"_s, u"abc"_s},
        {u"abc"_s, u"bc"_s, u"x"_s, u"abc"_s}, // one character is searched, never a text
        {u""_s, u"."_s, u","_s, u""_s},
        {u"😀.😀"_s, u"."_s, u","_s, u"😀,😀"_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(BuscaTroca(c.texto, c.busca, c.troca), c.esperado) << c.texto.toStdString();
}

TEST(QueloUtil, MD5OfAsciiBytesInUpperCaseHex) {
    const std::vector<CasoTexto> casos = {
        {u""_s, u"D41D8CD98F00B204E9800998ECF8427E"_s},
        {u"abc"_s, u"900150983CD24FB0D6963F7D28E17F72"_s},
        {u"The quick brown fox jumps over the lazy dog"_s, u"9E107D9D372BB6826BD81D3542A419D6"_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(MD5(c.entrada), c.esperado) << c.entrada.toStdString();

    // Every non-ASCII character is "?", one per UTF-16 unit.
    const std::vector<CasoTexto> iguais = {
        {u"é"_s, u"?"_s},
        {u"😀"_s, u"??"_s},
        {u"a😀b€"_s, u"a??b?"_s},
        {u"\u007f\u0080"_s, u"\u007f?"_s},
    };
    static const QRegularExpression hex(u"^[0-9A-F]{32}$"_s);
    for (const auto& c : iguais) {
        EXPECT_EQ(MD5(c.entrada), MD5(c.esperado)) << c.entrada.toStdString();
        EXPECT_TRUE(hex.match(MD5(c.entrada)).hasMatch());
    }
}
