#include "Desenhos.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QFont Fonte_Courier(int pontos, bool negrito) {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setPointSize(pontos);
    f.setBold(negrito);
    return f;
}

void Desenhar_Carrinho(QPainter* p, const QRectF& r, const QColor& cor) {
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    const qreal w = r.width(), h = r.height();
    auto pt = [&](qreal x, qreal y) { return QPointF(r.left() + x * w, r.top() + y * h); };
    p->setPen(QPen(cor, w / 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QColor claro = cor;
    claro.setAlpha(70);
    p->setBrush(claro);
    QPainterPath cesta;
    cesta.moveTo(pt(0.02, 0.12));
    cesta.lineTo(pt(0.18, 0.12));
    cesta.lineTo(pt(0.22, 0.28));
    cesta.lineTo(pt(0.96, 0.28));
    cesta.lineTo(pt(0.86, 0.64));
    cesta.lineTo(pt(0.32, 0.64));
    cesta.lineTo(pt(0.22, 0.28));
    p->drawPath(cesta);
    p->setBrush(cor);
    p->setPen(Qt::NoPen);
    p->drawEllipse(pt(0.38, 0.84), w * 0.08, w * 0.08);
    p->drawEllipse(pt(0.80, 0.84), w * 0.08, w * 0.08);
    p->restore();
}

void Desenhar_Pessoa(QPainter* p, const QRectF& r, const QColor& cor) {
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(Qt::NoPen);
    p->setBrush(cor);
    const qreal w = r.width();
    p->drawEllipse(QPointF(r.center().x(), r.top() + w * 0.28), w * 0.22, w * 0.22);
    p->drawPie(QRectF(r.left() + w * 0.1, r.top() + w * 0.55, w * 0.8, w * 0.8), 0, 180 * 16);
    p->restore();
}

QIcon Icone_Lupa(const QColor& cor) {
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(cor, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(QPointF(20, 20), 12, 12);
    p.drawLine(QPointF(29, 29), QPointF(42, 42));
    return QIcon(pm);
}

QIcon Icone_Pessoa(const QColor& cor) {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    Desenhar_Pessoa(&p, QRectF(0, 0, 64, 64), cor);
    return QIcon(pm);
}
