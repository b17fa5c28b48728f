#include "devices/CameraSettingsDlg.h"

#include "devices/core/Device.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/WinApp.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"

#include <memory>

namespace {

class CameraSettingsDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        SimDriverConfig config;
        config.cameras = 1;
        config.colourCameras = 0;
        config.cards = 0;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &m_clock.services));
        m_device = DriverLoader::OpenById(CDeviceId(kDeviceTypeCamera, 1, 0));
        ASSERT_NE(m_device, nullptr);
        m_dialog = std::make_unique<CCameraSettingsDlg>(*m_device);
        ASSERT_TRUE(m_dialog->Create(CCameraSettingsDlg::kTemplate, nullptr));
        // OK hides a dialog that is not modal.
        m_dialog->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        m_dialog.reset();
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        IsolatedTest::TearDown();
    }
    CComboBox& Combo(int id) { return *static_cast<CComboBox*>(m_dialog->GetDlgItem(id)); }
    QString Chosen(int id) { return Combo(id).GetLBText(Combo(id).GetCurSel()); }
    void Choose(int id, const QString& text) {
        const int row = Combo(id).FindStringExact(-1, text);
        ASSERT_GE(row, 0) << text.toStdString();
        Combo(id).SetCurSel(row);
    }

    SimHostClock m_clock;
    CDeviceManager m_manager;
    CWinApp m_app{"settings"};
    CDevice* m_device = nullptr;
    std::unique_ptr<CCameraSettingsDlg> m_dialog;
};

TEST_F(CameraSettingsDlgTest, ShowsTheCamerasValuesAndGivesItTheNewOnes) {
    EXPECT_EQ(m_dialog->GetWindowText(), "Camera Settings");
    double rate = 0;
    m_device->GetRecordRate(&rate);
    std::vector<double> rates;
    m_device->Driver()->GetRateList(&rates);
    EXPECT_EQ(Combo(CCameraSettingsDlg::kRate).GetCount(), static_cast<int>(rates.size()));
    EXPECT_EQ(Chosen(CCameraSettingsDlg::kRate), QString::number(rate));
    EXPECT_EQ(Chosen(CCameraSettingsDlg::kResolution), "1280 x 1024");
    EXPECT_EQ(Chosen(CCameraSettingsDlg::kTrigger), "Software");
    EXPECT_TRUE(
        m_dialog->GetDlgItemText(CCameraSettingsDlg::kMemory).startsWith("Frames in memory: "));

    Choose(CCameraSettingsDlg::kRate, "250");
    Choose(CCameraSettingsDlg::kResolution, "800 x 600");
    Choose(CCameraSettingsDlg::kTrigger, "Video Trigger");
    m_dialog->SetDlgItemText(CCameraSettingsDlg::kExposure, "1500");
    m_dialog->SetDlgItemText(CCameraSettingsDlg::kPostTrigger, "40");
    m_dialog->OnOK();
    EXPECT_FALSE(m_dialog->IsWindowVisible());
    m_device->GetRecordRate(&rate);
    EXPECT_EQ(rate, 250);
    int width = 0;
    int height = 0;
    m_device->GetResolution(&width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(800, 600));
    double exposure = 0;
    m_device->Driver()->GetExposure(&exposure);
    EXPECT_DOUBLE_EQ(exposure, 0.0015);
    DriverTriggerSetting trigger;
    m_device->Driver()->GetTriggerSetting(&trigger);
    EXPECT_EQ(trigger.type, 2);
    EXPECT_EQ(trigger.postTriggerFrames, 40);
}

// What the camera refuses is named, as are values no camera could take; the dialog stays open
// showing the camera's own values.
TEST_F(CameraSettingsDlgTest, RefusedValuesAreNamedAndTheDialogStaysOpen) {
    int memory = 0;
    ASSERT_EQ(m_device->Driver()->GetMaxFrames(&memory), 0);
    const QString frames = QStringLiteral("Please enter an integer between 0 and %1.").arg(memory);
    const QString beyond = QString::number(memory + 1);
    const struct {
        const char* exposureUs;
        QString post;
        QString message;
    } cases[] = {
        // A millisecond and a half is longer than a frame at 1000 frames/s.
        {"1500", "10",
         "The camera did not take these settings: exposure.\nIt keeps the values shown now."},
        {"-1", "10", "Please enter a number between 0 and 1000000."},
        {"100", "-3", frames},
        // More frames after the trigger than the memory holds could never be recorded.
        {"100", beyond, frames},
    };
    double before = 0;
    m_device->Driver()->GetExposure(&before);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exposureUs);
        Choose(CCameraSettingsDlg::kRate, "1000");
        m_dialog->SetDlgItemText(CCameraSettingsDlg::kExposure, c.exposureUs);
        m_dialog->SetDlgItemText(CCameraSettingsDlg::kPostTrigger, c.post);
        Prompter().ExpectMessageBox(c.message, IDOK);
        m_dialog->OnOK();
        EXPECT_TRUE(m_dialog->IsWindowVisible());
        double exposure = 0;
        m_device->Driver()->GetExposure(&exposure);
        EXPECT_EQ(exposure, before);
    }
    // The camera took the rate and kept its exposure; the dialog shows both as they are now.
    EXPECT_EQ(Chosen(CCameraSettingsDlg::kRate), "1000");
    Prompter().ExpectMessageBox(
        "The camera did not take these settings: exposure.\nIt keeps the values shown now.", IDOK);
    m_dialog->SetDlgItemText(CCameraSettingsDlg::kExposure, "1500");
    m_dialog->SetDlgItemText(CCameraSettingsDlg::kPostTrigger, "10");
    m_dialog->OnOK();
    EXPECT_EQ(m_dialog->GetDlgItemText(CCameraSettingsDlg::kExposure),
              QString::number(before * 1e6));
}

}  // namespace
