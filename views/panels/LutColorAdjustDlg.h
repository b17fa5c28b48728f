#pragma once

// CLutColorAdjustDlg: the colour-adjustment page of a play group: it hosts the look-up-table
// editor control (id 1014, from the Levora module) and moves the active video view's two
// display parameter sets and its editor state between the view and the control through
// automation objects, so that every change in the editor shows at once. Without the module
// the page says so and the program goes on. CLutColorAdjustDlg2 (project frame) differs only
// in its template and in how it finds the view.

#include "views/LevoraModify.h"
#include "views/LutHolderWnd.h"
#include "views/panels/TabDlg.h"

#include <functional>

class CPlaybackView;
class CVidView;

class CLutColorAdjustDlg : public CTabDlg {
    DECLARE_DYNAMIC(CLutColorAdjustDlg)

public:
    static constexpr UINT kTemplateId = 30049;
    static constexpr int kControlId = 1014;
    // The text shown in the control's place when the control cannot be created.
    static constexpr int kMissingNoticeId = 1015;
    static constexpr const char* kMissingNotice =
        "The look-up-table editor (Levora) is not registered or cannot be loaded: colour "
        "adjustment is not available.";

    // The owner link: answers the play group's active playback view, or null.
    using ViewFinder = std::function<CPlaybackView*()>;

    CLutColorAdjustDlg();
    ~CLutColorAdjustDlg() override;

    void SetViewFinder(ViewFinder finder) { m_findView = std::move(finder); }

    // Loads the active video view's sets and state into the control (default sets and a
    // disabled editor without a video view). 1 when the control exists and was loaded, else 0.
    int LoadFromView();
    // The handler of the control's BLMCParamsChanged: applies the control's sets and state to
    // the active video view, which redraws at once.
    void OnParamsChanged();

    CLevoraModify& GetLutControl() { return m_lutControl; }
    BOOL OnInitDialog() override;

protected:
    explicit CLutColorAdjustDlg(UINT templateId);
    // The view the page works on: a video member (type 3) that is a CVidView, else null.
    virtual CVidView* FindVideoView();
    static CVidView* AsVideoView(CPlaybackView* view);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    class EventSink;
    class ShowWatcher;
    void CreateLutControl();
    void ReleaseLutControl();

    CLevoraModify m_lutControl;
    CLutHolderWnd m_holder;
    ViewFinder m_findView;
    EventSink* m_sink = nullptr;
    // The view whose tables the editor shows (compared only, never used).
    const CVidView* m_loadedView = nullptr;
};
