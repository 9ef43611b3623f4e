#pragma once

#include <QString>

#include <optional>

namespace db {
class Connection;
}

// An item of the open sale as the item cancellation window shows it.
struct TItemCancelamento {
    qint64 id = 0;
    QString produto;
    QString prod_cbarra;
    double prod_qtd = 0;
    double prod_venda = 0;
    double prod_geral = 0;

    QString Linha1() const; // the name
    // Barcode padded and cut to 15, quantity " X " price, each right-aligned in 9.
    QString Linha2() const;
    QString Linha3() const; // line total, "0.00,"
};

// The active item (not removed) with that id.
std::optional<TItemCancelamento> Cancelamento_Item_Carregar(db::Connection& c, qint64 id);
// The first active item of the sale with that barcode.
std::optional<TItemCancelamento> Cancelamento_Item_CBarra(db::Connection& c, const QString& cbarra,
                                                          const QString& Venda_COD);
// Deletes the item row for good; the sale discount is left as it is.
void Cancelamento_Item_Excluir(db::Connection& c, qint64 id);
