#pragma once

// CMainFrame: the program's main window. It adds the status bar with its four image-size
// panes, refuses to close while a recording runs or while a long operation holds the close
// block, closes every document in order when it does close, and answers the Help commands.

#include "devices/core/DeviceLink.h"
#include "platform/framework/StatusBar.h"
#include "shell/VidraFrameWnd.h"

// Status pane indicators.
inline constexpr UINT ID_INDICATOR_RETICLE = 114;
inline constexpr UINT ID_INDICATOR_VISIBLE_REGION = 127;
inline constexpr UINT ID_INDICATOR_IMAGE_SIZE = 109;
inline constexpr UINT ID_INDICATOR_ZOOMED_SIZE = 108;

inline constexpr UINT ID_HELP_CHECK_UPDATES = 32940;
inline constexpr UINT ID_HELP_CONTENTS = 57670;
inline constexpr UINT ID_HELP_INDEX_PAGE = 57666;
inline constexpr UINT ID_HELP_SEARCH_PAGE = 57667;

// What the main window asks of each open document before the program closes: a record
// controller answers whether it is recording.
class IRecordingState {
public:
    virtual BOOL IsRecording() const = 0;

protected:
    ~IRecordingState() = default;
};

class CMainFrame : public CVidraFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
    DECLARE_MESSAGE_MAP()

public:
    CMainFrame();
    ~CMainFrame() override;

    // Adds (TRUE) or removes one close block; the count never goes below 0. While it is
    // above 0 the main window ignores close requests.
    static void AdjustCloseBlockCount(BOOL bAdd);
    static int GetCloseBlockCount();

    // Holds one close block for its lifetime: an operation that pumps messages keeps the
    // main window (and the objects it uses) alive until it ends.
    class CloseBlock {
    public:
        CloseBlock() { AdjustCloseBlockCount(TRUE); }
        ~CloseBlock() { AdjustCloseBlockCount(FALSE); }
        CloseBlock(const CloseBlock&) = delete;
        CloseBlock& operator=(const CloseBlock&) = delete;
    };

    // Set once the main window has begun to close; childed frames read it.
    BOOL IsClosing() const { return m_bClosing; }
    CStatusBar& GetStatusBar() { return m_wndStatusBar; }

    // The two help files tried in turn: "<program>.chm" and "Vidra40.chm" beside the
    // executable.
    static QStringList HelpFilePaths();

    // The device links of every window that shows a device.
    const CDeviceLinkList& GetDeviceLinkList() const { return m_deviceLinks; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnHelpCheckUpdates();
    void OnHelpContents();
    void OnUpdateHelpContents(CCmdUI* pCmdUI);
    void OnHelpIndex();
    void OnHelpSearch();
    void OnUpdatePane(CCmdUI* pCmdUI);

public:
    // The view the user works in: the active child's active view or, where that view hosts
    // frames, the active view of its top-most hosted frame, through any depth of nesting.
    CView* GetWorkingView() const;

private:
    // Whether any open document reports a recording.
    static bool AnyRecording();
    void OpenHelp();

    CStatusBar m_wndStatusBar;
    // The icons of panes 1-4.
    QImage m_paneIcons[4];
    BOOL m_bClosing = FALSE;
    CDeviceLinkList m_deviceLinks;
};
