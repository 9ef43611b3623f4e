#include "Cupom_Lista.h"

#include "widgets/Desenhos.h"

#include <QPainter>
#include <QPainterPath>

void CupomModel::Definir(QList<TItemCupom> itens, const QString& mascara) {
    m_mascara = mascara;
    TLista_Modelo::Definir(std::move(itens));
}

void CupomModel::Limpar() {
    TLista_Modelo::Definir({});
}

QVariant CupomModel::data(const QModelIndex& index, int role) const {
    const TItemCupom* linha = Da(index);
    if (!linha) return {};
    const TItemCupom& item = *linha;
    switch (role) {
    case Qt::DisplayRole:
        return item.Linha1();
    case Linha2Role:
        return item.Linha2(m_mascara);
    case ValorRole:
        return item.Valor(m_mascara);
    case ItemIdRole:
        return item.id;
    case AcimaEstoqueRole:
        return item.Acima_Estoque;
    case Qt::ToolTipRole:
        return item.Acima_Estoque ? QStringLiteral("Produto acima do estoque") : QVariant();
    default:
        return {};
    }
}

namespace {

// The alert triangle above stock, else the cart.
void desenharIconeItem(QPainter* p, const QRectF& r, bool alerta) {
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    if (alerta) {
        QPainterPath tri;
        tri.moveTo(r.center().x(), r.top() + 2);
        tri.lineTo(r.right() - 2, r.bottom() - 2);
        tri.lineTo(r.left() + 2, r.bottom() - 2);
        tri.closeSubpath();
        p->fillPath(tri, QColor(0xE5, 0x39, 0x35));
        p->setPen(Qt::white);
        QFont f = p->font();
        f.setBold(true);
        f.setPixelSize(int(r.height() * 0.55));
        p->setFont(f);
        p->drawText(r.adjusted(0, r.height() * 0.2, 0, 0), Qt::AlignCenter, QStringLiteral("!"));
    } else {
        Desenhar_Carrinho(p, r, QColor(0x45, 0xA3, 0xCE));
    }
    p->restore();
}

} // namespace

QSize CupomDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), ALTURA};
}

void CupomDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    p->save();
    const QRect r = option.rect;
    const bool selecionada = option.state & QStyle::State_Selected;
    const bool acima = index.data(CupomModel::AcimaEstoqueRole).toBool();
    p->fillRect(r, selecionada ? QColor(0xD6, 0xEC, 0xF6)
                               : (index.row() % 2 ? QColor(0xF7, 0xF9, 0xFA) : Qt::white));

    desenharIconeItem(p, QRectF(r.left() + 8, r.top() + 13, 32, 32), acima);

    const QString valor = index.data(CupomModel::ValorRole).toString();
    const QFont fValor = Fonte_Courier(14, true);
    const int largValor = QFontMetrics(fValor).horizontalAdvance(valor) + 16;
    p->setFont(fValor);
    p->setPen(Qt::black);
    p->drawText(QRect(r.right() - largValor, r.top(), largValor - 8, r.height()),
                Qt::AlignRight | Qt::AlignVCenter, valor);

    const QRect texto(r.left() + 50, r.top() + 4, r.width() - 50 - largValor, r.height() - 8);
    p->setFont(Fonte_Courier(14, true));
    p->drawText(
        texto.adjusted(0, 0, 0, -texto.height() / 2), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(p->font()).elidedText(index.data().toString(), Qt::ElideRight, texto.width()));
    p->setFont(Fonte_Courier(13, false));
    p->setPen(acima ? QColor(Qt::red) : QColor(0x33, 0x33, 0x33));
    p->drawText(texto.adjusted(0, texto.height() / 2, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                index.data(CupomModel::Linha2Role).toString());

    p->setPen(QColor(0xE0, 0xE0, 0xE0));
    p->drawLine(r.bottomLeft(), r.bottomRight());
    p->restore();
}
