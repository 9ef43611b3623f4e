#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>

namespace {

TEST(Platform, DeviceNames) {
    const struct {
        const char* port;
        const char* device;
        bool share;
    } rows[] = {
        {"COM1", "/dev/ttyS0", false},
        {"com3", "/dev/ttyS2", false},
        {"LPT1", "/dev/lp0", false},
        {" LPT2 ", "/dev/lp1", false},
        {"\\\\caixa\\EPSON", "EPSON", true},
        {"\\\\caixa\\", "\\\\caixa\\", false},
        {"COM0", "COM0", false},
        {"/dev/ttyUSB0", "/dev/ttyUSB0", false},
        {"Arquivo", "Arquivo", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Platform::mapDevice(row.port), row.device) << row.port;
        EXPECT_EQ(Platform::isPrinterShare(row.port), row.share) << row.port;
    }
}

TEST(Platform, FixedWindowsPathsLiveUnderHome) {
    EXPECT_EQ(Platform::mapFixedPath("C:\\Tarvel\\Arquivo.txt"),
              QDir::homePath() + "/Tarvel/Arquivo.txt");
    EXPECT_EQ(Platform::mapFixedPath("c:/Tarvel/JSONText.txt"),
              QDir::homePath() + "/Tarvel/JSONText.txt");
    EXPECT_EQ(Platform::mapFixedPath("/tmp/x.txt"), "/tmp/x.txt");
}

TEST(Platform, ProgramFolderAndTexts) {
    EXPECT_TRUE(Platform::programDir().endsWith('/'));
    const QString text = QString::fromUtf8("Pão de açúcar");
    EXPECT_EQ(Platform::fromSystem8bit(Platform::toSystem8bit(text)), text);
    Platform::setClipboardText("diagnostico");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "diagnostico");
}

} // namespace
