#include "devices/RecordGroupHost.h"

#include "platform/framework/Clock.h"
#include "platform/framework/WinApp.h"
#include "shell/MainFrame.h"
#include "views/ActiveAreaDlg.h"

#include <chrono>
#include <thread>

bool CRecordGroupHost::IsClosing() {
    const auto* frame = dynamic_cast<const CMainFrame*>(AfxGetMainWnd());
    return frame && frame->IsClosing();
}

void CRecordGroupHost::ShowActiveArea(CDevice& device) {
    CActiveAreaDlg dialog(device, AfxGetMainWnd());
    dialog.DoModal();
}

void CRecordGroupHost::Wait(int milliseconds) {
    const IClock& clock = AfxClock();
    const int64_t end = clock.Counter() + int64_t{milliseconds} * clock.Frequency() / 1000;
    while (clock.Counter() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
