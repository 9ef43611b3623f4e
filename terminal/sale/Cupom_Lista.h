#pragma once

#include "sale/Produto_Core.h"
#include "widgets/Lista_Modelo.h"

#include <QStyledItemDelegate>

// The sale's item list as a model: rows are painted by CupomDelegate, so a list of a
// thousand items costs no more than one of ten.
class CupomModel : public TLista_Modelo<TItemCupom> {
public:
    enum Roles { ItemIdRole = Qt::UserRole + 1, AcimaEstoqueRole, Linha2Role, ValorRole };

    using TLista_Modelo::TLista_Modelo;

    void Definir(QList<TItemCupom> itens, const QString& mascara);
    void Limpar();

    QVariant data(const QModelIndex& index, int role) const override;

private:
    QString m_mascara;
};

// One item row: the cart (or alert) icon, the name in bold Courier New, the barcode,
// quantity, price and discount line (red above stock), and the line total on the right.
class CupomDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static constexpr int ALTURA = 58;
};
