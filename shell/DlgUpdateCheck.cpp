#include "shell/DlgUpdateCheck.h"

#include "platform/com/ISettingsStore.h"
#include "platform/framework/Button.h"
#include "platform/framework/Cursor.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/WinApp.h"
#include "platform/net/HttpGet.h"
#include "platform/registry/Registry.h"
#include "shell/DlgOptionsBaseTab.h"

#include <QDateTime>

#include <algorithm>

IMPLEMENT_DYNAMIC(CDlgUpdateCheck, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgUpdateCheck, CDialog)
    ON_BN_CLICKED(CDlgUpdateCheck::kCheckId, OnCheck)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()
// clang-format on

namespace {

const char* const kLastCheckValue = "LastUpdateCheck";
const char* const kServerValue = "Update Server";
const char* const kListPath = "/html/latest_versions.txt";
constexpr int kDefaultInterval = 30;
constexpr int64_t kSecondsPerDay = 86400;
// The whole question may take this long before it counts as failed.
constexpr int kTimeoutMs = 30000;

const char* const kNoInformation =
    "Sorry, no information was available on latest version for this product.";
const char* const kReleaseNotesMessage =
    "To download the updated installation, follow the instructions on the page that "
    "appears.\n\nAfter you have downloaded the installation program:\n\n\t1. Exit all "
    "instances of this program.\n\t2. Run the installation program that you have just "
    "downloaded.\n\t3. Select 'Repair' from the installation options when prompted.\n";

QString OptionsKey() {
    return QString::fromLatin1(kOptionsRoot) + QString::fromLatin1(kProgramOptionsKey);
}

std::function<int64_t()>& Clock() {
    static std::function<int64_t()> clock;
    return clock;
}

int64_t Now() {
    return Clock() ? Clock()() : QDateTime::currentSecsSinceEpoch();
}

QString StageMessage(HttpStage stage) {
    switch (stage) {
        case HttpStage::Open:
            return QStringLiteral("Unable to open connection.");
        case HttpStage::Connect:
            return QStringLiteral("Unable to establish connection.");
        case HttpStage::Request:
            return QStringLiteral("Unable to get URL.");
        case HttpStage::Send:
            return QStringLiteral("Unable to send request to server.");
        default:
            return QStringLiteral("Unable to obtain latest version information.");
    }
}

}  // namespace

const QString& CDlgUpdateCheck::Version() {
    static const QString version = QStringLiteral("5.0.0.3");
    return version;
}

const QString& CDlgUpdateCheck::ProductKey() {
    static const QString key = QStringLiteral("Vidra 4.0 Player");
    return key;
}

const QString& CDlgUpdateCheck::DefaultServer() {
    static const QString server = QStringLiteral("updates.tolvar.example");
    return server;
}

CDlgUpdateCheck::CDlgUpdateCheck(CWnd* pParentWnd) : CDialog(IDD_UPDATE_CHECK, pParentWnd) {}

void CDlgUpdateCheck::SetClock(std::function<int64_t()> clock) {
    Clock() = std::move(clock);
}

INT_PTR CDlgUpdateCheck::DoModal(BOOL bCheckAtOnce) {
    m_bCheckAtOnce = bCheckAtOnce;
    return CDialog::DoModal();
}

int64_t CDlgUpdateCheck::ReadLastCheckTime() {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, OptionsKey(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    BYTE data[8] = {};
    DWORD size = sizeof(data);
    DWORD type = 0;
    const long status =
        RegQueryValueEx(key, QString::fromLatin1(kLastCheckValue), &type, data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || size != sizeof(data))
        return 0;
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | data[i];
    return static_cast<int64_t>(value);
}

void CDlgUpdateCheck::WriteLastCheckTime(int64_t time) {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, OptionsKey(), KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    BYTE data[8];
    const auto value = static_cast<uint64_t>(time);
    for (int i = 0; i < 8; ++i)
        data[i] = static_cast<BYTE>(value >> (8 * i));
    RegSetValueEx(key, QString::fromLatin1(kLastCheckValue), REG_DWORD, data, sizeof(data));
    RegCloseKey(key);
}

QString CDlgUpdateCheck::ServerAddress() {
    QString server;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, OptionsKey(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryString(key, QString::fromLatin1(kServerValue), &server);
        RegCloseKey(key);
    }
    return server.trimmed().isEmpty() ? DefaultServer() : server.trimmed();
}

int CDlgUpdateCheck::CompareVersions(const QString& a, const QString& b) {
    const QStringList left = a.trimmed().split(QLatin1Char('.'));
    const QStringList right = b.trimmed().split(QLatin1Char('.'));
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const QString l = i < left.size() ? left[i].trimmed() : QStringLiteral("0");
        const QString r = i < right.size() ? right[i].trimmed() : QStringLiteral("0");
        bool lNumber = false;
        bool rNumber = false;
        const qulonglong lValue = l.toULongLong(&lNumber);
        const qulonglong rValue = r.toULongLong(&rNumber);
        if (lNumber && rNumber) {
            if (lValue != rValue)
                return lValue < rValue ? -1 : 1;
        } else if (const int text = l.compare(r); text != 0) {
            return text < 0 ? -1 : 1;
        }
    }
    return 0;
}

bool CDlgUpdateCheck::ParseVersionList(const QString& text, const QString& productKey,
                                       QString* version, QString* link, QString* notes) {
    version->clear();
    link->clear();
    notes->clear();
    const qsizetype start = text.indexOf(productKey + QLatin1Char(','));
    if (start < 0)
        return false;
    const qsizetype versionStart = start + productKey.size() + 1;
    const qsizetype versionEnd = text.indexOf(QLatin1Char(','), versionStart);
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), versionStart);
    // A field that the line does not hold stays empty; nothing is taken from the next line.
    if (versionEnd < 0 || (lineEnd >= 0 && versionEnd > lineEnd)) {
        *version = text.mid(versionStart, lineEnd < 0 ? -1 : lineEnd - versionStart).trimmed();
        return true;
    }
    *version = text.mid(versionStart, versionEnd - versionStart).trimmed();
    const qsizetype linkEnd = text.indexOf(QLatin1Char(','), versionEnd + 1);
    if (linkEnd < 0 || (lineEnd >= 0 && linkEnd > lineEnd)) {
        *link = text.mid(versionEnd + 1, lineEnd < 0 ? -1 : lineEnd - versionEnd - 1).trimmed();
        return true;
    }
    *link = text.mid(versionEnd + 1, linkEnd - versionEnd - 1).trimmed();
    if (lineEnd >= 0)
        *notes = text.mid(linkEnd + 1, lineEnd - linkEnd - 1).trimmed();
    return true;
}

BOOL CDlgUpdateCheck::FetchLatestVersion(const QString& productKey, QString& version, QString& link,
                                         QString& notes, BOOL bSilent) {
    QString host;
    int port = 80;
    SplitHostPort(ServerAddress(), 80, &host, &port);
    HttpGetResult result;
    {
        m_bBusy = TRUE;
        CWaitCursor wait;
        result = HttpGet(host, port, QString::fromLatin1(kListPath), kMaxResponseBytes, kTimeoutMs);
        m_bBusy = FALSE;
    }
    if (result.failure != HttpStage::None) {
        if (!bSilent)
            AfxMessageBox(StageMessage(result.failure));
        return FALSE;
    }
    const QString text = QString::fromLatin1(result.body);
    if (GetSafeHwnd() && GetDlgItem(kResponseId))
        SetDlgItemText(kResponseId, GetDlgItemText(kResponseId) + text);
    if (!ParseVersionList(text, productKey, &version, &link, &notes) && !bSilent)
        AfxMessageBox(QString::fromLatin1(kNoInformation), MB_ICONINFORMATION);
    return TRUE;
}

int CDlgUpdateCheck::AutoCheck() {
    int interval = kDefaultInterval;
    if (auto* store = dynamic_cast<ISettingsStore*>(AfxGetMainWnd())) {
        VARIANT answer;
        if (SUCCEEDED(store->GetSetting(QStringLiteral("Update:nUpdateInterval"), &answer, -1)) &&
            answer.vt == VT_I4)
            interval = answer.lVal;
    }
    // A time before 1970 is no time this program wrote: taken as never checked.
    const int64_t last = std::max<int64_t>(ReadLastCheckTime(), 0);
    const int64_t now = Now();
    // A last check in the future (a clock that was set back) counts as due: otherwise the
    // check would stay silent until the clock caught up.
    if (last <= now && (now - last) / kSecondsPerDay < interval)
        return 0;
    WriteLastCheckTime(now);

    if (!GetSafeHwnd() && !Create(IDD_UPDATE_CHECK, nullptr))
        return -1;
    QString version;
    QString link;
    QString notes;
    if (!FetchLatestVersion(ProductKey(), version, link, notes, TRUE)) {
        DestroyWindow();
        AfxMessageBox(QStringLiteral(
            "Unable to connect to server to check for latest version.\nPlease check your "
            "internet connection and try again from the Help menu.\n\nTo disable automatic "
            "update checking, uncheck the option in Program Options."));
        return -1;
    }
    DestroyWindow();
    if (version.isEmpty())
        return -1;
    return CompareVersions(version, Version()) > 0 ? 1 : 0;
}

BOOL CDlgUpdateCheck::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(kCurrentVersionId, Version());
    if (GetDlgItem(kDownloadLinkId) && !m_downloadLink.GetSafeHwnd())
        m_downloadLink.SubclassDlgItem(kDownloadLinkId, this);
    if (GetDlgItem(kReleaseNotesId) && !m_notesLink.GetSafeHwnd())
        m_notesLink.SubclassDlgItem(kReleaseNotesId, this);
    if (GetDlgItem(kStatusId) && !m_statusLink.GetSafeHwnd())
        m_statusLink.SubclassDlgItem(kStatusId, this);
    m_downloadLink.m_link.clear();
    m_notesLink.m_link.clear();
    m_notesLink.m_message = QString::fromLatin1(kReleaseNotesMessage);
    if (m_bCheckAtOnce)
        OnCheck();
    return TRUE;
}

void CDlgUpdateCheck::OnCheck() {
    SetDlgItemText(kLatestVersionId, QStringLiteral("Checking... please wait."));
    QString version;
    QString link;
    QString notes;
    if (!FetchLatestVersion(ProductKey(), version, link, notes, FALSE)) {
        SetDlgItemText(kLatestVersionId, QString());
        return;
    }
    if (version.isEmpty()) {
        SetDlgItemText(kLatestVersionId, QString());
        SetDlgItemText(kStatusId, QString::fromLatin1(kNoInformation));
        return;
    }
    SetDlgItemText(kLatestVersionId, version);
    SetDlgItemText(kDownloadLinkId, link);
    m_downloadLink.m_link = link;
    SetDlgItemText(kReleaseNotesId, notes);
    m_notesLink.m_link = notes;
    SetDlgItemText(
        kStatusId,
        CompareVersions(version, GetDlgItemText(kCurrentVersionId)) > 0
            ? QStringLiteral("A new update is available.  Click on the link above to download.")
            : QStringLiteral("This is the most recent version, you do not need to "
                             "update at this time."));
}

BOOL CDlgUpdateCheck::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_bBusy) {
        ::SetCursor(AfxLoadStandardCursor(IDC_WAIT));
        return TRUE;
    }
    return CDialog::OnSetCursor(pWnd, nHitTest, message);
}
