#include "views/panels/PlaybackTab.h"

#include "platform/framework/DataExchange.h"
#include "platform/framework/FrameWnd.h"
#include "views/panels/IPlaybackSourceList.h"
#include "views/panels/PlayButtonIcons.h"

IMPLEMENT_DYNAMIC(CPlaybackTab, CTabDlg)

BEGIN_MESSAGE_MAP(CPlaybackTab, CTabDlg)
ON_BN_CLICKED(CPlaybackTab::kAddDataButton, OnAddData)
ON_BN_CLICKED(CPlaybackTab::kAddVideoButton, OnAddVideo)
ON_COMMAND_RANGE(CPlaybackTab::kFirstPlayCommand, CPlaybackTab::kLastPlayCommand, OnPlayCommand)
ON_NOTIFY(NM_RCLICK, kPlaybackTreeId, OnTreeRightClick)
ON_NOTIFY(NM_DBLCLK, kPlaybackTreeId, OnTreeDoubleClick)
ON_COMMAND_RANGE(kWindowMenuFirst, kWindowMenuLast, OnWindowMenu)
END_MESSAGE_MAP()

CPlaybackTab::CPlaybackTab(CWnd* pParentWnd) : CTabDlg(kPlaybackTabTemplate, pParentWnd) {}

void CPlaybackTab::DoDataExchange(CDataExchange* pDX) {
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kPlaybackTreeId, m_tree);
}

void CPlaybackTab::ReplaceButton(COwnerDrawButton& button, int nID, UINT icon) {
    if (button.CreateInPlaceOf(this, nID)) {
        button.SetIconFromResource(icon, 0);
        button.SetFlat(FALSE);
    }
}

BOOL CPlaybackTab::OnInitDialog() {
    CTabDlg::OnInitDialog();
    ReplaceButton(m_addVideo, kAddVideoButton, kAddVideoIcon);
    ReplaceButton(m_addData, kAddDataButton, kAddDataIcon);
    CPlayButtonIcons::Apply(this);
    // Both play buttons are captioned "Play"; their tips say which way each plays.
    AddItemTip(kPlayForwardCommand, QStringLiteral("Play forward"));
    AddItemTip(kPlayBackwardCommand, QStringLiteral("Play backward"));
    m_seenCount = 0;
    m_listedCount = 0;
    m_tree.Initialize();
    return TRUE;
}

LRESULT CPlaybackTab::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (GetSafeHwnd())
        Poll();
    return CTabDlg::DefWindowProc(message, wParam, lParam);
}

void CPlaybackTab::Poll() {
    if (CPlaybackTree::TakeListChange(AskOwner(), &m_seenCount, m_listedCount))
        RebuildTree();
}

HRESULT CPlaybackTab::RebuildTree() {
    return m_tree.Rebuild(AskOwner(), &m_listedCount);
}

void CPlaybackTab::OnAddVideo() {
    if (IPlaybackSourceList* list = AskOwner())
        list->AddSource(kPlaybackSourceVideo);
}

void CPlaybackTab::OnAddData() {
    if (IPlaybackSourceList* list = AskOwner())
        list->AddSource(kPlaybackSourceData);
}

void CPlaybackTab::OnPlayCommand(UINT nID) {
    if (CFrameWnd* frame = GetParentFrame())
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), 0), 0);
}

void CPlaybackTab::OnTreeRightClick(NMHDR*, LRESULT* pResult) {
    m_tree.OnRightClick(this, AskOwner());
    *pResult = 0;
}

void CPlaybackTab::OnTreeDoubleClick(NMHDR*, LRESULT* pResult) {
    *pResult = m_tree.OnDoubleClick(AskOwner());
}

void CPlaybackTab::OnWindowMenu(UINT nID) {
    m_tree.OnWindowMenu(nID, AskOwner());
}
