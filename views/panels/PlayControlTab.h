#pragma once

// CPlayControlTab: the play group's play-control page: the playback tree beside the full play
// bar (position slide with in and out points, scale labels, frame and time readouts, the
// playback-ratio field, the rate slider, the achieved rate and the Continuous, Synchronize and
// Base Sync. boxes). The play control window drives the page through IPlayBar and is its owner
// window: the slide's moves reach it as kPlayBarTracking, kPlayBarReleased and
// kPlayBarResetLimits. The page's commands go to its frame first, which routes the play
// commands to the play control.

#include "platform/com/ComPtr.h"
#include "platform/com/IDispatch.h"
#include "platform/framework/SliderCtrl.h"
#include "shell/CWSlide.h"
#include "shell/SlideEventLink.h"
#include "views/IPlayBar.h"
#include "views/panels/OwnerLink.h"
#include "views/panels/PlaybackTree.h"
#include "views/panels/TabDlg.h"

#include <QPointer>

#include <array>

class QWidget;

inline constexpr UINT kPlayControlTabTemplate = 1625;

class CPlayControlTab : public CTabDlg, public COwnerLink, public IPlayBar {
    DECLARE_DYNAMIC(CPlayControlTab)
    DECLARE_MESSAGE_MAP()

public:
    // Items of the page.
    static constexpr int kJumpField = 1128;
    static constexpr int kRatioField = 2008;
    static constexpr int kFrameField = 1014;
    static constexpr int kTimeField = 1016;
    static constexpr int kSpeedText = 2012;
    static constexpr int kRateSlider = 1311;
    static constexpr int kPositionSlide = 1317;
    // The page polls its play group on every this many messages while it is visible.
    static constexpr int kPollInterval = 20;

    explicit CPlayControlTab(CWnd* pParentWnd = nullptr);
    ~CPlayControlTab() override;

    using CTabDlg::Create;
    // Makes the page as a child of pParentWnd and, when that worked, takes pOwnerWnd as the
    // window that hears the slide. 0 (nothing stored) when the page cannot be made.
    BOOL Create(CWnd* pParentWnd, CWnd* pOwnerWnd);
    void SetOwner(CWnd* pOwnerWnd) { m_ownerWnd = pOwnerWnd; }

    HRESULT RebuildTree() override;

    // IPlayBar. The integers of the fields are signed.
    void GetPosition(int* position) override;
    void SetPosition(int position) override;
    void GetRange(int* minimum, int* maximum) override;
    void SetRange(int minimum, int maximum) override;
    void GetInOutPoints(int* in, int* out) override;
    void SetInPoint(int in) override;
    void SetOutPoint(int out) override;
    void SetInOutPoints(int in, int out) override;
    void SetFrameField(int frameNumber) override;
    void SetTimeField(double seconds) override;
    void SetSpeedText(double framesPerSecond) override;
    void SetCheck2007(int checked) override;
    void SetCheck2011(int checked) override;
    void SetCheck2006(int checked) override;
    int GetSpeedField() override;
    void SetSpeedField(int value) override;
    double GetSpeed() override;
    int GetJumpFrame() override;

    // The frame scale under the slide (the first frame at -offset, then thirds of the range)
    // and the time scale for rate frames per second; thirds show "---" on a range shorter
    // than 16 frames.
    void UpdateScaleLabels(int rate, int offset) override;

    CPlaybackTree& GetTree() { return m_tree; }
    int GetSeenCount() const { return m_seenCount; }
    int GetListedCount() const { return m_listedCount; }
    // The slide's window, or null before the page is made.
    QWidget* GetSlideWidget() const { return m_slide.GetControlWidget(); }

    BOOL OnInitDialog() override;
    // Frame first: only commands the frame leaves go through the page's own map.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Polls the play group for changes before the default handling.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    void OnTreeRightClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnTreeDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnWindowMenu(UINT nID);
    void OnDestroy();

private:
    // Moves the scale labels under the slide's places of the four values, first to last.
    void PlaceScaleLabels(const std::array<int, 4>& values);
    void CreateSlide();
    // From the slide's events: message to the owner window with the pointer and its value.
    void SendToOwner(UINT message, WPARAM wParam, LPARAM lParam);
    void Poll();
    // A pointer's value (1 position, 2 in, 3 out) truncated toward zero; FALSE without a slide
    // window.
    BOOL ReadPointer(int index, int* value);
    void WritePointer(int index, int value);

    CPlaybackTree m_tree;
    CCWSlide m_slide;
    CSlideEventLink m_slideEvents;
    CSliderCtrl m_ratioSlider;
    int m_pollCounter = 0;
    int m_seenCount = 0;
    int m_listedCount = 0;
    CWnd* m_ownerWnd = nullptr;
};
