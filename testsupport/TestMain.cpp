#include <gtest/gtest.h>

#include <QApplication>

#include "platform/wintypes/Assert.h"
#include "testsupport/HarnessFont.h"
#include "testsupport/ScriptedPrompter.h"

#include <cstdio>

// Every test executable runs with a QApplication on the offscreen platform, internal
// assertions abort instead of recovering, no prompt can open a real dialog, and text is set in
// the harness's own font.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    SetAssertMode(AssertMode::Abort);
    QApplication app(argc, argv);
    if (!UseHarnessFont()) {
        std::fprintf(stderr, "The test font (package fonts-dejavu-core) is missing.\n");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    ScriptedPrompter noDialogs;
    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
