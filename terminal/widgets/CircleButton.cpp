#include "CircleButton.h"

#include <QLabel>
#include <QPainter>
#include <QVariantAnimation>

CircleButton::CircleButton(const QString& glyph, QWidget* parent)
    : QAbstractButton(parent), m_glyph(glyph) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(40, 40);
}

void CircleButton::setTag(int tag) {
    m_tag = tag;
    setFillColor(restColor());
}

void CircleButton::setFillColor(const QColor& c) {
    m_fill = c;
    update();
}

void CircleButton::setBlinking(bool on) {
    if (on && !m_blink) {
        m_blink = new QVariantAnimation(this);
        m_blink->setStartValue(QColor(Qt::white));
        m_blink->setKeyValueAt(0.5, QColor(Qt::red));
        m_blink->setEndValue(QColor(Qt::white));
        m_blink->setDuration(1500);
        m_blink->setLoopCount(-1);
        connect(m_blink, &QVariantAnimation::valueChanged, this,
                [this](const QVariant& v) { setFillColor(v.value<QColor>()); });
        m_blink->start();
    } else if (!on && m_blink) {
        m_blink->stop();
        m_blink->deleteLater();
        m_blink = nullptr;
        setFillColor(restColor());
    }
}

bool CircleButton::isBlinking() const {
    return m_blink != nullptr;
}

void CircleButton::enterEvent(QEnterEvent*) {
    if (!m_blink) setFillColor(m_border);
}

void CircleButton::leaveEvent(QEvent*) {
    if (!m_blink) setFillColor(restColor());
}

void CircleButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(2, 2, -2, -2);
    p.setPen(QPen(m_border, 2));
    p.setBrush(m_fill);
    p.drawEllipse(r);

    QFont f = font();
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.setPen(m_fill == QColor(Qt::white) ? corPadrao() : QColor(Qt::white));
    p.drawText(r, Qt::AlignCenter, m_glyph);
}

Badge::Badge(const QString& name, const QString& labelName, QWidget* button) : QWidget(button) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(button->width() - 18, 0, 18, 18);
    m_label = new QLabel(this);
    m_label->setObjectName(labelName);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setGeometry(rect());
    m_label->setStyleSheet(QStringLiteral("color: white; font-size: 11px; font-weight: bold;"));
    hide();
}

void Badge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE5, 0x39, 0x35));
    p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
