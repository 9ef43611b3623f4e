#pragma once

#include "widgets/PainelModal.h"

#include <QList>
#include <QPair>
#include <QString>

class QPushButton;

// "Instruções e Vídeos": the keyboard shortcuts of the sale screen (F1). Esc, Enter
// and "OK" close it. Made once and opened with exec().
class TAjuda : public PainelModal {
public:
    explicit TAjuda(QWidget* parent = nullptr);

    // The keys and captions shown, in order.
    static QList<QPair<QString, QString>> Atalhos();

    QPushButton* Btn_OK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
