#pragma once

#include <QAbstractButton>
#include <QColor>

class QVariantAnimation;

// A round title-bar button: filled FF45A3CE, it takes its border colour under the mouse
// and returns to its fill (orange for a button tagged 1) when the mouse leaves. It can
// blink from white to red.
class CircleButton : public QAbstractButton {
public:
    explicit CircleButton(const QString& glyph, QWidget* parent = nullptr);

    static QColor corPadrao() { return QColor(0x45, 0xA3, 0xCE); }
    static QColor corTag1() { return QColor(0xFF, 0xA5, 0x00); }

    void setTag(int tag);
    int tag() const { return m_tag; }
    void setBorderColor(const QColor& c) { m_border = c; }
    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor& c);

    // The blinking of the synchronisation reminder: white to red, 1.5 s, repeating.
    void setBlinking(bool on);
    bool isBlinking() const;

    QSize sizeHint() const override { return {40, 40}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    QColor restColor() const { return m_tag == 1 ? corTag1() : corPadrao(); }

    QString m_glyph;
    QColor m_fill = corPadrao();
    QColor m_border = QColor(0x1E, 0x6F, 0x96);
    int m_tag = 0;
    QVariantAnimation* m_blink = nullptr;
};

// The small round badge on a title-bar button's corner (a count, or a red "!"). The
// label inside carries the text.
class QLabel;
class Badge : public QWidget {
public:
    Badge(const QString& name, const QString& labelName, QWidget* button);
    QLabel* label() const { return m_label; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QLabel* m_label;
};
