#include "Switch.h"

#include <QPainter>
#include <QSignalBlocker>

Switch::Switch(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void Switch::setCheckedSilently(bool on) {
    const QSignalBlocker block(this);
    setChecked(on);
}

QSize Switch::sizeHint() const {
    return {fontMetrics().horizontalAdvance(text()) + 70, qMax(28, fontMetrics().height() + 8)};
}

void Switch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = 44, h = 22;
    const QRectF track(width() - w - 2, (height() - h) / 2.0, w, h);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect().adjusted(0, 0, -w - 10, 0), Qt::AlignVCenter | Qt::AlignLeft, text());
    p.setPen(Qt::NoPen);
    p.setBrush(isChecked() ? QColor(0x45, 0xA3, 0xCE) : QColor(0xBD, 0xBD, 0xBD));
    p.drawRoundedRect(track, h / 2.0, h / 2.0);
    p.setBrush(Qt::white);
    const qreal x = isChecked() ? track.right() - h + 2 : track.left() + 2;
    p.drawEllipse(QRectF(x, track.top() + 2, h - 4, h - 4));
    if (hasFocus()) {
        p.setPen(QPen(QColor(0x45, 0xA3, 0xCE), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(track.adjusted(-2, -2, 2, 2), h / 2.0, h / 2.0);
    }
}
