#include "sensordata/DataQNPlayFrameVCF.h"

#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/ResourceChain.h"
#include "sensordata/DataPlayView.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensorres/SensorResourceIds.h"
#include "views/PlaybackView.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

IMPLEMENT_DYNCREATE(CDataQNPlayFrameVCF, CDataFrameVCF)

BEGIN_MESSAGE_MAP(CDataQNPlayFrameVCF, CDataFrameVCF)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_MESSAGE(kClosePlaybackMessage, OnClosePlayback)
ON_MESSAGE(kMemberFrameMovedMessage, OnMemberFrameMoved)
END_MESSAGE_MAP()

int CDataQNPlayFrameVCF::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CDataFrameVCF::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_playControl.Create(nullptr, QStringLiteral("play controller"), WS_CHILD, CRect(), this,
                              0))
        return -1;
    m_playControl.SetGetFrameCountCallback(FrameCountCallback, this);
    m_playControl.SetGetFrameNumberCallback(FrameNumberCallback, this);
    m_playControl.SetGetCurrentFrameCallback(CurrentFrameCallback, this);
    m_playControl.SetGetTimeCallback(TimeCallback, this);
    m_playControl.SetFrameChangedCallback(FrameChangedCallback, this);
    if (m_playBar.CreateIn(this, kPlayBarId)) {
        m_playBar.SetOwner(&m_playControl);
        m_playControl.SetPlayBar(&m_playBar);
        SetupPlayBar();
    }
    return 0;
}

void CDataQNPlayFrameVCF::SetupPlayBar() {
    if (!m_playBar.GetSafeHwnd())
        return;
    m_playBar.SetBarStyle(m_playBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    const std::pair<UINT, int> icons[] = {
        {SensorRes::kPlayIcon, PlayControlId::kPlay},
        {SensorRes::kRewIcon, PlayControlId::kRew},
        {SensorRes::kStopIcon, PlayControlId::kStop},
        {SensorRes::kBackIcon, PlayControlId::kBack},
        {SensorRes::kStepIcon, PlayControlId::kFwd},
        {SensorRes::kRevIcon, PlayControlId::kPlayBackward},
        {SensorRes::kForwIcon, PlayControlId::kFFwd},
    };
    for (const auto& [icon, button] : icons)
        m_playBar.SetButtonIcon(button, CResourceChain::LoadIcon(icon));
    m_playBar.ShowWindow(SW_SHOW);
    ShowControlBar(&m_playBar, TRUE, FALSE);
}

CPlaybackView* CDataQNPlayFrameVCF::ShownPlayback() const {
    return dynamic_cast<CPlaybackView*>(GetActiveView());
}

void CDataQNPlayFrameVCF::RefreshPlayBar() {
    CPlaybackView* view = ShownPlayback();
    if (!m_playBar.GetSafeHwnd() || !view)
        return;
    // The mode boxes say how the playback moves with the others of its play group.
    const BOOL member = view->GetGroupDocument() != nullptr;
    for (int id :
         {PlayControlId::kSynchronize, PlayControlId::kBaseSync, PlayControlId::kContinuous}) {
        if (CWnd* box = m_playBar.GetDlgItem(id))
            box->EnableWindow(member);
    }
    m_playControl.SetSynchronize(view->GetFrameNumberOrigin(nullptr));
    m_playControl.ShowSynchronize();
    m_playControl.SetBaseSync(view->GetBaseSync());
    m_playControl.ShowBaseSync();
    m_playControl.SetContinuous(view->GetContinuous());
    m_playControl.ShowContinuous();
    m_playControl.SetRate(view->GetFrameRate());
    m_playControl.UpdateReadout();
    m_playControl.GotoFrame(view->GetCurrentFrame(), FALSE);
}

BOOL CDataQNPlayFrameVCF::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                                   AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CPlayControlWnd::IsPlayControlId(nID) && m_playControl.GetSafeHwnd() &&
        m_playControl.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CDataFrameVCF::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDataQNPlayFrameVCF::OnClose() {
    const std::optional<int> prompt = CVidView::IntegerSetting("AppBehave:bPrompt4CloseFromDevice");
    const auto* view = dynamic_cast<const CDataPlayView*>(GetActiveView());
    const CSharedRef<CSensorDataSet> data =
        view ? view->GetDataSet() : CSharedRef<CSensorDataSet>();
    if (!(prompt && *prompt == 0) && !data.IsEmpty() && data->GetLiveCopy()) {
        QString question;
        LoadString(kEraseQuestionString, question);
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDNO)
            return;
    }
    CDataFrameVCF::OnClose();
}

LRESULT CDataQNPlayFrameVCF::OnClosePlayback(WPARAM, LPARAM) {
    CDataFrameVCF::OnClose();
    return 0;
}

LRESULT CDataQNPlayFrameVCF::OnMemberFrameMoved(WPARAM, LPARAM lParam) {
    // The playback is there already: telling it again would move the group once more.
    if (m_playControl.GetSafeHwnd())
        m_playControl.GotoFrame(static_cast<int>(lParam), FALSE);
    return 0;
}

void CDataQNPlayFrameVCF::FrameCountCallback(void* context, int, int* value) {
    const CPlaybackView* view = static_cast<CDataQNPlayFrameVCF*>(context)->ShownPlayback();
    *value = view ? view->GetFrameCount() : 0;
}

// Frames are numbered from the playback's zero frame.
void CDataQNPlayFrameVCF::FrameNumberCallback(void* context, int, int* value) {
    const CPlaybackView* view = static_cast<CDataQNPlayFrameVCF*>(context)->ShownPlayback();
    int zero = 0;
    *value = view && view->GetFirstFrameNumber(&zero) ? zero : 0;
}

void CDataQNPlayFrameVCF::CurrentFrameCallback(void* context, int, int* value) {
    const CPlaybackView* view = static_cast<CDataQNPlayFrameVCF*>(context)->ShownPlayback();
    *value = view ? view->GetCurrentFrame() : 0;
}

BOOL CDataQNPlayFrameVCF::TimeCallback(void* context, double* rate) {
    const CPlaybackView* view = static_cast<CDataQNPlayFrameVCF*>(context)->ShownPlayback();
    if (!view)
        return FALSE;
    *rate = view->GetFrameRate();
    return TRUE;
}

// A step of the bar moves the playback as a move of its cursor does.
void CDataQNPlayFrameVCF::FrameChangedCallback(void* context, int frame) {
    CPlaybackView* view = static_cast<CDataQNPlayFrameVCF*>(context)->ShownPlayback();
    if (auto* data = dynamic_cast<CDataPlayView*>(view))
        data->GoToScan(frame);
    else if (view)
        view->SetCurrentFrame(frame, 1);
}
