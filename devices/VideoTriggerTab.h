#pragma once

// CVideoTriggerTab: the video-trigger ("Smart Trigger") page: the user marks the image region
// whose mean level triggers a camera's recording, sets the rising and falling levels and the
// training, and watches the level. Everything goes to the video-trigger operations of the
// camera in front of the record controller; the page keeps nothing of its own but its presets.
// It refreshes its fields from the camera on every 15th event of its own window.

#include "devices/PageEventCounter.h"
#include "devices/VideoTriggerTraceWnd.h"
#include "devices/core/DeviceLink.h"
#include "platform/framework/ComboBox.h"
#include "views/panels/TabDlg.h"

#include <QString>

#include <memory>
#include <vector>

class CCamView;
class CDevice;
class IDeviceViewFinder;

inline constexpr UINT kVideoTriggerTabTemplate = 180;

class CVideoTriggerTab : public CTabDlg {
    DECLARE_DYNAMIC(CVideoTriggerTab)
    DECLARE_MESSAGE_MAP()

public:
    enum Control : int {
        kDefineRegion = 2119,
        kSetRegion = 2120,
        kShowTrace = 2128,
        kLevelText = 2129,
        kRemove = 2140,
        kReadLevels = 2134,
        kReadTraining = 2135,
        kSendRising = 2138,
        kSendFalling = 2139,
        kSendTraining = 1007,
        kRisingEdit = 2136,
        kFallingEdit = 2137,
        kTrainingEdit = 2143,
        kRetrain = 2141,
        kTrainOnRecord = 2142,
        kRisingCombo = 2177,
        kFallingCombo = 2178,
        kTrainingCombo = 2179,
    };
    static constexpr int kPollPeriod = 15;
    static constexpr const char* kLevelPrefix = "Video Trigger Level : ";
    static constexpr const char* kUserEntry = "User...";

    // The template: 180 on a control panel, 30084 without the data-trigger group.
    explicit CVideoTriggerTab(UINT nIDTemplate = kVideoTriggerTabTemplate,
                              CWnd* pParentWnd = nullptr);
    ~CVideoTriggerTab() override;

    // The windows of the record controller (not owned; null: none).
    void SetViewFinder(IDeviceViewFinder* finder) { m_finder = finder; }
    // The camera view whose camera the page edits, or null.
    CCamView* FindCameraView();
    CDevice* FindDevice();

    const std::vector<int>& GetLevelPresets() const { return m_levelPresets; }
    const std::vector<int>& GetTrainingPresets() const { return m_trainingPresets; }
    // Shows the camera's level and train-on-record setting.
    void RefreshFields();
    CVideoTriggerTraceWnd& GetTraceWnd() { return m_trace; }
    const CPageEventCounter& GetEventCounter() const { return m_events; }

    BOOL OnInitDialog() override;

    void OnDefineRegion();
    void OnSetRegion();
    void OnShowTrace();
    void OnRemoveRegion();
    void OnReadLevels();
    void OnReadTraining();
    void OnSendRising();
    void OnSendFalling();
    void OnSendTraining();
    void OnRetrain();
    void OnTrainOnRecord();
    void OnRisingDropDown();
    void OnFallingDropDown();
    void OnTrainingDropDown();
    void OnRisingChosen();
    void OnFallingChosen();
    void OnTrainingChosen();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy();

private:
    class Link : public CDeviceLink {
    public:
        explicit Link(CVideoTriggerTab& page) : m_page(page) {}
        void OnDeviceUpdate() override { m_page.RefreshFields(); }

    private:
        CVideoTriggerTab& m_page;
    };

    // One settings item of the camera, as the combos, edits and prompts change it.
    struct Item {
        int item;
        int combo;
        int edit;
        const char* title;
        const char* prompt;
        int minimum;
        int maximum;
    };
    static const Item& ItemOf(int item);
    CComboBox& ComboOf(const Item& item);
    void FillPresets(const Item& item);
    void ChoosePreset(const Item& item);
    void SendEdit(const Item& item);
    // Copies the camera's items from first to last into their edits.
    void ReadItems(int first, int last);
    void ShowLevel(CDevice* device);

    Link m_link;
    IDeviceViewFinder* m_finder = nullptr;
    std::vector<int> m_levelPresets = {5, 10, 20, 40, 100, 200};
    std::vector<int> m_trainingPresets = {1, 10, 25, 50, 100};
    CComboBox m_risingBox;
    CComboBox m_fallingBox;
    CComboBox m_trainingBox;
    CVideoTriggerTraceWnd m_trace;
    CPageEventCounter m_events;
};
