#include "devices/DeviceSelection.h"

#include "devices/DeviceSelectionDlg.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"

#include <QInputDialog>

int CDeviceSelection::ChooseSession() {
    const QStringList choices = {QStringLiteral("Live Camera"), QStringLiteral("Video from File")};
    CWnd* main = AfxGetMainWnd();
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        main ? main->GetQWidget() : nullptr, QStringLiteral("Session Selection"),
        QStringLiteral("Please select a session type :"), choices, 1, false, &ok);
    return ok ? static_cast<int>(choices.indexOf(chosen)) : -1;
}

int CDeviceSelection::ChooseDevice(CDeviceId* id) {
    CDeviceSelectionDlg dialog(AfxGetMainWnd());
    if (dialog.DoModal() != IDOK)
        return IDCANCEL;
    dialog.GetDeviceId(id);
    return IDOK;
}
