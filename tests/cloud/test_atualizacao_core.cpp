// Where the update's exchanges go: the program's own hosts unless the environment names
// others, and the FTP port 21 unless the host carries one.

#include "cloud/Atualizacao.h"

#include <gtest/gtest.h>

namespace {

// Sets a variable for one case and puts back what the test program had.
class Variavel {
public:
    Variavel(const char* nome, const char* valor)
        : m_nome(nome), m_havia(qEnvironmentVariableIsSet(nome)), m_antes(qgetenv(nome)) {
        if (valor)
            qputenv(nome, valor);
        else
            qunsetenv(nome);
    }
    ~Variavel() {
        if (m_havia)
            qputenv(m_nome, m_antes);
        else
            qunsetenv(m_nome);
    }

private:
    const char* m_nome;
    bool m_havia;
    QByteArray m_antes;
};

TEST(AtualizacaoServidor, HostPortAndLogin) {
    const struct {
        const char* variavel;
        const char* host;
        int porta;
    } casos[] = {
        {nullptr, "ftp.balcona.com.br", 21},
        {"127.0.0.1:2121", "127.0.0.1", 2121},
        {"arquivos.exemplo.com.br", "arquivos.exemplo.com.br", 21},
    };
    for (const auto& c : casos) {
        Variavel host("ONDAVIA_FTP_HOST", c.variavel);
        const TFTP_Servidor s = Atualizacao_Servidor();
        EXPECT_EQ(s.host, QString::fromLatin1(c.host)) << (c.variavel ? c.variavel : "fixed");
        EXPECT_EQ(s.porta, c.porta) << (c.variavel ? c.variavel : "fixed");
    }

    Variavel usuario("ONDAVIA_FTP_USER", nullptr);
    Variavel senha("ONDAVIA_FTP_PASSWORD", nullptr);
    const TFTP_Servidor fixo = Atualizacao_Servidor();
    EXPECT_TRUE(fixo.usuario.contains(QLatin1Char('@'))); // an e-mail address
    EXPECT_EQ(fixo.senha.size(), 12);
    for (QChar ch : fixo.senha)
        EXPECT_TRUE(ch >= QLatin1Char('a') && ch <= QLatin1Char('z'));
}

TEST(AtualizacaoServidor, VersionQueryAddress) {
    {
        Variavel host("ONDAVIA_UPDATE_HOST", nullptr);
        EXPECT_EQ(Atualizacao_URL(), "http://www.balcona.com.br/downloads/web_versao.php");
    }
    Variavel host("ONDAVIA_UPDATE_HOST", "127.0.0.1:8765");
    EXPECT_EQ(Atualizacao_URL(), "http://127.0.0.1:8765/downloads/web_versao.php");
}

TEST(AtualizacaoServidor, InstallerLandsInTheProgramFolder) {
    EXPECT_EQ(Atualizacao_Destino("/opt/balcona/"), "/opt/balcona/Instalador.exe");
    EXPECT_EQ(Atualizacao_Destino("/opt/balcona"), "/opt/balcona/Instalador.exe");
}

} // namespace
