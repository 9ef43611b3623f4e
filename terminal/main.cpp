#include "foundation/DModule_Unit.h"
#include "platform/Platform.h"
#include "sale/Principal_Unit.h"
#include "widgets/Application.h"
#include "widgets/QtMessageBox.h"

int main(int argc, char** argv) {
    Application app(argc, argv);
    QtMessageBox boxes;
    MessageBox::setBackend(&boxes);

    TDModule DModule(Platform::programDir());
    runReported([&] { DModule.DataModuleCreate(); });

    TPrincipal Principal(DModule);
    Principal.showFullScreen();

    const int code = app.exec();
    MessageBox::setBackend(nullptr);
    return code;
}
