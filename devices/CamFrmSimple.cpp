#include "devices/CamFrmSimple.h"

#include "platform/framework/WinApp.h"
#include "shell/MainFrame.h"
#include "shell/TimedProgressDlg.h"

#include <memory>
#include <optional>

IMPLEMENT_DYNCREATE(CCamFrmSimple, CViewChildedFrame)

BEGIN_MESSAGE_MAP(CCamFrmSimple, CViewChildedFrame)
ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

CCamFrmSimple::ClosingObserver& Observer() {
    static CCamFrmSimple::ClosingObserver observer;
    return observer;
}

}  // namespace

void CCamFrmSimple::SetClosingObserver(ClosingObserver observer) {
    Observer() = std::move(observer);
}

void CCamFrmSimple::OnClose() {
    CloseFrame();
}

void CCamFrmSimple::CloseFrame() {
    // The busy count goes up and down on every path, also when the frame refuses to close.
    std::optional<CMainFrame::CloseBlock> busy;
    if (AfxGetMainWnd())
        busy.emplace();
    CTimedProgressDlg progress;
    progress.m_strTitle = QString::fromLatin1(kClosingTitle);
    progress.m_strText = QString::fromLatin1(kClosingText);
    const bool shown = progress.Create(AfxGetMainWnd()) != FALSE;
    if (shown) {
        if (CWnd* cancel = progress.GetDlgItem(IDCANCEL))
            cancel->ShowWindow(SW_HIDE);
        progress.StartTimer(500, 25);
        if (Observer())
            Observer()(progress);
    }
    // The base close may delete this frame: nothing of it is used afterwards.
    CViewChildedFrame::OnClose();
    if (shown)
        progress.DestroyWindow();
}
