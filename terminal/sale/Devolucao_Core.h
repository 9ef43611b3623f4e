#pragma once

#include "sale/Produto_Core.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Connection;
}

// The returns window gathers what a customer brings back; it stores nothing.

// The reasons offered, the first one preselected.
QStringList Devolucao_Motivos();

// The product of the return and its figures.
struct TDevolucaoProduto {
    qint32 Prod_ID = 0;
    double Prod_Estoque = 0;
    double Prod_Promo = 0;
    double Prod_Promo_Min = 0;
    QDateTime Prod_Dt_Promo;
    double Prod_Venda = 0;
    double Prod_Venda_Old = 0;
    qint32 Prod_Quant = 0;
    double Prod_Desc = 0; // always 0
    double Prod_Total = 0;
};

// The sale screen's search without the scale label: barcode, id (digits only, fewer than
// 8) or part of the name.
QList<TProduto> Devolucao_Pesquisar(db::Connection& c, const QString& texto);
// Loads a found product: its price is both prices, and the quantity becomes 1 unless one
// is already loaded.
void Devolucao_Carregar(TDevolucaoProduto& p, const TProduto& achado);
// Prod_Total := Prod_Quant x Prod_Venda - Prod_Desc.
void Devolucao_Calc(TDevolucaoProduto& p);
