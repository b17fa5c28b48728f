#include "views/VidFrame.h"

#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "views/VidView.h"

IMPLEMENT_DYNCREATE(CVidFrame, CViewChildedFrame)

BEGIN_MESSAGE_MAP(CVidFrame, CViewChildedFrame)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_MESSAGE(kClosePlaybackMessage, OnClosePlayback)
ON_MESSAGE(kMemberFrameMovedMessage, OnMemberFrameMoved)
END_MESSAGE_MAP()

namespace {

constexpr UINT kFirstPlayCommand = PlayControlId::kPlay;
constexpr UINT kLastPlayCommand = PlayControlId::kFFwd;

}  // namespace

int CVidFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CViewChildedFrame::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_playControl.Create(nullptr, QStringLiteral("play controller"), WS_CHILD, CRect(), this,
                              0))
        return -1;
    m_bCreated = TRUE;
    return 0;
}

BOOL CVidFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nID >= kFirstPlayCommand && nID <= kLastPlayCommand && m_playControl.GetSafeHwnd() &&
        m_playControl.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CViewChildedFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CVidFrame::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == PlayControlId::kSkipSpin) {
        // The play group keeps one skip for all its members: it decides.
        if (CFrameWnd* parent = GetParentFrame()) {
            const LRESULT result = parent->SendMessage(WM_NOTIFY, wParam, lParam);
            if (pResult)
                *pResult = result;
            return TRUE;
        }
    }
    return CViewChildedFrame::OnNotify(wParam, lParam, pResult);
}

bool CVidFrame::DeviceQuestionTurnedOff() {
    const std::optional<int> prompt = CVidView::IntegerSetting("AppBehave:bPrompt4CloseFromDevice");
    return prompt && *prompt == 0;
}

bool CVidFrame::ShowsDeviceRecording() {
    auto* view = dynamic_cast<CVidView*>(GetActiveView());
    if (!view)
        return false;
    const CFrameSourcePtr source = view->GetFrameSource();
    return !source.IsEmpty() && source->IsFromDevice();
}

void CVidFrame::CloseWithDeviceCheck() {
    if (!DeviceQuestionTurnedOff() && ShowsDeviceRecording() &&
        AfxMessageBox(QString::fromLatin1(kEraseQuestion), MB_YESNO | MB_ICONQUESTION) == IDNO)
        return;
    CViewChildedFrame::OnClose();
}

void CVidFrame::OnClose() {
    CloseWithDeviceCheck();
}

LRESULT CVidFrame::OnClosePlayback(WPARAM, LPARAM) {
    CViewChildedFrame::OnClose();
    return 0;
}

LRESULT CVidFrame::OnMemberFrameMoved(WPARAM, LPARAM lParam) {
    // The group moved the member already: telling it again would start the group over.
    if (m_playControl.GetSafeHwnd())
        m_playControl.GotoFrame(static_cast<int>(lParam), FALSE);
    return 0;
}
