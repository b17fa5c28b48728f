#include "platform/wintypes/Assert.h"
#include "testsupport/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>

#include <cstdio>

// The test runs on an X server of its own, started on a free display before the application.
int main(int argc, char** argv) {
    QProcess server;
    // RM_E2E_DISPLAY names a running X server to use instead, to watch the test run.
    if (!qEnvironmentVariableIsSet("RM_E2E_DISPLAY")) {
        // -displayfd: the server picks a free display and writes its number to stdout.
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server.waitForStarted(10000) || !server.waitForReadyRead(10000)) {
            fprintf(stderr, "Xvfb could not be started\n");
            return 1;
        }
        const QByteArray display = server.readAllStandardOutput().trimmed();
        qputenv("DISPLAY", ":" + display);
    } else {
        qputenv("DISPLAY", qgetenv("RM_E2E_DISPLAY"));
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    SetAssertMode(AssertMode::Abort);
    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        ScriptedPrompter noDialogs;
        result = RUN_ALL_TESTS();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (server.state() != QProcess::NotRunning) {
        server.terminate();
        server.waitForFinished(5000);
    }
    return result;
}
