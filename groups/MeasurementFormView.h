#pragma once

// CMeasurementFormView: the play-group view that shows one video of its group itself (template
// "DT:Meas", form 343): the frames in a display window on the tab control that fills the view,
// stepped by a play control of its own. File/Save and Save As save that video in one step.

#include "platform/framework/FormView.h"
#include "platform/framework/TabCtrl.h"
#include "views/PlayControlWnd.h"
#include "views/StreamWnd.h"

class CDataExchange;
class CFrameSource;
class CMeasurementFormDoc;

class CMeasurementFormView : public CFormView {
    DECLARE_DYNCREATE(CMeasurementFormView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplateId = 343;
    static constexpr int kDisplayTabId = 1661;
    static constexpr UINT kDisplayId = 10001;

    CMeasurementFormView();
    ~CMeasurementFormView() override;

    void OnInitialUpdate() override;
    // Commands go to the play control first.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CMeasurementFormDoc* GetGroupDoc() const;
    // The group's video at the view's index; null without a document or an open source.
    CFrameSource* GetSource() const;
    int GetVideoIndex() const { return m_videoIndex; }
    void SetVideoIndex(int index) { m_videoIndex = index; }
    int GetLastShownFrame() const { return m_lastShownFrame; }
    CStreamWnd& GetDisplay() { return m_display; }
    CPlayControlWnd& GetPlayControl() { return m_playControl; }

    // The play control's rewind and fast-forward targets for the shown video.
    BOOL RewindTarget(int frame, int* target);
    BOOL FastForwardTarget(int frame, int* target);

protected:
    // Binds the three tab controls.
    void DoDataExchange(CDataExchange* pDX);
    // A hint equal to the view's video index hands that video to the display again.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT nType, int cx, int cy);
    // Shows the play control's frame when it is not the one shown last; paints nothing.
    void OnPaint();
    void OnFileSave();

private:
    // The zero frame of the shown video: frame 0 carries the number -zero; -1 without one.
    int ZeroFrame() const;
    void FitChildren();

    static BOOL RewindCallback(void* context, int frame, int* target);
    static BOOL FastForwardCallback(void* context, int frame, int* target);
    static void FrameNumberCallback(void* context, int frame, int* value);
    static void FrameCountCallback(void* context, int frame, int* value);
    static void CurrentFrameCallback(void* context, int frame, int* value);
    static BOOL TimeCallback(void* context, double* rate);
    static void FrameChangedCallback(void* context, int frame);

    CTabCtrl m_tab1002;
    CTabCtrl m_tab1003;
    CTabCtrl m_tab1661;
    CStreamWnd m_display;
    int m_lastShownFrame = -1;
    int m_videoIndex = 0;
    BOOL m_initialized = FALSE;
    CPlayControlWnd m_playControl;
};
