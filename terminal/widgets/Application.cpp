#include "Application.h"

#include "foundation/Errors.h"
#include "foundation/MessageBox.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

void Application::reportError(const std::exception& error) {
    if (const auto* e = dynamic_cast<const Error*>(&error))
        MessageBox::ShowMessage(e->message());
    else
        MessageBox::ShowMessage(QString::fromLocal8Bit(error.what()));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Abort&) {
        // The action showed its message, if any, and ends here.
    } catch (const std::exception& e) {
        reportError(e);
    } catch (...) {
        MessageBox::ShowMessage(QStringLiteral("Erro inesperado."));
    }
    return false;
}
