#pragma once

#include "foundation/MessageBox.h"

// Plain Qt message boxes for the print library and its settings program, which carry
// none of the terminal's windows.
class TPrintSerial_Caixas : public MessageBox::Backend {
public:
    void showMessage(const QString& text) override;
    MessageBox::Answer confirm(const QString& text) override;
};
