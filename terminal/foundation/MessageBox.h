#pragma once

#include <QString>
#include <QStringList>

// Every message and confirmation box of the terminal goes through here, so that the
// core can ask without knowing about windows and tests can answer and read what was
// shown. The windows layer installs the real boxes with setBackend().
namespace MessageBox {

enum Answer { Ok, Cancel };

class Backend {
public:
    virtual ~Backend() = default;
    virtual void showMessage(const QString& text) = 0;
    // A question with OK (preselected) and Cancel.
    virtual Answer confirm(const QString& text) = 0;
};

void setBackend(Backend* backend);

// Plain message box.
void ShowMessage(const QString& text);
// Modal question; true when the operator chose OK.
bool Confirm(const QString& text);

// For tests: the next question is answered without a box. Answers queue up;
// messages never take one.
void setNextAnswer(Answer answer);
// Texts of every box shown (messages and questions) since the last clearShown().
QStringList shown();
void clearShown();

} // namespace MessageBox
