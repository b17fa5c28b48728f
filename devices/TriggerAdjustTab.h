#pragma once

// CTriggerAdjustTab: the "Trigger Adjust" page: the trigger position of the camera in front of
// the record controller, within the record group the page follows. The slide's value is the
// trigger frame counted from 1; beside it the pre- and post-trigger counts and times, the
// pre-trigger percentage on the pre-trigger button, and the trigger type. The page refreshes
// when the group changes, when the pre-trigger label asks for its update, and on every 50th
// event of its own window.

#include "devices/PageEventCounter.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DriverApi.h"
#include "devices/core/RecordGroupListener.h"
#include "platform/framework/ComboBox.h"
#include "shell/CWSlide.h"
#include "shell/SlideEventLink.h"
#include "views/panels/TabDlg.h"

#include <QString>

#include <array>

class CCmdUI;
class CDevice;
class IDeviceCommandTargetProvider;
class IDeviceViewFinder;

inline constexpr UINT kTriggerAdjustTabTemplate = 207;

class CTriggerAdjustTab : public CTabDlg, public CRecordGroupListener {
    DECLARE_DYNAMIC(CTriggerAdjustTab)
    DECLARE_MESSAGE_MAP()

public:
    enum Control : int {
        kFirstDeviceText = 2057,
        kSlide = 1050,
        kPercent = 1013,
        kPreFrames = 1054,
        kPostFrames = 1052,
        kPreSamples = 2054,
        kPostSamples = 2055,
        kPreTime = 1053,
        kPostTime = 1051,
        kTriggerType = 1419,
        kPreTriggerButton = 2053,
    };
    static constexpr int kPollPeriod = 50;
    static constexpr int kMaxTriggerTypes = 7;
    // Group commands the page sends.
    static constexpr int kCmdCheckTrigger = 5;
    static constexpr int kCmdTriggerType = 6;
    static constexpr int kCmdTriggerChanged = 17;
    static constexpr const char* kMaxFramesError =
        "Error requesting maximum trigger setting from device.";

    explicit CTriggerAdjustTab(CWnd* pParentWnd = nullptr);
    ~CTriggerAdjustTab() override;

    // The group's provider: the page follows its group and sends its commands to it.
    void SetGroupProvider(IDeviceCommandTargetProvider* provider);
    // Finds the camera in front (not owned; null: none).
    void SetViewFinder(IDeviceViewFinder* finder) { m_finder = finder; }

    // The name of a trigger type; cameras of subtypes 3, 14 and 15 call the edges after their
    // inputs. Codes outside 1-5 give unchanged.
    static QString TriggerTypeText(int code, int subtype, const QString& unchanged);
    // The trigger types the device in front takes, in list order, at most capacity: how many.
    int BuildTriggerTypeList(int* codes, int capacity);
    // Shows the device's trigger setting while it is live or recording; otherwise disables the
    // trigger type, the pre-trigger button and the slide. Nothing while the slide is held.
    void Refresh();
    // The camera in front of the followed group's controller, or null.
    CDevice* FindDevice() const;

    void OnGroupClosed() override;
    void OnGroupChanged() override;
    BOOL OnInitDialog() override;

    // The slide's events: its value while dragged, the button pressed and released.
    void OnSlideTracking(double value);
    void OnSlideMouseDown();
    void OnSlideMouseUp();
    // 0 while the mouse button is held on the slide.
    int GetReleaseFlag() const { return m_released; }
    CCWSlide& GetSlide() { return m_slide; }
    CComboBox& GetTriggerTypeBox() { return m_triggerType; }
    const CPageEventCounter& GetEventCounter() const { return m_events; }

    void OnTriggerTypeDropDown();
    void OnTriggerTypeCloseUp();
    void OnPreTriggerCount();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy();
    void OnUpdateFirstDevice(CCmdUI* pCmdUI);

private:
    // What the page shows of a device for post-trigger count p.
    struct Reading {
        int type = 0;
        int subtype = -1;
        int mode = 0;
        double rate = 0.0;
        int divisor = 1;
        int maxFrames = 0;
        DriverTriggerSetting trigger;
    };
    bool Read(CDevice* device, Reading* reading) const;
    // Counts and times of the fields for post-trigger count p.
    void ShowCounts(const Reading& reading, int p);
    // Writes the trigger setting and sends code to the group.
    void WriteTrigger(CDevice* device, const DriverTriggerSetting& setting, int code);

    CDeviceLink m_link;
    IDeviceViewFinder* m_finder = nullptr;
    int m_released = 1;
    std::array<int, kMaxTriggerTypes> m_codes{};
    int m_codeCount = 0;
    CCWSlide m_slide;
    CComboBox m_triggerType;
    CSlideEventLink m_slideEvents;
    CPageEventCounter m_events;
};
