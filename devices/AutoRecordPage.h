#pragma once

// CAutoRecordPage: the "Auto-Record" page of a record controller's control panel: the options of
// the automatic download (template 30081) of the controller's group. It shows the options of the
// download its provider names and hands every change back at once, so that the next cycle runs
// with it and the option file keeps it.

#include "shell/DlgOptionsBaseTab_AutoDown.h"

class IAutoDownloadOptions;

// Names the automatic download whose options a page edits (null: none now).
class IAutoDownloadOptionsProvider {
public:
    virtual IAutoDownloadOptions* GetAutoDownloadOptions() = 0;

protected:
    ~IAutoDownloadOptionsProvider() = default;
};

class CAutoRecordPage : public CDlgOptionsBaseTab_AutoDown {
    DECLARE_DYNAMIC(CAutoRecordPage)

public:
    static constexpr UINT kTemplate = 30081;
    static constexpr int kDelayedRearmId = 2172;
    static constexpr int kRearmTimeId = 1003;
    static constexpr int kSelfTriggerId = 2173;

    explicit CAutoRecordPage(CWnd* pParentWnd = nullptr);

    void SetOptionsProvider(IAutoDownloadOptionsProvider* provider) { m_provider = provider; }
    // Makes the page inside host and shows the provider's options.
    BOOL Create(CWnd* pHostWnd);
    // Shows the options of the provider's download; nothing without one.
    void ShowOptions();

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // The page's values into the download's options, its option file and its running settings.
    void CommitOptions();

    IAutoDownloadOptionsProvider* m_provider = nullptr;
    bool m_showing = false;
};
