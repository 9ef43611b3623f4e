#include <gtest/gtest.h>

#include "widgets/Application.h"

// Every test program gets the terminal's application object, with its general error
// report; windows run on the offscreen platform unless a display is asked for.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // No test reaches the real cloud account: a closed local port refuses at once, and
    // tests that need the account start the simulator.
    qputenv("ONDAVIA_API_HOST", "127.0.0.1:1");
    // Nor the update site or the installer's file server.
    qputenv("ONDAVIA_UPDATE_HOST", "127.0.0.1:1");
    qputenv("ONDAVIA_FTP_HOST", "127.0.0.1:1");
    ::testing::InitGoogleTest(&argc, argv);
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}
