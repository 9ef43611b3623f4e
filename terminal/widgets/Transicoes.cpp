#include "Transicoes.h"

#include <QPropertyAnimation>
#include <QStackedWidget>

namespace {
constexpr int DURACAO_MS = 180;
}

void Deslizar_Aba(QStackedWidget* abas, QWidget* pagina) {
    const bool mudou = abas->currentWidget() != pagina;
    abas->setCurrentWidget(pagina);
    if (!mudou || !abas->isVisible()) return;
    auto* anim = new QPropertyAnimation(pagina, "pos", pagina);
    anim->setDuration(DURACAO_MS);
    anim->setStartValue(QPoint(abas->width(), 0));
    anim->setEndValue(QPoint(0, 0));
    anim->setEasingCurve(QEasingCurve::OutCubic);
    anim->start(QAbstractAnimation::DeleteWhenStopped);
}
