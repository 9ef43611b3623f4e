#pragma once

#include "foundation/MessageBox.h"

// The real message and confirmation boxes, installed by the program at start.
class QtMessageBox : public MessageBox::Backend {
public:
    void showMessage(const QString& text) override;
    MessageBox::Answer confirm(const QString& text) override;
};
