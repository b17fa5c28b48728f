#include "devices/CamDoc.h"
#include "devices/CamFrm.h"
#include "devices/CamRecordPanel.h"
#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/WinApp.h"
#include "resources/ProgramResources.h"
#include "shell/MainFrame.h"
#include "testsupport/IsolatedTest.h"

#include <QApplication>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Camera windows own the camera they show: a second window on an attached camera is refused,
// and closing one window leaves every other window's record commands reaching its own group.

namespace {

struct Step {
    char action;  // 'o' opens a window on the camera, 'c' closes the window opened as that slot
    int slot;
    int camera;
    bool refused;  // for 'o': the window is refused
};

struct Case {
    const char* name;
    std::vector<Step> steps;
};

class CamFrmTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
        SimDriverConfig config;
        config.cameras = 2;
        config.colourCameras = 0;
        config.cards = 0;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &m_clock.services));
        m_template = std::make_unique<CMultiDocTemplate>(
            0, RUNTIME_CLASS(CCamDoc), RUNTIME_CLASS(CCamFrm), RUNTIME_CLASS(CCamView));
    }
    void TearDown() override {
        for (auto& [slot, window] : m_windows)
            if (!window.token.expired())
                window.frame->DestroyWindow();
        m_windows.clear();
        m_template.reset();
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        if (m_app.m_pMainWnd == m_main)
            m_main->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    struct Window {
        CCamFrm* frame = nullptr;
        CCamView* view = nullptr;
        int camera = -1;
        std::weak_ptr<bool> token;
    };

    // Opens a camera window as File/Open Camera... does after Device Selection.
    void Open(int slot, int camera, bool refused) {
        const CDeviceId id(kDeviceTypeCamera, 1, camera);
        ASSERT_NE(DriverLoader::OpenById(id), nullptr);
        if (refused)
            Prompter().ExpectMessageBox(QString::fromLatin1(CDeviceSelectionDlg::kDeviceInUse),
                                        IDOK);
        CDocument* doc = m_template->OpenDocumentFile(QString("deviceXXX__") + id.ToString(), TRUE);
        ASSERT_NE(doc, nullptr);
        POSITION pos = doc->GetFirstViewPosition();
        Window window;
        window.view = dynamic_cast<CCamView*>(doc->GetNextView(pos));
        ASSERT_NE(window.view, nullptr);
        window.frame = dynamic_cast<CCamFrm*>(window.view->GetParentFrame());
        ASSERT_NE(window.frame, nullptr);
        window.token = window.frame->GetLifeToken();
        window.camera = camera;
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(window.token.expired(), refused) << "camera " << camera;
        if (!refused)
            m_windows[slot] = window;
    }
    void Close(int slot) {
        Window& window = m_windows.at(slot);
        ASSERT_FALSE(window.token.expired());
        window.frame->DestroyWindow();
        m_windows.erase(slot);
    }
    static int Handle(int camera) {
        int handle = -1;
        OpenDevices::FindById(CDeviceId(kDeviceTypeCamera, 1, camera), &handle);
        return handle;
    }
    // Sends the Record page's "Record" (14) through the window's device link: status 0 when
    // the window's own group answered it.
    static int RecordStatus(Window& window) {
        VARIANT code;
        code.vt = VT_I4;
        code.lVal = 14;
        VARIANT values{};
        VARIANT status{};
        VARIANT result{};
        CDeviceLink& link = window.view->GetLink();
        link.SendCommand(link.GetHandle(), 1, code, values, &status, &result);
        return status.vt == VT_I4 ? static_cast<int>(status.lVal & 0xFFFF) : -1;
    }

    SimHostClock m_clock;
    CDeviceManager m_manager;
    CWinApp m_app{"camfrm"};
    CMainFrame* m_main = nullptr;
    std::unique_ptr<CMultiDocTemplate> m_template;
    std::map<int, Window> m_windows;
};

TEST_F(CamFrmTest, EachCameraHasOneWindowAndClosingOneLeavesTheOthersRecording) {
    const Case cases[] = {
        {"second window on camera 1 refused", {{'o', 0, 0, false}, {'o', 1, 0, true}}},
        {"refused, then the first closes and camera 1 opens again",
         {{'o', 0, 0, false}, {'o', 1, 0, true}, {'c', 0, 0, false}, {'o', 1, 0, false}}},
        {"two cameras, the first closed",
         {{'o', 0, 0, false}, {'o', 1, 1, false}, {'c', 0, 0, false}}},
        {"two cameras, the second closed",
         {{'o', 0, 0, false}, {'o', 1, 1, false}, {'c', 1, 1, false}}},
        {"two cameras, the second refused a second window, then the first closed",
         {{'o', 0, 1, false}, {'o', 1, 0, false}, {'o', 2, 1, true}, {'c', 1, 0, false}}},
        {"closed and opened again beside the other",
         {{'o', 0, 0, false}, {'o', 1, 1, false}, {'c', 0, 0, false}, {'o', 0, 0, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Step& step : c.steps) {
            if (step.action == 'o')
                Open(step.slot, step.camera, step.refused);
            else
                Close(step.slot);
            for (int camera = 0; camera < 2; ++camera) {
                bool shown = false;
                for (const auto& [slot, window] : m_windows)
                    shown = shown || window.camera == camera;
                if (Handle(camera) >= 0) {
                    EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(Handle(camera)), shown ? 1 : 0)
                        << "camera " << camera;
                }
            }
        }
        for (auto& [slot, window] : m_windows) {
            CRecordGroup& group = window.frame->GetRecordPanel()->GetGroup();
            EXPECT_EQ(group.GetDeviceCount(), 1) << "slot " << slot;
            EXPECT_EQ(window.view->GetLink().GetCommandTarget(), &group) << "slot " << slot;
            EXPECT_EQ(RecordStatus(window), 0) << "slot " << slot;
        }
        while (!m_windows.empty())
            Close(m_windows.begin()->first);
    }
}

}  // namespace
