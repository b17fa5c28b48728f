#include "app/tests/e2e/E2eSupport.h"
#include "platform/framework/Dialog.h"
#include "platform/registry/Registry.h"
#include "shell/DlgProgramOptions.h"
#include "shell/DlgUpdateCheck.h"
#include "shell/MainFrame.h"
#include "testsupport/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <functional>

// What a user does with the update check: sets how often the program looks for updates in
// Program Options, then asks the update server from Help/Check for Updates... and reads what
// it answers, all through the menus and the dialogs' own buttons.

namespace {

void TypeInto(CWnd* page, int id, const QString& text) {
    CWnd* edit = page->GetDlgItem(id);
    ASSERT_NE(edit, nullptr) << id;
    auto* line = qobject_cast<QLineEdit*>(edit->GetQWidget());
    if (!line)
        line = edit->GetQWidget()->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr) << id;
    line->setFocus();
    line->selectAll();
    QTest::keyClicks(line, text);
}

// Chooses the sheet's tab named name, as a click on it would.
void ShowTab(CWnd* sheet, const char* name) {
    auto* tabs = sheet->GetQWidget()->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == QLatin1String(name)) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
            return;
        }
    }
    FAIL() << "no tab " << name;
}

using UpdateCheckFlow = ProgramTest;

TEST_F(UpdateCheckFlow, AUserSetsTheIntervalAndAsksForUpdatesFromTheMenus) {
    LocalHttpServer server;
    server.Answer(200, "Vidra 4.0 Player, 5.0.1.0, http://example/get, What is new\n");
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra OS\\Options", KEY_WRITE, &key),
        ERROR_SUCCESS);
    RegSetString(key, "Update Server", server.Address());
    RegCloseKey(key);

    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    // The start-up check is off in tests; nothing asked the server yet.
    EXPECT_EQ(server.Connections(), 0);

    // Edit/Program Options...: the "Update" tab, a new interval, OK.
    bool seen = false;
    WhenShown<CDlgProgramOptions>(
        [](CDlgProgramOptions* sheet) {
            ShowTab(sheet, "Update");
            TypeInto(&sheet->m_updateEdit, 2256, QStringLiteral("7"));
            Click(sheet, IDOK);
        },
        &seen);
    QAction* options = FindItem(window, QStringLiteral("Edit/Program Options..."));
    ASSERT_NE(options, nullptr);
    options->trigger();
    ASSERT_TRUE(seen) << "no options sheet";
    VARIANT interval;
    ASSERT_TRUE(SUCCEEDED(frame->GetSetting("Update:nUpdateInterval", &interval, -1)));
    EXPECT_EQ(interval.vt, VT_I4);
    EXPECT_EQ(interval.lVal, 7);

    // Again: the tab shows 7; Restore Defaults shows 30, and Cancel keeps 7.
    seen = false;
    QString shown, restored;
    WhenShown<CDlgProgramOptions>(
        [&](CDlgProgramOptions* sheet) {
            ShowTab(sheet, "Update");
            CWnd& page = sheet->m_updateEdit;
            ASSERT_TRUE(page.IsWindowVisible());
            shown = page.GetDlgItemText(2256);
            Click(&page, 2038);
            restored = page.GetDlgItemText(2256);
            Click(sheet, IDCANCEL);
        },
        &seen);
    FindItem(window, QStringLiteral("Edit/Program Options..."))->trigger();
    ASSERT_TRUE(seen) << "no options sheet";
    EXPECT_EQ(shown, "7");
    EXPECT_EQ(restored, "30");
    ASSERT_TRUE(SUCCEEDED(frame->GetSetting("Update:nUpdateInterval", &interval, -1)));
    EXPECT_EQ(interval.lVal, 7);

    // Help/Check for Updates...: "Check" asks the server and shows its answer.
    seen = false;
    QString latest, status, link, current;
    WhenShown<CDlgUpdateCheck>(
        [&](CDlgUpdateCheck* dialog) {
            current = dialog->GetDlgItemText(CDlgUpdateCheck::kCurrentVersionId);
            Click(dialog, CDlgUpdateCheck::kCheckId);
            latest = dialog->GetDlgItemText(CDlgUpdateCheck::kLatestVersionId);
            link = dialog->GetDlgItemText(CDlgUpdateCheck::kDownloadLinkId);
            status = dialog->GetDlgItemText(CDlgUpdateCheck::kStatusId);
            Click(dialog, IDOK);
        },
        &seen);
    QAction* check = FindItem(window, QStringLiteral("Help/Check for Updates..."));
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(check->isEnabled());
    check->trigger();
    ASSERT_TRUE(seen) << "no update dialog";
    EXPECT_EQ(current, "5.0.0.3");
    EXPECT_EQ(latest, "5.0.1.0");
    EXPECT_EQ(link, "http://example/get");
    EXPECT_EQ(status, "A new update is available.  Click on the link above to download.");
    EXPECT_EQ(server.Paths(), QStringList{"/html/latest_versions.txt"});
    EXPECT_EQ(FindWindowOf<CDlgUpdateCheck>(), nullptr);
}

}  // namespace
