#include "platform/framework/IPrompter.h"
#include "platform/registry/Registry.h"
#include "resources/ProgramResources.h"
#include "shell/DlgUpdateCheck.h"
#include "testsupport/IsolatedTest.h"
#include "testsupport/LocalHttpServer.h"

#include <QApplication>
#include <QTcpServer>
#include <QTimer>
#include <QWidget>

#include <cstdint>

namespace {

const QString kOptions = QStringLiteral("Software\\Tolvar\\Vidra OS\\Options");
constexpr int64_t kDay = 86400;
constexpr int64_t kNow = 1'800'000'000;

const QByteArray kList =
    "Other Product, 9.9.9.9, http://example/other, other notes\n"
    "Vidra 4.0 Player, 5.0.1.0 , http://example/get , Fixes and more \n";

const char* const kConnectFailed =
    "Unable to connect to server to check for latest version.\nPlease check your internet "
    "connection and try again from the Help menu.\n\nTo disable automatic update checking, "
    "uncheck the option in Program Options.";
const char* const kNoInformation =
    "Sorry, no information was available on latest version for this product.";

class CTestUpdateCheck : public CDlgUpdateCheck {
public:
    using CDlgUpdateCheck::OnCheck;
};

class UpdateCheckTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CDlgUpdateCheck::SetClock([this] { return m_now; });
        SetServer(m_server.Address());
    }
    void TearDown() override {
        CDlgUpdateCheck::SetClock(nullptr);
        IsolatedTest::TearDown();
    }

    static void SetServer(const QString& address) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kOptions, KEY_WRITE, &key), ERROR_SUCCESS);
        RegSetString(key, "Update Server", address);
        RegCloseKey(key);
    }

    // The stored value as the registry holds it: its type and bytes.
    static QByteArray StoredLastCheck(DWORD* type) {
        HKEY key = nullptr;
        if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kOptions, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return {};
        BYTE data[16] = {};
        DWORD size = sizeof(data);
        const long status = RegQueryValueEx(key, "LastUpdateCheck", type, data, &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS ? QByteArray(reinterpret_cast<char*>(data), int(size))
                                       : QByteArray();
    }

    // Opens the dialog, runs "Check" and gives what the dialog then shows.
    struct Shown {
        QString latest, link, notes, status;
    };
    Shown ManualCheck() {
        CTestUpdateCheck dialog;
        EXPECT_TRUE(dialog.Create(IDD_UPDATE_CHECK));
        EXPECT_EQ(dialog.GetDlgItemText(CDlgUpdateCheck::kCurrentVersionId), "5.0.0.3");
        dialog.OnCheck();
        Shown shown{dialog.GetDlgItemText(CDlgUpdateCheck::kLatestVersionId),
                    dialog.GetDlgItemText(CDlgUpdateCheck::kDownloadLinkId),
                    dialog.GetDlgItemText(CDlgUpdateCheck::kReleaseNotesId),
                    dialog.GetDlgItemText(CDlgUpdateCheck::kStatusId)};
        dialog.DestroyWindow();
        return shown;
    }

    LocalHttpServer m_server;
    int64_t m_now = kNow;
};

}  // namespace

TEST_F(UpdateCheckTest, StartupCheckRunsWhenDueAndRecordsItsTimeInEightBytes) {
    m_server.Answer(200, kList);
    EXPECT_EQ(CDlgUpdateCheck::ReadLastCheckTime(), 0);
    CDlgUpdateCheck check;
    EXPECT_EQ(check.AutoCheck(), 1);
    EXPECT_EQ(m_server.Paths(), QStringList{"/html/latest_versions.txt"});
    DWORD type = 0;
    const QByteArray stored = StoredLastCheck(&type);
    EXPECT_EQ(type, REG_DWORD);
    ASSERT_EQ(stored.size(), 8);
    EXPECT_EQ(CDlgUpdateCheck::ReadLastCheckTime(), kNow);

    // Within the interval (30 days by default) the server is not asked again.
    m_now += 29 * kDay + kDay - 1;
    EXPECT_EQ(check.AutoCheck(), 0);
    EXPECT_EQ(m_server.Connections(), 1);
    m_now = kNow + 30 * kDay;
    EXPECT_EQ(check.AutoCheck(), 1);
    EXPECT_EQ(m_server.Connections(), 2);

    // A last check in the future counts as due.
    CDlgUpdateCheck::WriteLastCheckTime(m_now + 5 * kDay);
    EXPECT_EQ(check.AutoCheck(), 1);
    EXPECT_EQ(CDlgUpdateCheck::ReadLastCheckTime(), m_now);
}

TEST_F(UpdateCheckTest, StartupCheckComparesVersionsByTheirNumbers) {
    const struct {
        const char* listed;
        int result;
    } cases[] = {{"5.0.0.3", 0},  {"5.0.0.10", 1},  {"5.0.1.0", 1},
                 {"4.9.9.99", 0}, {"5.0.0.3.1", 1}, {"", -1}};
    for (const auto& c : cases) {
        m_server.Answer(200, QByteArray("Vidra 4.0 Player, ") + c.listed + ", link, notes\n");
        CDlgUpdateCheck::WriteLastCheckTime(0);
        CDlgUpdateCheck check;
        EXPECT_EQ(check.AutoCheck(), c.result) << c.listed;
    }
}

TEST_F(UpdateCheckTest, FailedStartupCheckSaysSoOnceAndIsNotRetriedWithinTheInterval) {
    const auto failures = {
        std::function<void()>([this] { m_server.Answer(404, "gone"); }),
        std::function<void()>([this] { m_server.HangUp(); }),
        std::function<void()>([this] { m_server.Answer(200, QByteArray(2 << 20, 'x')); })};
    for (const auto& fail : failures) {
        fail();
        CDlgUpdateCheck::WriteLastCheckTime(0);
        const int before = m_server.Connections();
        Prompter().ExpectMessageBox(kConnectFailed, IDOK);
        CDlgUpdateCheck check;
        EXPECT_EQ(check.AutoCheck(), -1);
        EXPECT_GT(m_server.Connections(), before);
        EXPECT_EQ(CDlgUpdateCheck::ReadLastCheckTime(), kNow);
        const int asked = m_server.Connections();
        EXPECT_EQ(check.AutoCheck(), 0);
        EXPECT_EQ(m_server.Connections(), asked);
    }
}

TEST_F(UpdateCheckTest, UnlistedProductFailsTheStartupCheckWithoutAWord) {
    m_server.Answer(200, "Other Product, 9.0, link, notes\n");
    CDlgUpdateCheck check;
    EXPECT_EQ(check.AutoCheck(), -1);
    EXPECT_TRUE(Prompter().Prompts().empty());
}

TEST_F(UpdateCheckTest, ManualCheckShowsTheListedVersionAndWhatItMeans) {
    const QString kRecent =
        "This is the most recent version, you do not need to update at this time.";
    const QString kNewer = "A new update is available.  Click on the link above to download.";
    const struct {
        QByteArray body;
        const char* latest;
        const char* link;
        const char* notes;
        QString status;
    } cases[] = {
        {kList, "5.0.1.0", "http://example/get", "Fixes and more", kNewer},
        {"Vidra 4.0 Player,5.0.0.3,http://l,n\n", "5.0.0.3", "http://l", "n", kRecent},
        {"Vidra 4.0 Player,5.0.0.10,http://l,n\n", "5.0.0.10", "http://l", "n", kNewer},
        // The last line without a line feed: no notes.
        {"x\r\nVidra 4.0 Player, 6.0, http://l, notes", "6.0", "http://l", "", kNewer},
    };
    for (const auto& c : cases) {
        m_server.Answer(200, c.body);
        const Shown shown = ManualCheck();
        EXPECT_EQ(shown.latest, c.latest) << c.body.toStdString();
        EXPECT_EQ(shown.link, c.link) << c.body.toStdString();
        EXPECT_EQ(shown.notes, c.notes) << c.body.toStdString();
        EXPECT_EQ(shown.status, c.status) << c.body.toStdString();
    }
    // The manual check leaves the start-up check's time alone.
    EXPECT_EQ(CDlgUpdateCheck::ReadLastCheckTime(), 0);
}

TEST_F(UpdateCheckTest, DialogRunToCheckAtOnceAsksTheServerAsItOpens) {
    m_server.Answer(200, kList);
    for (const BOOL atOnce : {FALSE, TRUE}) {
        SCOPED_TRACE(atOnce);
        const int before = m_server.Connections();
        QString latest, status;
        // Read once the dialog shows, its opening check done.
        QTimer reader;
        QObject::connect(&reader, &QTimer::timeout, [&] {
            auto* dialog =
                dynamic_cast<CDlgUpdateCheck*>(CWnd::FromWidget(QApplication::activeModalWidget()));
            if (!dialog || !dialog->GetQWidget()->isVisible())
                return;
            reader.stop();
            latest = dialog->GetDlgItemText(CDlgUpdateCheck::kLatestVersionId);
            status = dialog->GetDlgItemText(CDlgUpdateCheck::kStatusId);
            dialog->EndDialog(IDOK);
        });
        reader.start(10);
        CDlgUpdateCheck dialog;
        EXPECT_EQ(dialog.DoModal(atOnce), IDOK);
        EXPECT_EQ(m_server.Connections(), before + (atOnce ? 1 : 0));
        EXPECT_EQ(latest, atOnce ? "5.0.1.0" : "(click on Check)");
        EXPECT_EQ(status,
                  atOnce ? "A new update is available.  Click on the link above to download." : "");
    }
}

TEST_F(UpdateCheckTest, ManualCheckNamesEachFailure) {
    m_server.Answer(200, "Other Product, 1.0, l, n\n");
    Prompter().ExpectMessageBox(kNoInformation, IDOK);
    Shown shown = ManualCheck();
    EXPECT_EQ(shown.latest, "");
    EXPECT_EQ(shown.status, kNoInformation);

    int closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    const struct {
        std::function<void()> arrange;
        const char* message;
    } cases[] = {
        {[this] { m_server.Answer(500, "oops"); }, "Unable to obtain latest version information."},
        {[this] { m_server.Answer(200, QByteArray((1 << 20) + 1, 'x')); },
         "Unable to obtain latest version information."},
        {[this] { m_server.HangUp(); }, "Unable to send request to server."},
        {[closedPort] { SetServer(QStringLiteral("127.0.0.1:%1").arg(closedPort)); },
         "Unable to establish connection."},
        {[] { SetServer(QStringLiteral("bad host name:80")); }, "Unable to get URL."},
    };
    for (const auto& c : cases) {
        c.arrange();
        Prompter().ExpectMessageBox(c.message, IDOK);
        shown = ManualCheck();
        EXPECT_EQ(shown.latest, "") << c.message;
        EXPECT_EQ(shown.status, "") << c.message;
    }
}

TEST_F(UpdateCheckTest, LastCheckOfAnotherSizeReadsAsNeverChecked) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kOptions, KEY_WRITE, &key), ERROR_SUCCESS);
    RegSetDword(key, "LastUpdateCheck", 12345);
    RegCloseKey(key);
    EXPECT_EQ(CDlgUpdateCheck::ReadLastCheckTime(), 0);
    CDlgUpdateCheck::WriteLastCheckTime(-1);
    EXPECT_EQ(CDlgUpdateCheck::ReadLastCheckTime(), -1);

    // The earliest time there is reads as never checked, without overflowing.
    CDlgUpdateCheck::WriteLastCheckTime(INT64_MIN);
    m_server.Answer(200, "Vidra 4.0 Player, 5.0.0.3, l, n\n");
    CDlgUpdateCheck check;
    EXPECT_EQ(check.AutoCheck(), 0);
    EXPECT_EQ(m_server.Connections(), 1);
}

TEST(UpdateVersionList, FieldsAreTrimmedAndTakenFromTheProductLineOnly) {
    const struct {
        const char* text;
        bool found;
        const char* version;
        const char* link;
        const char* notes;
    } cases[] = {
        {"P, 1.0 , http://a , some notes \nQ, 2.0, b, c\n", true, "1.0", "http://a", "some notes"},
        {"P, 1.0\nQ, 2.0, b, c\n", true, "1.0", "", ""},
        {"P, 1.0, l\nQ, 2.0, b, c\n", true, "1.0", "l", ""},
        {"P, 1.0, l, notes, with commas\n", true, "1.0", "l", "notes, with commas"},
        {"Q, 2.0, b, c\n", false, "", "", ""},
        {"", false, "", "", ""},
    };
    for (const auto& c : cases) {
        QString version, link, notes;
        EXPECT_EQ(CDlgUpdateCheck::ParseVersionList(c.text, "P", &version, &link, &notes), c.found)
            << c.text;
        EXPECT_EQ(version, c.version) << c.text;
        EXPECT_EQ(link, c.link) << c.text;
        EXPECT_EQ(notes, c.notes) << c.text;
    }
    EXPECT_LT(CDlgUpdateCheck::CompareVersions("5.0.0.3", "5.0.0.10"), 0);
    EXPECT_EQ(CDlgUpdateCheck::CompareVersions("5.0", "5.0.0.0"), 0);
    EXPECT_GT(CDlgUpdateCheck::CompareVersions("5.0.0.3b", "5.0.0.3a"), 0);
}
