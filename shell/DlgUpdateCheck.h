#pragma once

// CDlgUpdateCheck: the "Check for Updates" dialog (template 30108) and the silent check at
// start-up. Both ask the update server for its list of current versions, one line per
// product ("key, version, link, notes"), and compare this program's version with the one
// listed for its product key. Versions compare by their numeric components, so 5.0.0.10 is
// newer than 5.0.0.3.
//
// The server's host (and port, "host:port") is the string "Update Server" under
// HKEY_LOCAL_MACHINE "Software\Tolvar\Vidra OS\Options"; the time of the last automatic
// check is "LastUpdateCheck" in the same key, 8 bytes of seconds since 1970 under the type
// code REG_DWORD.

#include "platform/framework/Dialog.h"
#include "shell/StaticLink.h"

#include <QString>

#include <cstdint>
#include <functional>

inline constexpr UINT IDD_UPDATE_CHECK = 30108;

class CDlgUpdateCheck : public CDialog {
    DECLARE_DYNAMIC(CDlgUpdateCheck)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kCurrentVersionId = 1377;
    static constexpr int kLatestVersionId = 1378;
    static constexpr int kDownloadLinkId = 1379;
    static constexpr int kReleaseNotesId = 1380;
    static constexpr int kStatusId = 1381;
    static constexpr int kCheckId = 1376;
    static constexpr int kResponseId = 1003;

    static const QString& Version();     // "5.0.0.3"
    static const QString& ProductKey();  // "Vidra 4.0 Player"
    static const QString& DefaultServer();
    // The answer's largest accepted size; a longer answer is a failed fetch.
    static constexpr qint64 kMaxResponseBytes = 1 << 20;

    explicit CDlgUpdateCheck(CWnd* pParentWnd = nullptr);

    // Runs the dialog; with bCheckAtOnce the check runs as soon as it opens.
    INT_PTR DoModal(BOOL bCheckAtOnce);
    using CDialog::DoModal;

    // The start-up check: 1 when the server names a newer version, 0 when no check was due
    // or the version is not newer, -1 when the check failed or gave no version. A check that
    // is due records its time before it asks, so a failure is not retried at once.
    int AutoCheck();

    // Fetches the list and finds the product's line. FALSE when the fetch failed; TRUE with
    // empty outputs when the product is not listed. bSilent keeps every message back.
    BOOL FetchLatestVersion(const QString& productKey, QString& version, QString& link,
                            QString& notes, BOOL bSilent);

    // 0 when the value is missing or not 8 bytes long.
    static int64_t ReadLastCheckTime();
    static void WriteLastCheckTime(int64_t time);
    static QString ServerAddress();

    // <0, 0, >0 as a is older than, the same as or newer than b. Components compare as
    // numbers where both are numbers, otherwise as text; missing components count as 0.
    static int CompareVersions(const QString& a, const QString& b);
    // The product's line in the server's list: FALSE when the key is not listed.
    static bool ParseVersionList(const QString& text, const QString& productKey, QString* version,
                                 QString* link, QString* notes);

    // Seconds since 1970; tests put their own clock in place (nullptr: the system's).
    static void SetClock(std::function<int64_t()> clock);

protected:
    BOOL OnInitDialog() override;
    void OnCheck();
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

private:
    CStaticLink m_downloadLink;
    CStaticLink m_notesLink;
    CStaticLink m_statusLink;
    BOOL m_bCheckAtOnce = FALSE;
    BOOL m_bBusy = FALSE;
};
