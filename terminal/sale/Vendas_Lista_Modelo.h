#pragma once

#include "cloud/Vendas_Lista_Core.h"
#include "widgets/Lista_Modelo.h"

#include <QStyledItemDelegate>

// The day's sales as a model: rows are painted by VendasListaDelegate, so a busy day
// costs no more than a quiet one.
class VendasListaModel : public TLista_Modelo<TLista_Linha> {
public:
    using TLista_Modelo::TLista_Modelo;
    QVariant data(const QModelIndex& index, int role) const override;
};

// A sale row: the status picture, the customer, reference and seller lines, and the
// total, date and time on the right; red for a sale not yet sent. A courier header: the
// group picture and "<id> - <NAME>" in bold.
class VendasListaDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where a row's picture lies: a click there on an unsent sale uploads it.
    static QRect Area_Figura(const QRect& linha);

    static constexpr int ALTURA_VENDA = 55;
    static constexpr int ALTURA_GRUPO = 40;
};

// The row's status picture (kind 0 not sent, 1 sent, 2 sent and billed, -1 the courier
// group) drawn into r.
void Desenhar_Figura_Venda(QPainter* p, const QRectF& r, int figura);
