// What the settings screen shows for the stored preferences, what it writes back, and
// the factory reset's work on the program folder.

#include "foundation/Configuracoes_Core.h"
#include "foundation/DModule_Unit.h"
#include "foundation/Settings.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

using namespace Configuracoes;

TEST(ConfiguracoesTela, ListsFindTheStoredTextWithoutCase) {
    const struct {
        const QStringList& entradas;
        const char* texto;
        int indice;
    } casos[] = {
        {Terminal_Tipos(), "Caixa", 1},
        {Terminal_Tipos(), "entrega", 2},
        {Terminal_Tipos(), "Balcão", -1},
        {Terminal_Tipos(), "", -1},
        {Balanca_Tipos(), "valor", 1},
        {Balanca_Tipos(), "PESO", 0},
        {Terminal_Modelos(), "terminal gertec g2-s wifi", 1},
        {Metodos(), "put", 2},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Lista_Indice(c.entradas, QString::fromUtf8(c.texto)), c.indice) << c.texto;
}

TEST(ConfiguracoesTela, SortOrderMapsToOneColumn) {
    const struct {
        const char* guardado;
        const char* entrada;
        const char* gravado;
    } casos[] = {
        {"produto", "Nome", "produto"},
        {"grupo", "Grupo", "grupo"},
        {"venda", "Valor", "venda"},
        {"estoque", "Estoque", "estoque"},
        {"estoque desc, produto", "Estoque", "estoque"}, // the default
        {"produto desc", "Estoque", "estoque"},
        {"", "Estoque", "estoque"},
    };
    for (const auto& c : casos) {
        TSettings s;
        s.conf_Buscar_OrderBy = QString::fromLatin1(c.guardado);
        const TConfiguracoes_Tela t = Configuracoes_Carregar(s);
        EXPECT_EQ(Ordens().value(t.Cbx_Buscar_OrderBy), QString::fromLatin1(c.entrada))
            << c.guardado;
        Configuracoes_Salvar(t, s);
        EXPECT_EQ(s.conf_Buscar_OrderBy, QString::fromLatin1(c.gravado)) << c.guardado;
    }
}

// A save without changes: every switch as it was, the lists as their entries spell
// them, the protocol always HTTPS, the receipt model through its index.
TEST(ConfiguracoesTela, SaveWithoutChangesKeepsSwitchesAndNormalisesTexts) {
    TSettings s; // the defaults of a fresh terminal
    s.conf_prod_img = true;
    s.conf_Buscar_Enter = false;
    s.conf_prod_valor = false;
    s.conf_Cliente_Obriga = true;
    s.conf_FormaPG_Che = false;
    s.conf_Cert_SSL2 = true;
    s.conf_Cert_TLS12 = false;
    s.conf_cupom_modelo = 2;
    s.conf_DescTipo = 1;
    s.conf_DescOpcional = 7.5;
    s.conf_terminal_file = QStringLiteral("D:\\Consulta\\produtos.txt");
    const TSettings antes = s;

    Configuracoes_Salvar(Configuracoes_Carregar(s), s);

    const bool TSettings::*chaves[] = {
        &TSettings::conf_prod_qtd,         &TSettings::conf_prod_valor,
        &TSettings::conf_prod_img,         &TSettings::conf_Buscar_Enter,
        &TSettings::conf_sugerir_valor,    &TSettings::conf_Cliente_Obriga,
        &TSettings::conf_Cliente_Lista,    &TSettings::conf_enviar_venda,
        &TSettings::conf_imprimir_venda,   &TSettings::conf_imprimir_pedido,
        &TSettings::conf_Listar_Excluidos, &TSettings::conf_FormaPG_Din,
        &TSettings::conf_FormaPG_PIX,      &TSettings::conf_FormaPG_Car,
        &TSettings::conf_FormaPG_Che,      &TSettings::conf_Cert_SSL2,
        &TSettings::conf_Cert_SSL3,        &TSettings::conf_Cert_TLS1,
        &TSettings::conf_Cert_TLS11,       &TSettings::conf_Cert_TLS12,
        &TSettings::conf_Cert_TLS13};
    for (auto chave : chaves)
        EXPECT_EQ(s.*chave, antes.*chave);

    EXPECT_EQ(s.conf_ProtHTTP, "HTTPS");
    EXPECT_EQ(s.conf_Buscar_OrderBy, "estoque");
    EXPECT_EQ(s.conf_Terminal_Tipo, "CAIXA");
    EXPECT_EQ(s.conf_balanca_tipo, "VALOR");
    EXPECT_EQ(s.conf_MetdHTTP, "POST");
    EXPECT_EQ(s.conf_terminal_mod, ""); // no entry shown: kept
    EXPECT_EQ(s.conf_cupom_modelo, 2);
    EXPECT_EQ(s.conf_DescTipo, 1);
    EXPECT_DOUBLE_EQ(s.conf_DescOpcional, 7.5);
    EXPECT_EQ(s.conf_terminal_file, antes.conf_terminal_file);
    for (auto numero : {&TSettings::conf_Terminal_Num, &TSettings::conf_cupom_copias,
                        &TSettings::conf_Casa_Decimal, &TSettings::conf_balanca_qtdcod,
                        &TSettings::conf_balanca_qtdval})
        EXPECT_EQ(s.*numero, antes.*numero);
}

TEST(ConfiguracoesTela, ListWithoutEntryKeepsItsSetting) {
    TSettings s;
    s.conf_Terminal_Tipo = QStringLiteral("Quiosque");
    s.conf_terminal_mod = QStringLiteral("Outro leitor");
    s.conf_cupom_modelo = 7;
    s.conf_DescTipo = 4;
    s.conf_MetdHTTP = QStringLiteral("DELETE");
    s.conf_balanca_tipo = QStringLiteral("quilo");
    const TConfiguracoes_Tela t = Configuracoes_Carregar(s);
    for (int indice : {t.Cbx_TerminalTipo, t.Cbx_Terminal_Mod, t.Cbx_Cupom_Mod, t.Cbx_DescTipo,
                       t.Cbx_MetdHTTP, t.Cbx_balanca_tipo})
        EXPECT_EQ(indice, -1);

    Configuracoes_Salvar(t, s);
    EXPECT_EQ(s.conf_Terminal_Tipo, "Quiosque");
    EXPECT_EQ(s.conf_terminal_mod, "Outro leitor");
    EXPECT_EQ(s.conf_cupom_modelo, 7);
    EXPECT_EQ(s.conf_DescTipo, 4);
    EXPECT_EQ(s.conf_MetdHTTP, "DELETE");
    EXPECT_EQ(s.conf_balanca_tipo, "quilo");
}

TEST(ConfiguracoesTela, ChosenEntriesAreWrittenAsTheirTexts) {
    TSettings s;
    TConfiguracoes_Tela t = Configuracoes_Carregar(s);
    t.Cbx_TerminalTipo = 2;
    t.Cbx_Cupom_Mod = 0;
    t.Cbx_ProtHTTP = 0;
    t.Cbx_MetdHTTP = 1;
    t.Cbx_Terminal_Mod = 1;
    t.Cbx_balanca_tipo = 0;
    t.Cbx_Buscar_OrderBy = 2;
    Configuracoes_Salvar(t, s);
    EXPECT_EQ(s.conf_Terminal_Tipo, "ENTREGA");
    EXPECT_EQ(s.conf_cupom_modelo, 1);
    EXPECT_EQ(s.conf_ProtHTTP, "HTTP");
    EXPECT_EQ(s.conf_MetdHTTP, "GET");
    EXPECT_EQ(s.conf_terminal_mod, "Terminal Gertec G2-s Wifi");
    EXPECT_EQ(s.conf_balanca_tipo, "PESO");
    EXPECT_EQ(s.conf_Buscar_OrderBy, "venda");
}

class PadraoFabrica : public ::testing::Test {
protected:
    // A terminal in use: the shipped database, the settings, the remembered e-mails and
    // a company folder with its database, pictures and name list.
    void SetUp() override {
        dir.write("dbase.s3db", "shipped");
        dir.write("confg.ini", "[conf]\r\nprod_qtd=0\r\n");
        dir.write("Edt_Usuario_Email.items", "caixa@loja.com.br\r\n");
        QDir().mkpath(dir.file("11222333000181/imagens/produtos"));
        dir.write("11222333000181/dbase.s3db", "company");
        dir.write("11222333000181/ProdList.txt", "\r\nArroz\r\n");
        dir.write("11222333000181/imagens/produtos/1.png", "png");
        dir.write("11222333000181/imagens/empresas.png", "png");
    }
    TestDir dir;
};

TEST_F(PadraoFabrica, RemovesTheCompanyFolderAndTheSettingsOnly) {
    TDModule dm(dir.path());
    TSettings s;
    s.Emp_CNPJ = QStringLiteral("11.222.333/0001-81");
    dm.FDConnection1.open(dir.file("11222333000181/empresa.s3db"));

    Padrao_Fabrica(dm, s);

    EXPECT_FALSE(dm.FDConnection1.isOpen());
    EXPECT_FALSE(QDir(dir.file("11222333000181")).exists());
    EXPECT_FALSE(dir.exists("confg.ini"));
    EXPECT_EQ(dir.read("dbase.s3db"), "shipped");
    EXPECT_EQ(dir.read("Edt_Usuario_Email.items"), "caixa@loja.com.br\r\n");
}

// Nobody signed in: the company folder would be the program folder itself.
TEST_F(PadraoFabrica, WithoutACompanyTheProgramFolderStays) {
    TDModule dm(dir.path());
    Padrao_Fabrica(dm, TSettings{});
    EXPECT_FALSE(dir.exists("confg.ini"));
    EXPECT_EQ(dir.read("dbase.s3db"), "shipped");
    EXPECT_TRUE(dir.exists("Edt_Usuario_Email.items"));
    EXPECT_TRUE(dir.exists("11222333000181/dbase.s3db"));
}

TEST(ConfiguracoesTela, SavingPreferencesAloneLeavesTheUsersSections) {
    TestDir dir;
    SettingsFile arquivo(dir.path());
    TSettings usuario;
    usuario.Usuario_Email = QStringLiteral("caixa@loja.com.br");
    usuario.Usuario_Password = QStringLiteral("segredo");
    usuario.Emp_Nome = QStringLiteral("Mercadinho");
    arquivo.IniFile_Salva(usuario, usuario.Usuario_Email);

    TSettings s;
    s.conf_prod_qtd = false;
    arquivo.Conf_Salva(s);

    TSettings lido;
    arquivo.Open_User_OLD(lido, usuario.Usuario_Email, usuario.Usuario_Password);
    EXPECT_EQ(lido.Emp_Nome, "Mercadinho");
    arquivo.IniFile_Read(lido, usuario.Usuario_Email);
    EXPECT_FALSE(lido.conf_prod_qtd);
}

} // namespace
