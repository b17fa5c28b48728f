#pragma once

// CRecordControlPage: the full camera control page of a record controller: clock source and the
// two record counters, exposure ticks, frame rate, resolution, shutter, frames to record, the
// trigger position and type, Live / Record / Trigger Stop / Stop and the device name. It acts
// on the camera of the controller's window in front (found through the view finder) and tells
// the camera's record group of every change through its link: a setting change is first
// offered to the group (which may refuse it), then made on the device, then announced.

#include "devices/core/DeviceLink.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ToolTipCtrl.h"
#include "shell/CWSlide.h"
#include "shell/SlideEventLink.h"
#include "views/panels/DualValueGauge.h"
#include "views/panels/TabDlg.h"

#include <QString>
#include <QStringList>

#include <vector>

class CDevice;
class CDeviceManager;
class ISettingsStore;
class IDeviceCommandTargetProvider;
class IDeviceViewFinder;
class IDriverDevice;

inline constexpr UINT kRecordControlPageTemplate = 1592;

class CRecordControlPage : public CTabDlg {
    DECLARE_DYNAMIC(CRecordControlPage)
    DECLARE_MESSAGE_MAP()

public:
    enum Control : int {
        kFocusSink = 1520,
        kClockSource = 1526,
        kCounter1 = 1529,
        kCounter2 = 1531,
        kExposureTicks = 1530,
        kCounter1Up = 1572,
        kCounter1Down = 1573,
        kCounter2Up = 1574,
        kCounter2Down = 1575,
        kTicksUp = 1576,
        kTicksDown = 1577,
        kFrameRate = 1075,
        kResolution = 1269,
        kCustomResolution = 1271,
        kShutter = 1021,
        kFrameTime = 1532,
        kMaxFramesText = 1014,
        kTotalFramesText = 1047,
        kMaxFrames = 1309,
        kBufferPosition = 1383,
        kBufferOptions = 1384,
        kPreTrigger = 2053,
        kTriggerType = 1419,
        kRecordMode = 1542,
        kLive = 1071,
        kRecord = 1078,
        kTriggerStop = 1079,
        kStop = 1080,
        kTrig = 1223,
        kAbortRecord = 1429,
        kDeviceName = 2101,
        kSlide = 1050,
        kPercent = 1013,
        kPostTime = 1051,
        kPostFrames = 1052,
        kPreTime = 1053,
        kPreFrames = 1054,
        kGauge = 1541,
    };
    // What the page tells the record group through its link.
    enum Command : int {
        kCmdRecordRate = 3,
        kCmdTriggerPosition = 5,
        kCmdTriggerType = 6,
        kCmdFrameLimit = 7,
        kCmdTriggerStop = 12,
        kCmdStop = 13,
        kCmdRecord = 14,
        kCmdResolution = 16,
        kCmdTriggerQuery = 17,
        kCmdCustomResolution = 18,
        kCmdMayChange = 20,
        kCmdLive = 21,
        kCmdRenamed = 22,
    };
    // Item data of the fixed shutter list's "User..." entry.
    static constexpr int kUserShutter = -1;

    // One entry of the shutter list: its text and its item data (the frame-time ratio of the
    // fixed list, kUserShutter for "User...", the exposure's index for a device list).
    struct ShutterEntry {
        QString text;
        int data = 0;
        bool operator==(const ShutterEntry&) const = default;
    };
    // What the trigger slide's position v shows for m frames at rate r.
    struct SlideCounts {
        int post = 0;
        int pre = 0;
        double postTime = 0;
        double preTime = 0;
        bool operator==(const SlideCounts&) const = default;
    };

    // The frame-rate list: each rate as "%d", then "User..." when user rates are on.
    static QStringList FrameRateTexts(const std::vector<int>& rates, bool userRate);
    // The shutter list for a device's exposures (nanoseconds) at record rate rate: with more
    // than one, each as the frame time's multiple of it ("%4.1f x"); else the fixed list.
    static std::vector<ShutterEntry> ShutterEntries(const std::vector<double>& exposuresNs,
                                                    double rate);
    // The trigger types offered: codes 1 and 2 when the group answered the query, else by the
    // edge and level features.
    static std::vector<int> TriggerCodes(bool queryAnswered, bool edgeFeature, bool levelFeature);
    // A trigger type's text; cameras of subtypes 3, 14 and 15 name edges after their inputs.
    static QString TriggerTypeText(int code, int subtype);
    static SlideCounts CountsAt(int m, int v, double r);
    // The frames to record entered: at least 3, but never more than the frames available.
    static int FramesToRecord(int entered, int available);

    explicit CRecordControlPage(UINT nIDTemplate = kRecordControlPageTemplate,
                                CWnd* pParentWnd = nullptr);
    ~CRecordControlPage() override;

    // Where the page finds devices, the group that takes its commands, and the camera in front.
    virtual void SetDeviceProvider(CDeviceManager* provider);
    virtual void SetTargetProvider(IDeviceCommandTargetProvider* provider);
    virtual void SetViewFinder(IDeviceViewFinder* finder);
    // Null: the main window's settings store.
    void SetSettingsStore(ISettingsStore* store) { m_settings = store; }
    CDeviceLink& GetLink() { return m_link; }
    IDeviceViewFinder* GetViewFinder() const { return m_link.GetViewFinder(); }

    // Disables every control of the page at once.
    virtual void DisableAllControls();
    // The page shows the device in front again; the link's update runs it.
    virtual void OnDeviceUpdate();
    void UpdatePage() override;
    BOOL OnInitDialog() override;

    // The camera of the window in front and its device; null without one.
    CDevice* ActiveCamera() const;
    const std::vector<int>& GetTriggerCodes() const { return m_triggerCodes; }
    const std::vector<ShutterEntry>& GetShutterEntries() const { return m_shutterEntries; }
    CToolTipCtrl& GetToolTips() { return m_toolTips; }
    CDualValueGauge& GetGauge() { return m_gauge; }
    CCWSlide& GetSlide() { return m_slide; }
    bool IsSlideReleased() const { return m_slideReleased != 0; }

    // The handlers, as the page's controls run them.
    void OnClockSourceDropDown();
    void OnClockSourceCloseUp();
    void OnCounter1Edit() { ChangeCounter(1, 0); }
    void OnCounter2Edit() { ChangeCounter(2, 0); }
    void OnCounter1Up() { ChangeCounter(1, +1); }
    void OnCounter1Down() { ChangeCounter(1, -1); }
    void OnCounter2Up() { ChangeCounter(2, +1); }
    void OnCounter2Down() { ChangeCounter(2, -1); }
    void OnExposureTicksEdit() { ChangeExposureTicks(0); }
    void OnTicksUp() { ChangeExposureTicks(+1); }
    void OnTicksDown() { ChangeExposureTicks(-1); }
    void OnFrameRateDropDown();
    void OnFrameRateCloseUp();
    void OnResolutionDropDown();
    void OnResolutionCloseUp();
    void OnCustomResolution();
    void OnShutterDropDown();
    void OnShutterCloseUp();
    void OnMaxFrames();
    void OnPreTrigger();
    void OnTriggerTypeDropDown();
    void OnTriggerTypeCloseUp();
    void OnRecordModeDropDown();
    // Refills combo with texts, kept as the last list shown.
    void FillList(CComboBox& combo, const QStringList& texts);
    void OnRecordModeCloseUp();
    void OnLive();
    void OnRecord();
    void OnTriggerStop();
    void OnStop();
    void OnTrig();
    void OnAbortRecord();
    void OnDeviceName();
    void OnSlideChanged(double value);
    void OnSlideMouseDown();
    void OnSlideMouseUp();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy();
    // The settings store the page reads, null when there is none.
    ISettingsStore* SettingsStore() const;

private:
    class Link : public CDeviceLink {
    public:
        explicit Link(CRecordControlPage& page) : m_page(page) {}
        void OnDeviceUpdate() override { m_page.OnDeviceUpdate(); }

    private:
        CRecordControlPage& m_page;
    };

    // Sends code with the device's handle and subtype, or -1, -1 without a device, and one
    // double when withValue: TRUE when a target took it; *status and *result (when asked) get
    // its status (low 16 bits) and result.
    bool Send(CDevice* device, int code, bool withValue = false, double value = 0,
              int* status = nullptr, VARIANT* result = nullptr);
    // Offers a setting change to the group; FALSE when it refuses.
    bool MayChange(CDevice* device);
    // The record rate read back and announced, then every window refreshed.
    void AnnounceRate(CDevice* device, IDriverDevice* driver);
    void ChangeCounter(int counter, int step);
    void ChangeExposureTicks(int step);
    void ApplyPostTrigger(CDevice* device, IDriverDevice* driver, int post);
    void Refresh();
    static int ComboSelection(const CComboBox& combo);

protected:
    Link m_link{*this};

private:
    CToolTipCtrl m_toolTips;
    CDualValueGauge m_gauge;
    QStringList m_lastList;
    // Handed to the device with every write of the record parameters.
    int m_fromClock = 1;
    int m_recordModeOption = 1;
    int m_slideReleased = 1;
    ISettingsStore* m_settings = nullptr;
    CComboBox m_clockSources;
    CComboBox m_frameRates;
    CComboBox m_resolutions;
    CComboBox m_shutters;
    CComboBox m_triggerTypes;
    CComboBox m_recordModes;
    CCWSlide m_slide;
    CSlideEventLink m_slideEvents;
    std::vector<int> m_rates;
    std::vector<std::pair<int, int>> m_resolutionList;
    std::vector<ShutterEntry> m_shutterEntries;
    std::vector<double> m_exposuresNs;
    std::vector<int> m_triggerCodes;
};
