#include "devices/DeviceSelection.h"

#include "devices/DeviceSelectionDlg.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"
#include "shell/RadioChoiceDlg.h"

int CDeviceSelection::ChooseSession() {
    // "Video from File" is chosen when the dialog opens.
    CRadioChoiceDlg dialog(AfxGetMainWnd());
    if (dialog.DoModal() != IDOK)
        return -1;
    return dialog.GetChoice();
}

int CDeviceSelection::ChooseDevice(CDeviceId* id) {
    CDeviceSelectionDlg dialog(AfxGetMainWnd());
    if (dialog.DoModal() != IDOK)
        return IDCANCEL;
    dialog.GetDeviceId(id);
    return IDOK;
}
