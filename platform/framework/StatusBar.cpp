#include "platform/framework/StatusBar.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QStatusBar>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

// The CCmdUI of one status pane.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar* bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        const UINT style = m_bar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~SBPS_DISABLED;
        m_bar->SetPaneStyle(static_cast<int>(m_nIndex), bOn ? style : style | SBPS_DISABLED);
    }
    void SetCheck(int) override {}
    void SetText(const QString& text) override {
        m_bar->SetPaneText(static_cast<int>(m_nIndex), text);
    }

private:
    CStatusBar* m_bar;
};

}  // namespace

CStatusBar::CStatusBar() = default;

QWidget* CStatusBar::CreateWidget(QWidget* parent) {
    auto* bar = new QStatusBar(parent);
    bar->setSizeGripEnabled(false);
    return bar;
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (!pParentWnd)
        return FALSE;
    m_dwStyle = dwStyle & ~(WS_CHILD | WS_VISIBLE);
    if (!CWnd::Create(nullptr, QString(), (dwStyle & ~WS_VISIBLE) | WS_CHILD, CRect(0, 0, 0, 0),
                      pParentWnd, nID))
        return FALSE;
    AttachToFrame(pParentWnd);
    if (auto* main = qobject_cast<QMainWindow*>(pParentWnd->GetQWidget()))
        main->setStatusBar(GetStatusBarCtrl());
    GetStatusBarCtrl()->setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

QStatusBar* CStatusBar::GetStatusBarCtrl() const {
    return qobject_cast<QStatusBar*>(GetQWidget());
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    QStatusBar* bar = GetStatusBarCtrl();
    if (!bar)
        return FALSE;
    for (Pane& pane : m_panes)
        delete pane.box;
    m_panes.clear();
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane;
        pane.id = lpIDArray[i];
        pane.style = pane.id == ID_SEPARATOR ? SBPS_NOBORDERS | SBPS_STRETCH : SBPS_NORMAL;
        pane.box = new QWidget(bar);
        auto* layout = new QHBoxLayout(pane.box);
        layout->setContentsMargins(2, 0, 2, 0);
        layout->setSpacing(2);
        pane.icon = new QLabel(pane.box);
        pane.icon->hide();
        pane.label = new QLabel(pane.box);
        layout->addWidget(pane.icon);
        layout->addWidget(pane.label, 1);
        if (pane.style & SBPS_STRETCH)
            bar->addWidget(pane.box, 1);
        else
            bar->addPermanentWidget(pane.box);
        m_panes.push_back(pane);
    }
    return TRUE;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[nIndex].id : 0;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_panes[i].id == nIDFind)
            return i;
    }
    return -1;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    nID = m_panes[nIndex].id;
    nStyle = m_panes[nIndex].style;
    cxWidth = m_panes[nIndex].width;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane& pane = m_panes[nIndex];
    pane.id = nID;
    pane.style = nStyle;
    pane.width = cxWidth;
    if (cxWidth > 0)
        pane.label->setMinimumWidth(cxWidth);
    ShowPane(pane);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[nIndex].style : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= GetCount() || m_panes[nIndex].style == nStyle)
        return;
    m_panes[nIndex].style = nStyle;
    ShowPane(m_panes[nIndex]);
}

BOOL CStatusBar::SetPaneText(int nIndex, const QString& text, BOOL) {
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    if (m_panes[nIndex].text != text) {
        m_panes[nIndex].text = text;
        ShowPane(m_panes[nIndex]);
    }
    return TRUE;
}

QString CStatusBar::GetPaneText(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[nIndex].text : QString();
}

QString CStatusBar::GetShownPaneText(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[nIndex].label->text() : QString();
}

void CStatusBar::SetPaneIcon(int nIndex, const QImage& icon) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane& pane = m_panes[nIndex];
    // The update handlers set the icon on every idle pass.
    if (pane.iconImage.cacheKey() == icon.cacheKey())
        return;
    pane.iconImage = icon;
    QLabel* label = pane.icon;
    label->setPixmap(icon.isNull() ? QPixmap() : QPixmap::fromImage(icon));
    label->setVisible(!icon.isNull());
}

QImage CStatusBar::GetPaneIcon(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[nIndex].iconImage : QImage();
}

void CStatusBar::SetTipText(int nIndex, const QString& text) {
    if (nIndex >= 0 && nIndex < GetCount())
        m_panes[nIndex].box->setToolTip(text);
}

QString CStatusBar::GetTipText(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[nIndex].box->toolTip() : QString();
}

void CStatusBar::ShowPane(Pane& pane) {
    pane.label->setText((pane.style & SBPS_DISABLED) ? QString() : pane.text);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CStatusCmdUI ui(this);
    for (int i = 0; i < GetCount(); ++i) {
        ui.m_nID = m_panes[i].id;
        ui.m_nIndex = static_cast<UINT>(i);
        // The message pane belongs to whoever writes it; no handler decides over it.
        if (ui.m_nID == ID_SEPARATOR)
            continue;
        ui.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}
