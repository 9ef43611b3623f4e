#pragma once

#include <QString>

namespace db {
class Connection;
}

// The figures of the discount windows. B is the base (the sale's items or one item's
// total), D the discount typed, N the new total, L the limit in percent.

// N from D: B - D x B / 100 for a percent, B - D for money.
double Desconto_Novo_Total(double B, double D, bool percentual);
// D from N: 100 - N x 100 / B for a percent (0 on a base of 0, which has no percent),
// B - N for money.
double Desconto_Do_Total(double B, double N, bool percentual);
// A new total below B - B x L / 100 with L above 0 needs a supervisor's permission.
bool Desconto_Alem_Limite(double B, double N, double L);

// The sale's discount.
void Desconto_Geral_Gravar(db::Connection& c, qint32 Venda_ID, double venda_desconto);

// An item's total before discount and its discount; both 0 when the item is gone.
struct TDescontoItem {
    double prod_total = 0;
    double prod_desc = 0;
};
TDescontoItem Desconto_Item_Carregar(db::Connection& c, qint64 id);
// The item's discount, and its line total recomputed from it in the same statement.
void Desconto_Item_Gravar(db::Connection& c, qint64 id, double prod_desc);
