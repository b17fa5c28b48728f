#include "groups/MeasurementFormView.h"

#include "frames/FrameSource.h"
#include "frames/SaveControllerBase.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementFormFrame.h"
#include "groups/PlayStepTargets.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/RunningOperation.h"
#include "views/IPlayBar.h"

IMPLEMENT_DYNCREATE(CMeasurementFormView, CFormView)

BEGIN_MESSAGE_MAP(CMeasurementFormView, CFormView)
ON_WM_SIZE()
ON_WM_PAINT()
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSave)
END_MESSAGE_MAP()

CMeasurementFormView::CMeasurementFormView() : CFormView(kTemplateId) {}

CMeasurementFormView::~CMeasurementFormView() {
    if (m_playControl.GetSafeHwnd())
        m_playControl.DestroyWindow();
    if (m_display.GetSafeHwnd())
        m_display.DestroyWindow();
}

CMeasurementFormDoc* CMeasurementFormView::GetGroupDoc() const {
    return dynamic_cast<CMeasurementFormDoc*>(m_pDocument);
}

CFrameSource* CMeasurementFormView::GetSource() const {
    const CMeasurementFormDoc* doc = GetGroupDoc();
    return doc ? doc->GetVideoSource(m_videoIndex) : nullptr;
}

int CMeasurementFormView::ZeroFrame() const {
    const CFrameSource* source = GetSource();
    if (!source || source->GetFrameCount() < 1)
        return -1;
    return -source->GetFirstFrameNumber();
}

void CMeasurementFormView::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, 1002, m_tab1002);
    DDX_Control(pDX, 1003, m_tab1003);
    DDX_Control(pDX, kDisplayTabId, m_tab1661);
}

void CMeasurementFormView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    CDataExchange exchange(this, FALSE);
    DoDataExchange(&exchange);
    // The tab control follows the view's size, so the form never needs scrolling.
    SetScrollSizes(MM_TEXT, CSize(1, 1));

    m_playControl.Create(nullptr, QStringLiteral("play controller"), WS_CHILD, CRect(), this, 0);
    m_playControl.SetRewindCallback(RewindCallback, this);
    m_playControl.SetFastForwardCallback(FastForwardCallback, this);
    m_playControl.SetGetFrameNumberCallback(FrameNumberCallback, this);
    m_playControl.SetGetFrameCountCallback(FrameCountCallback, this);
    m_playControl.SetGetTimeCallback(TimeCallback, this);
    // The play control steps from the frame its owner shows.
    m_playControl.SetGetCurrentFrameCallback(CurrentFrameCallback, this);
    m_playControl.SetFrameChangedCallback(FrameChangedCallback, this);
    if (auto* frame = dynamic_cast<CMeasurementFormFrame*>(GetParentFrame()))
        m_playControl.SetPlayBar(&frame->GetPlayControlTab());

    CRect client;
    GetClientRect(&client);
    if (m_tab1661.GetSafeHwnd()) {
        m_tab1661.MoveWindow(client);
        m_tab1661.GetClientRect(&client);
        m_display.Create(nullptr, QStringLiteral("stab"), WS_CHILD | WS_VISIBLE, client, &m_tab1661,
                         kDisplayId);
        m_display.ShowWindow(SW_SHOW);
    }
    m_initialized = TRUE;
    // A video the group has by now is shown at once.
    OnUpdate(nullptr, m_videoIndex, nullptr);
}

BOOL CMeasurementFormView::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                                    AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_initialized && m_playControl.GetSafeHwnd() &&
        m_playControl.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFormView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CMeasurementFormView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The play bar reports to the view as it would to its own play control.
    if (m_initialized && m_playControl.GetSafeHwnd() &&
        (message == kPlayBarTracking || message == kPlayBarReleased ||
         message == kPlayBarResetLimits) &&
        m_playControl.SendMessage(message, wParam, lParam) != 0)
        return 1;
    return CFormView::WindowProc(message, wParam, lParam);
}

void CMeasurementFormView::OnUpdate(CView*, LPARAM lHint, CObject*) {
    if (lHint != m_videoIndex || !m_display.GetSafeHwnd())
        return;
    const CMeasurementFormDoc* doc = GetGroupDoc();
    if (!doc)
        return;
    m_display.SetFrameSource(doc->GetVideoSourcePtr(m_videoIndex));
    if (m_playControl.GetSafeHwnd())
        m_playControl.ResetRange();
}

void CMeasurementFormView::FitChildren() {
    CRect client;
    GetClientRect(&client);
    if (m_tab1661.GetSafeHwnd())
        m_tab1661.MoveWindow(client);
    if (m_display.GetSafeHwnd()) {
        m_display.MoveWindow(client);
        m_display.FitInWindow();
    }
}

void CMeasurementFormView::OnSize(UINT, int, int) {
    Default();
    if (m_initialized)
        FitChildren();
}

void CMeasurementFormView::OnPaint() {
    if (!m_initialized || !m_display.GetSafeHwnd())
        return;
    const int frame = m_playControl.GetCurrentFrame();
    if (frame != m_lastShownFrame) {
        m_display.ShowFrame(frame);
        m_lastShownFrame = frame;
    }
}

void CMeasurementFormView::OnFileSave() {
    if (CFrameSource* source = GetSource()) {
        const CRunningOperation running({GetDocument()}, CSaveControllerBase::CancellerOf(source));
        source->SaveAs(0);
    }
}

BOOL CMeasurementFormView::RewindTarget(int frame, int* target) {
    const CFrameSource* source = GetSource();
    if (!target || !source)
        return FALSE;
    *target = PlayStepTargets::Rewind(source, frame, ZeroFrame(), source->GetFrameCount(),
                                      m_lastShownFrame);
    return TRUE;
}

BOOL CMeasurementFormView::FastForwardTarget(int frame, int* target) {
    const CFrameSource* source = GetSource();
    if (!target || !source)
        return FALSE;
    *target = PlayStepTargets::FastForward(source, frame, ZeroFrame(), source->GetFrameCount(),
                                           m_lastShownFrame);
    return TRUE;
}

BOOL CMeasurementFormView::RewindCallback(void* context, int frame, int* target) {
    return context ? static_cast<CMeasurementFormView*>(context)->RewindTarget(frame, target)
                   : FALSE;
}

BOOL CMeasurementFormView::FastForwardCallback(void* context, int frame, int* target) {
    return context ? static_cast<CMeasurementFormView*>(context)->FastForwardTarget(frame, target)
                   : FALSE;
}

void CMeasurementFormView::FrameNumberCallback(void* context, int, int* value) {
    const auto* view = static_cast<CMeasurementFormView*>(context);
    if (view && value && view->GetSource())
        *value = view->ZeroFrame();
}

void CMeasurementFormView::FrameCountCallback(void* context, int, int* value) {
    const auto* view = static_cast<CMeasurementFormView*>(context);
    if (!view || !value)
        return;
    if (const CFrameSource* source = view->GetSource())
        *value = source->GetFrameCount();
}

void CMeasurementFormView::CurrentFrameCallback(void* context, int, int* value) {
    auto* view = static_cast<CMeasurementFormView*>(context);
    if (view && value && view->GetSource() && view->m_display.GetSafeHwnd())
        *value = view->m_display.GetCurrentFrame();
}

BOOL CMeasurementFormView::TimeCallback(void* context, double* rate) {
    const auto* view = static_cast<CMeasurementFormView*>(context);
    const CFrameSource* source = view ? view->GetSource() : nullptr;
    if (!source || !rate)
        return FALSE;
    *rate = source->GetRecordedRate();
    return TRUE;
}

void CMeasurementFormView::FrameChangedCallback(void* context, int) {
    auto* view = static_cast<CMeasurementFormView*>(context);
    if (!view || !view->GetGroupDoc())
        return;
    if (view->m_display.GetSafeHwnd())
        view->m_display.Invalidate();
    view->SendMessage(WM_PAINT);
}
