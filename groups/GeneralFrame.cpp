#include "groups/GeneralFrame.h"

#include "groups/GeneralDoc.h"
#include "groups/GeneralView.h"
#include "groups/GroupSettings.h"
#include "groups/IControlPanelPages.h"
#include "groups/IProjectRecordState.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/MDIFrameWnd.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/WinApp.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

IMPLEMENT_DYNCREATE(CGeneralFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CGeneralFrame, CMDIChildWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_COMMAND(kFirstTabButton, OnRecordButton)
ON_COMMAND(kSecondTabButton, OnPlayButton)
ON_MESSAGE(kGroupModeChanged, OnGroupModeChanged)
ON_MESSAGE(kProjectFrameQuery, OnAnswerOne)
ON_COMMAND(ID_VIEW_CONTROL_PANEL, OnToggleControlPanel)
ON_UPDATE_COMMAND_UI(ID_VIEW_CONTROL_PANEL, OnUpdateToggleControlPanel)
ON_COMMAND(ID_SHOW_CONTROL_PANEL, OnShowControlPanel)
ON_UPDATE_COMMAND_UI(ID_SHOW_CONTROL_PANEL, OnUpdateShowControlPanel)
ON_COMMAND(ID_HIDE_CONTROL_PANEL, OnHideControlPanel)
ON_UPDATE_COMMAND_UI(ID_HIDE_CONTROL_PANEL, OnUpdateHideControlPanel)
END_MESSAGE_MAP()

namespace {

// Dialog frame, system menu and sizing border: what a frame without caption buttons lacks.
constexpr DWORD kCaptionButtonStyles = 0x4C0000;
constexpr UINT kGroupBarStyle = 0x50008252;
constexpr UINT kControlPanelStyle = 0x50401452;
constexpr UINT kGroupBarId = 0xE810;
constexpr UINT kControlPanelBarId = 0xE811;
constexpr int kImageProcessColourCode = 2;
// Below this width the group bar's picture would cover its tabs.
constexpr int kPictureMinWidth = 370;

}  // namespace

int CGeneralFrame::s_cascadeIndex = 0;

CGeneralFrame::CGeneralFrame()
    : m_bRemoveCaptionButtons(GroupFlagSetting(QStringLiteral("AppBehave:bPR_RemoveMaxMinClose"))) {
}

BOOL CGeneralFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                              CCreateContext* pContext) {
    if (m_bRemoveCaptionButtons)
        dwDefaultStyle &= ~kCaptionButtonStyles;
    return CMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
}

int CGeneralFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    CMDIFrameWnd* mdiFrame = GetMDIFrame();
    QWidget* client =
        mdiFrame && mdiFrame->GetMDIArea() ? mdiFrame->GetMDIArea()->viewport() : nullptr;
    // The client would show every step of building the frame.
    if (client)
        client->setUpdatesEnabled(false);
    const int created = CMDIChildWnd::OnCreate(lpCreateStruct);
    if (client)
        client->setUpdatesEnabled(true);
    if (created == -1)
        return -1;

    EnableDocking(CBRS_ALIGN_ANY);

    if (m_groupBar.Create(this, kGroupBarTemplate, kGroupBarStyle, kGroupBarId)) {
        m_groupBar.AttachTabControl(FALSE);
        CTabCtrl& tabs = m_groupBar.GetTabCtrl();
        if (tabs.GetSafeHwnd()) {
            tabs.InsertItem(0, QStringLiteral("Record Group"));
            tabs.InsertItem(1, QStringLiteral("Play Group"));
        }
        ShowControlBar(&m_groupBar, FALSE, FALSE);
    }

    if (m_controlPanelBar.Create(this, kProjectControlPanelTemplate, kControlPanelStyle,
                                 kControlPanelBarId)) {
        m_controlPanelBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
        DockControlBar(&m_controlPanelBar);
        m_controlPanelBar.AttachTabControl(TRUE);
    }

    PlaceInCascade();
    ++s_cascadeIndex;
    DragAcceptFiles(TRUE);
    return 0;
}

void CGeneralFrame::PlaceInCascade() {
    CMDIFrameWnd* mdiFrame = GetMDIFrame();
    QMdiSubWindow* sub = GetSubWindow();
    if (!mdiFrame || !mdiFrame->GetMDIArea() || !sub)
        return;
    const QStyle* style = QApplication::style();
    const int step = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                     style->pixelMetric(QStyle::PM_TitleBarHeight);
    const QSize area = mdiFrame->GetMDIArea()->viewport()->size();
    const int width = (4 * area.width() - 8) / 5;
    const int height = (4 * area.height() - 8) / 5;
    int offset = s_cascadeIndex * step;
    if (offset + width > area.width() || offset + height > area.height()) {
        s_cascadeIndex = 0;
        offset = 0;
    }
    sub->setGeometry(offset, offset, width, height);
}

void CGeneralFrame::SetGroupMode(int mode) {
    CTabCtrl& tabs = m_groupBar.GetTabCtrl();
    if (tabs.GetSafeHwnd())
        tabs.SetCurSel(mode);
    PostMessage(kGroupModeChanged, static_cast<WPARAM>(mode), 0);
}

int CGeneralFrame::GetGroupMode() {
    CTabCtrl& tabs = m_groupBar.GetTabCtrl();
    return tabs.GetSafeHwnd() ? tabs.GetCurSel() : -1;
}

void CGeneralFrame::ShowImageProcessPage(CControlPanelBar* bar) {
    if (!bar || !bar->GetSafeHwnd() || m_imageProcessPage.GetSafeHwnd())
        return;
    m_imageProcessPage.SetFrame(this);
    if (!m_imageProcessPage.Create(bar))
        return;
    m_imageProcessPage.ShowWindow(SW_SHOW);
    bar->AddPage(&m_imageProcessPage, QStringLiteral("Image Process"), kImageProcessColourCode);
    bar->SelectTab(0, 0);
}

void CGeneralFrame::ReloadImageProcessPage() {
    if (m_imageProcessPage.GetSafeHwnd())
        m_imageProcessPage.LoadFromView();
}

void CGeneralFrame::AttachGroupPages(CFrameWnd* groupFrame) {
    if (auto* pages = dynamic_cast<IControlPanelPages*>(groupFrame);
        pages && m_controlPanelBar.GetSafeHwnd())
        pages->AttachToControlPanel(&m_controlPanelBar);
}

void CGeneralFrame::OnSize(UINT nType, int cx, int cy) {
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (!m_groupBar.GetSafeHwnd())
        return;
    CTabCtrl& tabs = m_groupBar.GetTabCtrl();
    if (tabs.GetSafeHwnd()) {
        CRect rect;
        tabs.GetWindowRect(&rect);
        m_groupBar.ScreenToClient(&rect);
        tabs.MoveWindow(rect.left, rect.top, cx, rect.Height());
    }
    if (CWnd* picture = m_groupBar.GetDlgItem(kGroupBarPicture)) {
        if (cx < kPictureMinWidth) {
            picture->ShowWindow(SW_HIDE);
        } else {
            picture->MoveWindow(cx - 110, 4, 106, 41);
            picture->ShowWindow(SW_SHOW);
        }
    }
}

void CGeneralFrame::OnClose() {
    auto* project = dynamic_cast<CGeneralDoc*>(GetActiveDocument());
    if (project) {
        if (auto* state = dynamic_cast<IProjectRecordState*>(project->FindRecordGroupView());
            state && state->GetRecordGroupState() == kRecordGroupRecording) {
            MessageBox(QStringLiteral("Please complete the recording before closing."),
                       QStringLiteral("Unable to Close"), MB_ICONINFORMATION);
            return;
        }
        // Cancel in the play group's save question keeps the project open.
        CView* playGroup = project->FindPlayGroupView();
        if (CDocument* group = playGroup ? playGroup->GetDocument() : nullptr;
            group && !group->SaveModified())
            return;
    }
    CWnd* mainWnd = AfxGetMainWnd();
    CMDIChildWnd::OnClose();
    if (mainWnd && mainWnd->GetSafeHwnd())
        mainWnd->PostMessage(WM_ACTIVATE, WA_ACTIVE, 0);
}

void CGeneralFrame::OnRecordButton() {
    SetGroupMode(kRecordGroupMode);
}

void CGeneralFrame::OnPlayButton() {
    SetGroupMode(kPlayGroupMode);
}

LRESULT CGeneralFrame::OnGroupModeChanged(WPARAM, LPARAM) {
    if (auto* view = dynamic_cast<CGeneralView*>(GetActiveView())) {
        if (auto* project = dynamic_cast<CGeneralDoc*>(view->GetDocument()))
            project->UpdateProjectTitle();
        view->ShowGroupFramesForMode(TRUE);
    }
    return 1;
}

LRESULT CGeneralFrame::OnAnswerOne(WPARAM, LPARAM) {
    return 1;
}

BOOL CGeneralFrame::ControlPanelShown() const {
    return m_controlPanelBar.GetSafeHwnd() && m_controlPanelBar.IsVisible();
}

void CGeneralFrame::OnToggleControlPanel() {
    if (m_controlPanelBar.GetSafeHwnd())
        ShowControlBar(&m_controlPanelBar, !ControlPanelShown(), TRUE);
}

void CGeneralFrame::OnUpdateToggleControlPanel(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(ControlPanelShown() ? 1 : 0);
}

void CGeneralFrame::OnShowControlPanel() {
    if (m_controlPanelBar.GetSafeHwnd())
        ShowControlBar(&m_controlPanelBar, TRUE, TRUE);
}

void CGeneralFrame::OnUpdateShowControlPanel(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(ControlPanelShown() ? 1 : 0);
}

void CGeneralFrame::OnHideControlPanel() {
    if (m_controlPanelBar.GetSafeHwnd())
        ShowControlBar(&m_controlPanelBar, FALSE, TRUE);
}

void CGeneralFrame::OnUpdateHideControlPanel(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_controlPanelBar.GetSafeHwnd() && !m_controlPanelBar.IsVisible() ? 1 : 0);
}
