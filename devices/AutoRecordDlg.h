#pragma once

// CAutoRecordDlg: the "Auto-Record Controller" (template 30083), the modal control centre of
// an automatic download: it engages and disengages the download cycle, sends a test trigger,
// stops a recording at once, switches the record group idle or live, and shows the cycle's
// running values. It cannot be closed while the cycle is engaged. While it runs, a 100 ms
// timer refreshes its fields, each only when its text changes.

#include "platform/framework/Dialog.h"

#include <QString>

class CAutoDownloadWnd;
class CRecordGroup;

class CAutoRecordDlg : public CDialog {
    DECLARE_DYNAMIC(CAutoRecordDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplate = 30083;
    static constexpr UINT_PTR kRefreshTimer = 1;
    static constexpr UINT kRefreshMs = 100;

    enum Control : int {
        kEngage = 1575,
        kTestTrigger = 1576,
        kPanicStop = 1006,
        kIdleNoLive = 1000,
        kIdleLive = 1577,
        kModeField = 2175,
        kVideoRateField = 1182,
        kDataRateField = 1011,
        kDataRateLabel = 1498,
        kDataRateUnit = 1499,
        kTriggerCountField = 1013,
        kBaseNameField = 1174,
        kLastSaveField = 1014,
        kRangeFromField = 2167,
        kRangeToField = 2168,
        kRearmDelayField = 1003,
        kSelfTriggerDelayField = 2171,
        kDelayedRearmCheck = 2172,
        kSelfTriggerCheck = 2173,
    };

    explicit CAutoRecordDlg(CWnd* pParentWnd = nullptr);

    // The automatic download the dialog drives (with the record group it holds); not owned,
    // set before DoModal. Without one, or without a group in it, the buttons do nothing.
    void SetController(CAutoDownloadWnd* controller) { m_controller = controller; }
    int IsEngaged() const { return m_engaged; }

    // The fields from the controller; nothing without one.
    void RefreshFields();
    // The name of an automatic-download mode: the label of its button on the auto-download
    // options page, or its number when the page has no button for it.
    static QString ModeName(int mode);

    BOOL OnInitDialog() override;
    // Both refuse, saying so, while the cycle is engaged; otherwise a cycle still running is
    // disabled and the dialog ends.
    void OnOK() override;
    void OnCancel() override;

protected:
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    void OnEngage();
    void OnTestTrigger();
    void OnPanicStop();
    void OnIdleNoLive();
    void OnIdleLive();

private:
    // The controller's group, or null.
    CRecordGroup* Group() const;
    // FALSE (the user told) while engaged.
    BOOL MayClose();
    void ShowEngageText();
    // Leaves the engaged state once the cycle has ended by itself.
    void FollowCycle();

    CAutoDownloadWnd* m_controller = nullptr;
    int m_engaged = 0;
};
