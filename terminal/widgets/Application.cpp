#include "Application.h"

#include "foundation/Errors.h"
#include "foundation/MessageBox.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

void Application::reportError(const std::exception& error) {
    if (const auto* e = dynamic_cast<const Error*>(&error))
        MessageBox::ShowMessage(e->message());
    else
        MessageBox::ShowMessage(QString::fromLocal8Bit(error.what()));
}

namespace {

// A kiosk session has no window manager to give the keyboard back to the window under a
// modal window that closes; without this the operator's next keys go nowhere.
void devolverTeclado(QObject* receiver, QEvent* event) {
    if (event->type() != QEvent::Hide) return;
    auto* dialogo = qobject_cast<QDialog*>(receiver);
    if (!dialogo || !dialogo->isWindow() || !dialogo->isModal() || !dialogo->parentWidget())
        return;
    QPointer<QWidget> dono = dialogo->parentWidget()->window();
    QTimer::singleShot(0, dono, [dono] {
        QWidget* modal = QApplication::activeModalWidget();
        if (dono && dono->isVisible() && (!modal || modal == dono)) {
            dono->raise();
            dono->activateWindow();
        }
    });
}

} // namespace

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        devolverTeclado(receiver, event);
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
