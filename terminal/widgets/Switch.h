#pragma once

#include <QAbstractButton>

// An on/off switch with its caption on the left.
class Switch : public QAbstractButton {
public:
    explicit Switch(const QString& caption, QWidget* parent = nullptr);
    // Sets the state without firing the change handlers.
    void setCheckedSilently(bool on);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
};
