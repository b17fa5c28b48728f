#include "shell/ViewChildedFrameM.h"

#include "platform/framework/WinApp.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>

IMPLEMENT_DYNCREATE(CViewChildedFrameM, CViewChildedFrame)

BEGIN_MESSAGE_MAP(CViewChildedFrameM, CViewChildedFrame)
ON_WM_CREATE()
ON_COMMAND(ID_EDIT_COPY_ACTIVE_WINDOW, OnEditCopyActiveWindow)
ON_COMMAND(ID_WINDOW_CLOSE_ACTIVE_WINDOW, OnWindowCloseActiveWindow)
END_MESSAGE_MAP()

int CViewChildedFrameM::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CViewChildedFrame::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
    return 0;
}

void CViewChildedFrameM::OnEditCopyActiveWindow() {
    Invalidate();
    UpdateWindow();
    QPixmap image;
    if (QWidget* widget = GetQWidget())
        image = widget->grab();
    QClipboard* clipboard = QGuiApplication::clipboard();
    const bool copied = !image.isNull() && clipboard != nullptr;
    if (copied)
        clipboard->setPixmap(image);
    MessageBox(copied ? QStringLiteral("Active window copied to clipboard.")
                      : QStringLiteral("Failed to copy active window to clipboard."),
               QStringLiteral("Vidra Player"), MB_OK | MB_ICONINFORMATION);
}

void CViewChildedFrameM::OnWindowCloseActiveWindow() {
    PostMessage(WM_CLOSE);
}
