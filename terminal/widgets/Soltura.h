#pragma once

#include <QEvent>
#include <QKeyEvent>

// For windows that act when a key is released: a release counts only when its press
// came to the same window. The Enter that closed a message box or another window leaves
// a release behind whose press this window never saw; acting on it would open the box
// again, or run an action the operator did not ask for.
class Soltura {
public:
    // Feed every key press and release of the window. True for the release of a press
    // seen here (auto-repeats are not presses of their own).
    bool Soltou(QEvent* event) {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->isAutoRepeat()) return false;
        if (event->type() == QEvent::KeyPress) {
            m_tecla = k->key();
            return false;
        }
        const bool minha = m_tecla == k->key();
        m_tecla = 0;
        return minha;
    }

private:
    int m_tecla = 0;
};
