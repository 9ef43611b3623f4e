#include "Vendas_Lista_Modelo.h"

#include "widgets/Desenhos.h"

#include <QPainter>
#include <QPainterPath>

QVariant VendasListaModel::data(const QModelIndex& index, int role) const {
    const TLista_Linha* l = Da(index);
    if (!l) return {};
    switch (role) {
    case Qt::DisplayRole:
        return l->linha1;
    case Qt::UserRole:
        return l->tag;
    case Qt::ToolTipRole:
        return l->tipo == TLista_Tipo::Local ? QStringLiteral("Venda não enviada: clique no "
                                                              "ícone para enviar")
                                             : QVariant();
    default:
        return {};
    }
}

void Desenhar_Figura_Venda(QPainter* p, const QRectF& r, int figura) {
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    if (figura < 0) {
        Desenhar_Pessoa(p, r, QColor(0x45, 0xA3, 0xCE));
        p->restore();
        return;
    }
    const QColor cor = figura == 0   ? QColor(0xFF, 0x00, 0x00)
                       : figura == 1 ? QColor(0x45, 0xA3, 0xCE)
                                     : QColor(0x2E, 0x9E, 0x4F);
    // A cloud, with an arrow up (to send) or a tick (sent); billed sales in green.
    const QRectF c(r.left(), r.top() + r.height() * 0.2, r.width(), r.height() * 0.6);
    QPainterPath nuvem;
    nuvem.addRoundedRect(QRectF(c.left(), c.top() + c.height() * 0.45, c.width(),
                                c.height() * 0.55),
                         c.height() * 0.27, c.height() * 0.27);
    nuvem.addEllipse(QRectF(c.left() + c.width() * 0.12, c.top() + c.height() * 0.25,
                            c.width() * 0.42, c.height() * 0.6));
    nuvem.addEllipse(QRectF(c.left() + c.width() * 0.35, c.top(), c.width() * 0.5,
                            c.height() * 0.75));
    nuvem.setFillRule(Qt::WindingFill);
    p->fillPath(nuvem.simplified(), cor);
    QPen pen(Qt::white, qMax(1.5, r.width() / 12));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p->setPen(pen);
    const QPointF m = c.center() + QPointF(0, c.height() * 0.1);
    const double u = c.height() * 0.22;
    if (figura == 0) {
        p->drawLine(m + QPointF(0, u), m - QPointF(0, u));
        p->drawLine(m - QPointF(0, u), m + QPointF(-u * 0.8, -u * 0.2));
        p->drawLine(m - QPointF(0, u), m + QPointF(u * 0.8, -u * 0.2));
    } else {
        p->drawLine(m + QPointF(-u, 0), m + QPointF(-u * 0.2, u * 0.8));
        p->drawLine(m + QPointF(-u * 0.2, u * 0.8), m + QPointF(u * 1.1, -u * 0.8));
    }
    p->restore();
}

QRect VendasListaDelegate::Area_Figura(const QRect& linha) {
    return QRect(linha.left() + 30, linha.top() + (linha.height() - 30) / 2, 30, 30);
}

void VendasListaDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const auto* modelo = static_cast<const VendasListaModel*>(index.model());
    if (!modelo->Tem(index.row())) return;
    const TLista_Linha* l = &modelo->Linha(index.row());
    p->save();
    const QRect r = option.rect.adjusted(0, 0, -10, 0); // outer right margin
    const bool selecionada = option.state & QStyle::State_Selected;
    p->fillRect(r, selecionada ? QColor(0xD6, 0xEA, 0xF8) : QColor(Qt::white));
    if (selecionada) p->fillRect(QRect(r.left(), r.top(), 5, r.height()), QColor(0x45, 0xA3, 0xCE));
    p->setPen(QColor(0xE0, 0xE0, 0xE0));
    p->drawLine(r.bottomLeft(), r.bottomRight());

    if (l->tipo == TLista_Tipo::Entregador) {
        const QRect fig(r.left() + 5, r.top() + 5, 30, r.height() - 15);
        Desenhar_Figura_Venda(p, fig, -1);
        QFont f = option.font;
        f.setPointSize(14);
        f.setBold(true);
        p->setFont(f);
        p->setPen(Qt::black);
        p->drawText(QRect(fig.right() + 10, r.top() + 5, r.width() - 60, r.height() - 15),
                    Qt::AlignLeft | Qt::AlignVCenter, l->linha1);
        p->restore();
        return;
    }

    const bool local = l->tipo == TLista_Tipo::Local;
    const QColor principal = local ? QColor(0xFF, 0x00, 0x00) : QColor(Qt::black);
    const QColor secundaria = local ? QColor(0xCD, 0x5C, 0x5C) : QColor(0x80, 0x80, 0x80);
    Desenhar_Figura_Venda(p, Area_Figura(r), l->figura);

    const int x = r.left() + 30 + 30 + 20;
    const int direita = 80 + 10;
    const QRect meio(x, r.top() + 5, r.right() - direita - x - 10, r.height() - 10);
    QFont f12 = option.font;
    f12.setPointSize(12);
    f12.setBold(false);
    QFont f10 = f12;
    f10.setPointSize(10);
    p->setFont(f12);
    p->setPen(principal);
    const QFontMetrics m12(f12);
    p->drawText(QRect(meio.left(), meio.top(), meio.width(), m12.height()),
                Qt::AlignLeft | Qt::AlignTop,
                m12.elidedText(l->linha1, Qt::ElideRight, meio.width()));
    p->setFont(f10);
    p->setPen(secundaria);
    const QFontMetrics m10(f10);
    p->drawText(QRect(meio.left(), meio.top() + m12.height(), meio.width(), 14),
                Qt::AlignLeft | Qt::AlignVCenter,
                m10.elidedText(l->linha2, Qt::ElideRight, meio.width()));
    p->drawText(QRect(meio.left(), meio.top() + m12.height() + 14, meio.width(), 14),
                Qt::AlignLeft | Qt::AlignVCenter,
                m10.elidedText(l->linha3, Qt::ElideRight, meio.width()));

    const QRect col(r.right() - direita, r.top() + 5, 80, r.height() - 10);
    QFont total = f12;
    total.setBold(true);
    p->setFont(total);
    p->setPen(principal);
    p->drawText(QRect(col.left() - 40, col.top(), col.width() + 40, 16),
                Qt::AlignRight | Qt::AlignVCenter, l->total);
    p->setFont(f10);
    p->setPen(secundaria);
    p->drawText(QRect(col.left(), col.top() + 16, col.width(), 14),
                Qt::AlignRight | Qt::AlignVCenter, l->data);
    p->drawText(QRect(col.left(), col.top() + 30, col.width(), 14),
                Qt::AlignRight | Qt::AlignVCenter, l->hora);
    p->restore();
}

QSize VendasListaDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const auto* modelo = static_cast<const VendasListaModel*>(index.model());
    const TLista_Linha* l = modelo->Tem(index.row()) ? &modelo->Linha(index.row()) : nullptr;
    const int altura = l && l->tipo == TLista_Tipo::Entregador ? ALTURA_GRUPO : ALTURA_VENDA;
    return QSize(option.rect.width(), altura);
}
