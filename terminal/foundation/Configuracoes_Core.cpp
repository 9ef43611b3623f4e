#include "Configuracoes_Core.h"

#include "DModule_Unit.h"
#include "QueloUtil_Unit.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace Configuracoes {

const QStringList& Terminal_Tipos() {
    static const QStringList l{QStringLiteral("VENDA"), QStringLiteral("CAIXA"),
                               QStringLiteral("ENTREGA")};
    return l;
}

const QStringList& Desc_Tipos() {
    static const QStringList l{QString::fromUtf8("Monetário  [R$]"),
                               QStringLiteral("Percentual [ % ]")};
    return l;
}

const QStringList& Ordens() {
    static const QStringList l{QStringLiteral("Nome"), QStringLiteral("Grupo"),
                               QStringLiteral("Valor"), QStringLiteral("Estoque")};
    return l;
}

const QStringList& Cupom_Modelos() {
    static const QStringList l{QStringLiteral("1 Linha"), QStringLiteral("2 Linhas")};
    return l;
}

const QStringList& Balanca_Tipos() {
    static const QStringList l{QStringLiteral("PESO"), QStringLiteral("VALOR")};
    return l;
}

const QStringList& Terminal_Modelos() {
    static const QStringList l{QStringLiteral("Nenhum"),
                               QStringLiteral("Terminal Gertec G2-s Wifi")};
    return l;
}

const QStringList& Protocolos() {
    static const QStringList l{QStringLiteral("HTTP"), QStringLiteral("HTTPS")};
    return l;
}

const QStringList& Metodos() {
    static const QStringList l{QStringLiteral("POST"), QStringLiteral("GET"),
                               QStringLiteral("PUT")};
    return l;
}

int Lista_Indice(const QStringList& entradas, const QString& texto) {
    for (int i = 0; i < entradas.size(); ++i)
        if (entradas[i].compare(texto, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

namespace {
const QStringList& Colunas() {
    static const QStringList l{QStringLiteral("produto"), QStringLiteral("grupo"),
                               QStringLiteral("venda"), QStringLiteral("estoque")};
    return l;
}
} // namespace

int Ordem_Indice(const QString& Buscar_OrderBy) {
    const int i = Lista_Indice(Colunas(), Buscar_OrderBy);
    return i >= 0 ? i : 3;
}

QString Ordem_Coluna(int indice) {
    return indice >= 0 && indice < Colunas().size() ? Colunas()[indice] : QString();
}

} // namespace Configuracoes

namespace {

using namespace Configuracoes;

int limitar(int valor, Faixa f) {
    return std::clamp(valor, f.minimo, f.maximo);
}

// A list keeps its setting when it shows no entry.
QString texto_ou(const QStringList& entradas, int indice, const QString& atual) {
    return indice >= 0 && indice < entradas.size() ? entradas[indice] : atual;
}

int indice_valido(int indice, const QStringList& entradas) {
    return indice >= 0 && indice < entradas.size() ? indice : -1;
}

} // namespace

TConfiguracoes_Tela Configuracoes_Carregar(const TSettings& s) {
    TConfiguracoes_Tela t;
    t.Cbx_TerminalTipo = Lista_Indice(Terminal_Tipos(), s.conf_Terminal_Tipo);
    t.Spn_TerminalNum = limitar(s.conf_Terminal_Num, Faixa_Terminal_Num);
    t.Swt_prod_qtd = s.conf_prod_qtd;
    t.Swt_prod_valor = s.conf_prod_valor;
    t.Swt_prod_img = s.conf_prod_img;
    t.Swt_Buscar_Enter = s.conf_Buscar_Enter;
    t.Cbx_DescTipo = indice_valido(s.conf_DescTipo, Desc_Tipos());
    t.Edt_DescOpcional = std::clamp(s.conf_DescOpcional, 0.0, DescOpcional_Maximo);
    t.Edt_Casa_Decimal = limitar(s.conf_Casa_Decimal, Faixa_Casa_Decimal);
    t.Cbx_Buscar_OrderBy = Ordem_Indice(s.conf_Buscar_OrderBy);
    t.Switch_sugerir_valor = s.conf_sugerir_valor;
    t.Swt_Cliente_Obriga = s.conf_Cliente_Obriga;
    t.Swt_Cliente_Lista = s.conf_Cliente_Lista;
    t.Switch_enviar_venda = s.conf_enviar_venda;
    t.Switch_imprimir_venda = s.conf_imprimir_venda;
    t.Cbx_Cupom_Mod = indice_valido(s.conf_cupom_modelo - 1, Cupom_Modelos());
    t.Spn_Cupom_Copias = limitar(s.conf_cupom_copias, Faixa_Cupom_Copias);
    t.Switch_imprimir_pedido = s.conf_imprimir_pedido;
    t.Swt_Listar_Excluidos = s.conf_Listar_Excluidos;
    t.Swt_FormaPG_Din = s.conf_FormaPG_Din;
    t.Swt_FormaPG_PIX = s.conf_FormaPG_PIX;
    t.Swt_FormaPG_Car = s.conf_FormaPG_Car;
    t.Swt_FormaPG_Che = s.conf_FormaPG_Che;
    t.Cbx_balanca_tipo = Lista_Indice(Balanca_Tipos(), s.conf_balanca_tipo);
    t.spn_balanca_qtdcod = limitar(s.conf_balanca_qtdcod, Faixa_Balanca);
    t.spn_balanca_qtdval = limitar(s.conf_balanca_qtdval, Faixa_Balanca);
    t.Cbx_Terminal_Mod = Lista_Indice(Terminal_Modelos(), s.conf_terminal_mod);
    t.Edt_Terminal_File = s.conf_terminal_file;
    t.Swt_Cert_SSL2 = s.conf_Cert_SSL2;
    t.Swt_Cert_SSL3 = s.conf_Cert_SSL3;
    t.Swt_Cert_TSL1 = s.conf_Cert_TLS1;
    t.Swt_Cert_TSL11 = s.conf_Cert_TLS11;
    t.Swt_Cert_TSL12 = s.conf_Cert_TLS12;
    t.Swt_Cert_TSL13 = s.conf_Cert_TLS13;
    // Offered as the secure choice whatever is stored: a save keeps "HTTPS" unless the
    // operator picks "HTTP" again.
    t.Cbx_ProtHTTP = Lista_Indice(Protocolos(), QStringLiteral("HTTPS"));
    t.Cbx_MetdHTTP = s.conf_MetdHTTP.isEmpty() ? 0 : Lista_Indice(Metodos(), s.conf_MetdHTTP);
    return t;
}

void Configuracoes_Salvar(const TConfiguracoes_Tela& t, TSettings& s) {
    s.conf_Terminal_Tipo = texto_ou(Terminal_Tipos(), t.Cbx_TerminalTipo, s.conf_Terminal_Tipo);
    s.conf_Terminal_Num = t.Spn_TerminalNum;
    s.conf_prod_qtd = t.Swt_prod_qtd;
    s.conf_prod_valor = t.Swt_prod_valor;
    s.conf_prod_img = t.Swt_prod_img;
    s.conf_Buscar_Enter = t.Swt_Buscar_Enter;
    if (indice_valido(t.Cbx_DescTipo, Desc_Tipos()) >= 0) s.conf_DescTipo = t.Cbx_DescTipo;
    s.conf_DescOpcional = t.Edt_DescOpcional;
    s.conf_Casa_Decimal = t.Edt_Casa_Decimal;
    const QString coluna = Ordem_Coluna(t.Cbx_Buscar_OrderBy);
    if (!coluna.isEmpty()) s.conf_Buscar_OrderBy = coluna;
    s.conf_sugerir_valor = t.Switch_sugerir_valor;
    s.conf_Cliente_Obriga = t.Swt_Cliente_Obriga;
    s.conf_Cliente_Lista = t.Swt_Cliente_Lista;
    s.conf_enviar_venda = t.Switch_enviar_venda;
    s.conf_imprimir_venda = t.Switch_imprimir_venda;
    if (indice_valido(t.Cbx_Cupom_Mod, Cupom_Modelos()) >= 0)
        s.conf_cupom_modelo = t.Cbx_Cupom_Mod + 1;
    s.conf_cupom_copias = t.Spn_Cupom_Copias;
    s.conf_imprimir_pedido = t.Switch_imprimir_pedido;
    s.conf_Listar_Excluidos = t.Swt_Listar_Excluidos;
    s.conf_FormaPG_Din = t.Swt_FormaPG_Din;
    s.conf_FormaPG_PIX = t.Swt_FormaPG_PIX;
    s.conf_FormaPG_Car = t.Swt_FormaPG_Car;
    s.conf_FormaPG_Che = t.Swt_FormaPG_Che;
    s.conf_balanca_tipo = texto_ou(Balanca_Tipos(), t.Cbx_balanca_tipo, s.conf_balanca_tipo);
    s.conf_balanca_qtdcod = t.spn_balanca_qtdcod;
    s.conf_balanca_qtdval = t.spn_balanca_qtdval;
    s.conf_terminal_mod = texto_ou(Terminal_Modelos(), t.Cbx_Terminal_Mod, s.conf_terminal_mod);
    s.conf_terminal_file = t.Edt_Terminal_File;
    s.conf_Cert_SSL2 = t.Swt_Cert_SSL2;
    s.conf_Cert_SSL3 = t.Swt_Cert_SSL3;
    s.conf_Cert_TLS1 = t.Swt_Cert_TSL1;
    s.conf_Cert_TLS11 = t.Swt_Cert_TSL11;
    s.conf_Cert_TLS12 = t.Swt_Cert_TSL12;
    s.conf_Cert_TLS13 = t.Swt_Cert_TSL13;
    s.conf_ProtHTTP = texto_ou(Protocolos(), t.Cbx_ProtHTTP, s.conf_ProtHTTP);
    s.conf_MetdHTTP = texto_ou(Metodos(), t.Cbx_MetdHTTP, s.conf_MetdHTTP);
}

QString Padrao_Fabrica_Pergunta() {
    return QString::fromUtf8(
        "Padrão de Fabrica\n\n"
        "Isso excluirá permanentemente as vendas, produtos, cliente e planos de pagamento "
        "deste terminal, mais não afetará as que já foram enviadas para nuvem.\n\n"
        "O sistema também retornará para as configurações padrão, sendo esquecidas suas "
        "preferencias de busca e inclusão do produto.\n\n"
        "Deseja realmente restaurar o sistema?");
}

void Padrao_Fabrica(TDModule& DModule, const TSettings& s) {
    DModule.FDQuery1.close();
    DModule.FDQuery2.close();
    DModule.FDQuery3.close();
    DModule.FDQuery4.close();
    DModule.FDConnection1.close();

    // With no company signed in the company folder would be the program folder itself,
    // with the program, the shipped database and the remembered e-mails: only a
    // company's own folder goes.
    if (!SoNumeros(s.Emp_CNPJ).isEmpty()) {
        // Depth first; what cannot be removed is passed over and the rest still goes.
        QDir(DModule.Pasta_Empresa(s)).removeRecursively();
    }
    QFile::remove(SettingsFile(DModule.Sistema_DirName).fileName());
}
