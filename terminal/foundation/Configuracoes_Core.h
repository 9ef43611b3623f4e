#pragma once

#include "Settings.h"

#include <QString>
#include <QStringList>

class TDModule;

// What the settings screen shows and writes back. Lists are held as the index of the
// entry shown, -1 when a stored text is not among the entries; such a list keeps its
// setting when saved.
namespace Configuracoes {

// The entries of the lists, in the order shown.
const QStringList& Terminal_Tipos();   // "VENDA", "CAIXA", "ENTREGA"
const QStringList& Desc_Tipos();       // index = conf_DescTipo
const QStringList& Ordens();           // "Nome", "Grupo", "Valor", "Estoque"
const QStringList& Cupom_Modelos();    // index = conf_cupom_modelo - 1
const QStringList& Balanca_Tipos();    // "PESO", "VALOR"
const QStringList& Terminal_Modelos(); // "Nenhum", "Terminal Gertec G2-s Wifi"
const QStringList& Protocolos();       // "HTTP", "HTTPS"
const QStringList& Metodos();          // "POST", "GET", "PUT"

// The ranges of the number boxes.
struct Faixa {
    int minimo;
    int maximo;
};
inline constexpr Faixa Faixa_Terminal_Num{1, 4};
inline constexpr Faixa Faixa_Cupom_Copias{1, 4};
inline constexpr Faixa Faixa_Casa_Decimal{2, 4};
inline constexpr Faixa Faixa_Balanca{0, 13};
inline constexpr double DescOpcional_Maximo = 100; // a percent

// The entry that holds the text, compared without case; -1 when none does.
int Lista_Indice(const QStringList& entradas, const QString& texto);
// The sort list's entry for a stored sort order: "produto" Nome, "grupo" Grupo,
// "venda" Valor, and "Estoque" for anything else (the default "estoque desc, produto"
// among them).
int Ordem_Indice(const QString& Buscar_OrderBy);
// The column the sort list's entry stands for; empty for no entry.
QString Ordem_Coluna(int indice);

} // namespace Configuracoes

// One value per control, named as the controls are.
struct TConfiguracoes_Tela {
    int Cbx_TerminalTipo = -1;
    int Spn_TerminalNum = 1;
    bool Swt_prod_qtd = true;
    bool Swt_prod_valor = true;
    bool Swt_prod_img = false;
    bool Swt_Buscar_Enter = true;
    int Cbx_DescTipo = 0;
    double Edt_DescOpcional = 0;
    int Edt_Casa_Decimal = 2;
    int Cbx_Buscar_OrderBy = 3;
    bool Switch_sugerir_valor = true;
    bool Swt_Cliente_Obriga = false;
    bool Swt_Cliente_Lista = true;
    bool Switch_enviar_venda = true;
    bool Switch_imprimir_venda = false;
    int Cbx_Cupom_Mod = 0;
    int Spn_Cupom_Copias = 1;
    bool Switch_imprimir_pedido = false;
    bool Swt_Listar_Excluidos = false;
    bool Swt_FormaPG_Din = true;
    bool Swt_FormaPG_PIX = true;
    bool Swt_FormaPG_Car = true;
    bool Swt_FormaPG_Che = true;
    int Cbx_balanca_tipo = 1;
    int spn_balanca_qtdcod = 7;
    int spn_balanca_qtdval = 4;
    int Cbx_Terminal_Mod = -1;
    QString Edt_Terminal_File;
    bool Swt_Cert_SSL2 = false;
    bool Swt_Cert_SSL3 = true;
    bool Swt_Cert_TSL1 = true;
    bool Swt_Cert_TSL11 = true;
    bool Swt_Cert_TSL12 = true;
    bool Swt_Cert_TSL13 = true;
    int Cbx_ProtHTTP = 1;
    int Cbx_MetdHTTP = 0;
};

// The screen as it opens: every control from its setting. Numbers are held to their
// boxes' ranges, "Protocolo:" always shows "HTTPS", an empty method shows "POST".
TConfiguracoes_Tela Configuracoes_Carregar(const TSettings& s);
// "Salvar": every control back into its setting; a list without an entry keeps it.
void Configuracoes_Salvar(const TConfiguracoes_Tela& t, TSettings& s);

// The factory reset's question, four paragraphs apart.
QString Padrao_Fabrica_Pergunta();
// The factory reset once confirmed: disconnects the database, deletes the signed-in
// company's folder with everything in it, and "confg.ini". The shipped database and the
// remembered e-mails stay. Whatever cannot be deleted is skipped.
void Padrao_Fabrica(TDModule& DModule, const TSettings& s);
