#include "devices/CamFrm.h"

#include "devices/CamRecordPanel.h"
#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"

#include <QMdiSubWindow>

IMPLEMENT_DYNCREATE(CCamFrm, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CCamFrm, CMDIChildWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

CCamFrm::CCamFrm() : m_recordPanel(std::make_unique<CCamRecordPanel>()) {}

CCamFrm::~CCamFrm() = default;

int CCamFrm::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CMDIChildWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_recordPanel->Create(this);
    return 0;
}

void CCamFrm::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CMDIChildWnd::InitialUpdateFrame(pDoc, bMakeVisible);
    if (!GetSafeHwnd())
        return;
    auto* view = dynamic_cast<CCamView*>(GetActiveView());
    // A camera another window has attached gets no second window.
    if (view && view->GetDevice() && !m_recordPanel->AttachCamera(view)) {
        AfxMessageBox(QString::fromLatin1(CDeviceSelectionDlg::kDeviceInUse),
                      MB_OK | MB_ICONWARNING);
        PostMessage(WM_CLOSE, 0, 0);
        return;
    }
    // The window widens by the panel, so that the live video keeps its size.
    QWidget* window = GetSubWindow();
    CControlPanelBar& bar = m_recordPanel->GetBar();
    if (window && bar.GetSafeHwnd() && bar.GetQWidget()->isVisible())
        window->resize(window->width() + bar.GetQWidget()->width(), window->height());
}
