#include <gtest/gtest.h>

#include <QApplication>

#include "platform/wintypes/Assert.h"
#include "testsupport/ScriptedPrompter.h"

// Every test executable runs with a QApplication on the offscreen platform, internal
// assertions abort instead of recovering, and no prompt can open a real dialog.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    SetAssertMode(AssertMode::Abort);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ScriptedPrompter noDialogs;
    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
