#include "Config_Unit.h"
#include "PrintSerial_Caixas.h"

#include <QApplication>

// Tarvel_ConfigDLL: the print library's settings form as the program's main window.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvel_ConfigDLL"));
    TPrintSerial_Caixas caixas;
    MessageBox::setBackend(&caixas);

    TConfig1 Config1;
    Config1.show();
    const int code = app.exec();
    MessageBox::setBackend(nullptr);
    return code;
}
