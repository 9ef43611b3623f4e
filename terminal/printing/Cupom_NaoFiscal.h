#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class TDModule;
struct TSettings;

// The non-fiscal receipt of a sale of the local database: 41 columns of text written to
// "PreImpressao.txt" in the program folder and sent with printer profile 001.

// What the receipt shows, as read from the database and the settings.
struct TCupom_Item {
    QString produto; // the name stored with the item
    QString prod_marca;
    QString prod_medida;
    double prod_venda = 0, prod_qtd = 0, prod_desc = 0, prod_descCC = 0;
};

struct TCupom_Cartao {
    QString operadora, forma;
    qint32 parcelas = 0;
    double valor = 0;
};

struct TCupom_Dados {
    // Company and terminal.
    QString Emp_Nome, Emp_Endereco, Emp_Numero, Emp_Bairro, Emp_Cidade, Emp_UF, Emp_Fone;
    QString Emp_Slogan;
    QString conf_Terminal_Tipo;
    qint32 conf_Terminal_Num = 0;
    QString Mascara = QStringLiteral("0.00,");
    // Sale row, with the names joined to it; ids as their column texts.
    QString venda_cod, cliente_id, cliente_cpf, vendedor_id, entregador_id;
    QString Cliente_Nome, Cliente_Endereco, vendedor_Nome, entregador_Nome, Plano_Nome;
    qint32 plano_id = 0;
    double venda_desconto = 0, entrada = 0, pix = 0, cheque = 0, cartao = 0, prazo = 0, troco = 0;
    QList<TCupom_Item> Itens;
    QList<TCupom_Cartao> Cartoes;
    // Profile 001.
    QString Mensagem;
    qint32 Salto = 3;
};

// The receipt's lines, `agora` being the moment printed under the address.
QStringList Cupom_Linhas(const TCupom_Dados& d, const QDateTime& agora);

// Composes the receipt of the sale Venda_ID and, with Imprimir, asks "Deseja Imprimir o
// Cupom Não Fiscal?" and sends it; a second copy is offered once when the settings ask
// for more than one. False, writing nothing, for a printer type that gets no receipt.
// Throws FileError when the preview file or the port fails.
bool Imprime_Cupom_NaoFiscal_LOCAL(TDModule& dm, const TSettings& cfg, qint32 Venda_ID,
                                   bool Imprimir);

// The prints the cloud account renders; the sales list sets them. Unset ones do nothing.
struct TImpressao_Nuvem {
    std::function<bool(qint32 Venda_ID, bool Imprimir)> Imprime_Cupom_NaoFiscal_WEB;
    std::function<bool(qint32 Entregador_ID, bool Imprimir)> Imprime_Lista_Entrega_WEB;
    std::function<void(const QDate& dia)> Imprime_Relatorio_GerencialWEB;
    std::function<void(qint32 Venda_ID)> Imprime_Cupom_Pedido001;
};

// The sales list's receipt: by the detail text of the selected row, trimmed, a courier's
// delivery list ("Entregador", Venda_ID being the courier), a cloud sale (any other
// text) or a sale of this terminal (empty). The result is that of the print called.
bool Imprime_Cupom_NaoFiscal(TDModule& dm, const TSettings& cfg, const QString& Detalhe,
                             qint32 Venda_ID, bool Imprimir, const TImpressao_Nuvem& nuvem = {});

// The selected row of the sales list: its tag and its detail text.
struct TLista_Selecao {
    qint32 Tag = 0;
    QString Detalhe;
};

// The preview's print button: the receipt of the selected row, printed; every error,
// a missing selection among them, ends it without a word.
void Circ_Cupom_PrintClick(TDModule& dm, const TSettings& cfg,
                           const std::optional<TLista_Selecao>& selecao,
                           const TImpressao_Nuvem& nuvem = {});

// The checkout's print step, after the sale is saved (and uploaded): the receipt of the
// concluded sale when "imprimir_venda" is on. Errors reach the caller.
void Venda_Imprimir_Cupom(TDModule& dm, const TSettings& cfg, qint32 Venda_ID);

// The clock of the local prints; tests fix it.
QDateTime Impressao_Agora();
void Impressao_Definir_Relogio(std::function<QDateTime()> relogio);
