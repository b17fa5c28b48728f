#include <gtest/gtest.h>

#include <QApplication>

#include "platform/wintypes/Assert.h"

// Every test executable runs with a QApplication on the offscreen platform, and internal
// assertions abort instead of recovering.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    SetAssertMode(AssertMode::Abort);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
