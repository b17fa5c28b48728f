#include "platform/framework/MDIFrameWnd.h"
#include "platform/framework/WinApp.h"

#include <QApplication>

namespace {

// The program's application object until the real one takes its place: it opens the empty
// main window.
class CReelmarkApp : public CWinApp {
public:
    CReelmarkApp() : CWinApp("Vidra Player") {}

    BOOL InitInstance() override {
        auto* frame = new CMDIFrameWnd;
        if (!frame->LoadFrame(128))
            return FALSE;
        frame->SetTitle("Vidra Player");
        frame->SetWindowText("Vidra Player");
        m_pMainWnd = frame;
        frame->DragAcceptFiles();
        frame->ShowWindow(SW_SHOWMAXIMIZED);
        return TRUE;
    }
};

CReelmarkApp theApp;

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return AfxWinMain();
}
