#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Connection;
}

// One `produtos` row as the sale screen and the pickers read it.
struct TProduto {
    qint32 id = 0;
    QString produto;
    QString cbarra;
    QString medida;
    QString marca;
    QString grupo;
    QString tamanho;
    double venda = 0;
    double estoque = 0;
    double promocao = 0;
    double promocao_min = 0;
    QDateTime dt_promocao;
};

// The product search of the sale screen's search box: the barcode, a scale label's code
// part (when balanca_qtdcod > 0) among "KG" products, the id (digits only, fewer than 8)
// or part of the name (any text that is not only digits). The text is always bound,
// never pasted into the statement; "%" and "_" in it are matched literally. The text is
// trimmed first; an empty one matches only products without a barcode. Rows in database
// order.
QList<TProduto> Produto_Pesquisar(db::Connection& c, const QString& texto, qint32 balanca_qtdcod);

// True when the row was found through the scale label: its barcode is the first
// balanca_qtdcod characters of the text, the text holds more than those (the bare code of
// a weighed product is that product at its catalogue price), and its unit is "KG" (any
// case).
bool Produto_Etiqueta_Balanca(const TProduto& p, const QString& texto, qint32 balanca_qtdcod);

// The number of a scale label: the text from character balanca_qtdcod (counting from 1)
// on, with a decimal separator after its second character (0 when it does not read).
// Throws Error "A string deve conter pelo menos N caracteres." for a label shorter than
// balanca_qtdval.
double balanca_valorpeso(const QString& L, qint32 balanca_qtdcod, qint32 balanca_qtdval);

// The product being entered on the sale screen.
struct TProdutoEntrada {
    qint32 Prod_ID = 0; // 0: no product in the entry
    QString Nome;
    QString CBarra;
    QString Medida;
    double Prod_Estoque = 0;
    double Prod_Promo = 0;
    double Prod_Promo_Min = 0;
    QDateTime Prod_Dt_Promo;
    double Prod_Venda = 0;     // unit price used for the item
    double Prod_Venda_Old = 0; // reference price for the discount limit
    double Prod_Quant = 0;
    double Prod_Desc = 0;
    double Prod_Total = 0;
    // The operator typed the unit price: it is the item's price, no promotion on top.
    bool Preco_Digitado = false;
};

// Loads a found product into the entry (step 5 of the search): a quantity given
// beforehand stays, otherwise it becomes 1.
void Produto_Carregar(TProdutoEntrada& e, const TProduto& p);

// What the entry shows, as texts with the money mask, and the figures they hold.
struct TProdutoCalculo {
    double Unitario = 0; // unit price after the promotion
    double Promocao = 0; // promotional discount per unit (0 when none applies)
    QString Lab_Prod_Unitario;
    QString Lab_Prod_Quant;
    QString Lab_Prod_Desc;
    QString Lab_Prod_Total;
    bool Acima_Estoque = false; // the stock is below the quantity
};

// Recomputes Prod_Total and the texts. The promotion applies when Prod_Promo > 0, the
// quantity shown is at least Prod_Promo_Min, `agora` is at or after Prod_Dt_Promo, and
// the price was not typed by the operator.
TProdutoCalculo Produto_Calc(TProdutoEntrada& e, const QString& mascara, const QDateTime& agora);

// The promotion note: "Acima de 3 valor R$ 13,50".
QString Produto_Promo_Texto(const TProdutoEntrada& e, const QString& mascara);

// The price box's rules. `digitado` is the value typed, `mostrado` the unit price shown.
// The box left as Produto_Calc filled it (same text with the mask), or lowered without
// conf_venda_altvalor > 0, keeps the entry's price: valor = Prod_Venda, and the promotion
// still applies once. Any other price is typed: valor = the price, digitado true, after
// the discount limit (a floor compared as the box shows it, "0.00,").
// On Aceito the caller sets Prod_Venda := valor and Preco_Digitado := digitado.
struct TPrecoDigitado {
    enum Resultado { Aceito, Limite } resultado = Aceito;
    double valor = 0;      // the price to use (or the floor, for Limite)
    bool digitado = false; // for Aceito: the new Preco_Digitado
    QString texto;         // text for the box
    QString mensagem;      // the limit message, for Limite
};
TPrecoDigitado Produto_Preco_Digitado(const TProdutoEntrada& e, double digitado, double mostrado,
                                      qint32 conf_venda_altvalor, double conf_Desc_Limit,
                                      const QString& mascara);

// Adds the entry as an item of the sale; the figures stored are those shown with the
// mask. Returns the item's id.
qint64 Produto_Insert(db::Connection& c, qint32 Venda_ID, const QString& Venda_COD,
                      const TProdutoEntrada& e, const QString& mascara, const QDateTime& agora);

// One row of the item list.
struct TItemCupom {
    qint64 id = 0;
    QString produto;
    QString prod_cbarra;
    double prod_qtd = 0;
    double prod_venda = 0;
    double prod_desc = 0;
    double prod_geral = 0;
    bool Acima_Estoque = false; // quantity above the product's stock, or product gone

    QString Linha1() const; // the name in upper case
    // Barcode, quantity X price, discount. The three figures follow Mask_Decimal(), as
    // FloatToString_Right does; the settings keep it equal to conf_Mask_Decimal.
    QString Linha2(const QString& mascara) const;
    QString Valor(const QString& mascara) const; // line total with the mask
};

// The active items of a sale, in database order.
QList<TItemCupom> Cupom_Itens(db::Connection& c, qint32 Venda_ID);
double Cupom_Soma(const QList<TItemCupom>& itens);

// Marks the item removed and, when the sale has a discount, shrinks it in proportion to
// what is left (D1 = D0 x P1 / P0; 0 when P0 is not above 0), both in one transaction.
// Returns the new discount.
double Cupom_Remover_Item(db::Connection& c, qint32 Venda_ID, qint64 item_id, double Venda_Desconto,
                          double Venda_Produtos);

// "ProdList.txt": an empty first line, then up to 1500 product names cut to 50
// characters, in name order, UTF-8 with CR LF. Writes the file whole or not at all and
// returns its lines; a failure to write leaves the old file and still returns the list.
QStringList ProdList_Gerar(db::Connection& c, const QString& arquivo);

// Picture files of the company folder (with trailing separator).
QString Imagem_Produto_Arquivo(const QString& pastaEmpresa, const QString& cbarra);
QString Imagem_Arquivo(const QString& pastaEmpresa, const QString& tabela, qint64 id);
