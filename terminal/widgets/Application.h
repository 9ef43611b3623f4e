#pragma once

#include "foundation/Errors.h"

#include <QApplication>

// The application object. An exception that no handler caught ends its event and is
// shown in a message box (the general error report); the program goes on. Abort ends
// an action silently.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The general error report for code that runs outside an event.
    static void reportError(const std::exception& error);
};

// Runs an action the way an event does: Abort ends it silently, any other exception
// is shown by the general error report.
template <typename F> void runReported(F&& action) {
    try {
        action();
    } catch (const Abort&) {
    } catch (const std::exception& e) {
        Application::reportError(e);
    }
}
