#pragma once

// CDataAcqWnd: the live acquisition window of a data card, and at the same time that card's
// device part (type 2): the driver layer opens every data card as one of these. It keeps the
// acquisition parameters (scan rate r, samples per frame d, frame count, post-trigger samples,
// trigger edge) with their standard-rate arithmetic, runs the card's acquisition on timer 1155,
// moving each tick's new scans into its live data as one block of a rolling window and
// redrawing the data display that shows them, and owns the test-trigger window.
//
// The window shows the record page of the card (the current data device while the window is
// active) beside the data display, under Start, Stop and Test Trigger buttons. Outside a
// record controller nothing can object to the page's commands, so the window answers them
// itself. User-interface thread only.

#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "frames/SharedRef.h"
#include "platform/framework/Dialog.h"
#include "sensordata/AcqSettings.h"
#include "sensordata/DataDisplayLink.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/SensorPanelHost.h"
#include "sensordata/SensorRecordHost.h"
#include "sensordata/model/SensorDataSet.h"

#include <memory>

class CDataDisplayDlg;
class CTestTriggerDlg;
class CVidraData;

class CDataAcqWnd : public CDialog, public CDevice, private IDeviceCommandTarget {
    DECLARE_DYNAMIC(CDataAcqWnd)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplateId = 1590;
    static constexpr UINT_PTR kAcquisitionTimer = 1155;
    static constexpr UINT kTickMs = 100;
    // Buttons of the window.
    enum Control : int { kStart = 1001, kStop = 1002, kTestTrigger = 1003, kRecordPlace = 1010 };
    // The kinds of counter clock whose 24-bit range GetMaxCounterSeconds gives.
    enum CounterKind {
        kFixedCounter = 0,
        kRateCounter = 1,
        kFrameCounter = 3,
        kHalfFrameCounter = 4
    };

    // Takes the card's driver device; reads the card's channels, rate limits and memory, and
    // applies the first parameters (1000 scans/s, 10 samples per frame, 100 frames, half of
    // them after the trigger, rising edge). Registers itself as a data device.
    CDataAcqWnd(const CDeviceDescriptor& descriptor, std::unique_ptr<IDriverDevice> driver);
    ~CDataAcqWnd() override;

    // Stops the acquisition and closes the window before the device goes.
    void Destroy(int deleteFlag) override;

    // The window, modeless, captioned with the card's name; shown again when it exists.
    BOOL ShowWindowFor(CWnd* parent);
    // The window made, hidden, when it is not there yet: an acquisition runs on its timer
    // while a live view elsewhere shows the data. FALSE when it cannot be made.
    BOOL CreateHidden(CWnd* parent);

    // Parameters. Frame rate F = r / d (r itself when d is below 1); samples per channel
    // S = frame count x d; post-trigger frames = post-trigger samples / d. Null outs are skipped.
    void GetFrameParams(int* frameRate, int* samplesPerFrame, int* frameCount,
                        int* postTriggerFrames, int* edge) const;
    void GetSampleParams(int* rate, int* samplesPerFrame, int* samples, int* postTriggerSamples,
                         int* edge) const;
    int GetFrameRate() const;
    int GetSamplesPerFrame() const { return m_nSamplesPerFrame; }
    int GetFrameCount() const { return m_nFrameCount; }
    int GetPreTriggerPercent() const { return m_nPreTriggerPercent; }
    int IsAcquiring() const { return m_nAcquiring; }
    // 1 unless the trigger mode is 1; then the trigger-allowed flag.
    int CanTrigger() const;
    // Buffer capacity / channels on; -1 with no channel on.
    int GetMaxSamplesPerChannel() const;
    int GetMaxAggregateRate() const { return m_settings.m_nMaxAggregateRate; }
    double GetMaxChannelRate() const;
    CAcqSettings& GetAcqSettings() { return m_settings; }
    const CAcqSettings& GetAcqSettings() const { return m_settings; }
    CFormatSettingsDlg& GetFormatSettings() { return m_format; }
    CVidraData& GetLiveData() { return *m_live.GetData(); }
    // 2 while the acquisition runs live, 4 while the card is armed or holds a recording, 1
    // otherwise.
    int GetRecordState() const;

    // The three record-request ints, written together.
    void SetRecordRequest(int a, int b, int c);
    void GetRecordRequest(int* a, int* b, int* c) const;
    // The window that shows this acquisition's data (not owned, may be null; replaces any
    // earlier one).
    void SetDataDisplay(CDataDisplayDlg* display) { m_pDataDisplay = display; }
    CDataDisplayDlg* GetDataDisplay() const { return m_pDataDisplay; }
    CDataDisplayLink& GetDisplayLink() { return m_displayLink; }
    // The window's record page and the host of its data display.
    CSensorRecordDlg* GetRecordPage() const { return m_recordHost.GetPage(); }
    CSensorPanelHost& GetPanelHost() { return m_panelHost; }

    // The samples per frame that make a table rate at frame rate F (a frame rate below 1 counts
    // as 1) up to the aggregate maximum shared by the channels on; out and count may be null.
    void ListSamplesPerFrame(int frameRate, int channelsOn, int* out, int* count) const;
    // The table rate nearest above the requested one that holds a whole number of frames of at
    // least the requested frame rate (below 1: 1): 1 when both outputs equal the requests.
    int FindNearestRate(int rate, int samplesPerFrame, int* outRate, int* outSamplesPerFrame) const;
    // Seconds a 24-bit counter lasts under the counter clock kind at the rate (negative: the
    // current rate); -1 for an unknown kind.
    double GetMaxCounterSeconds(int rate) const;
    // Clamps and stores the parameters (see the status values below), then hands them to the
    // card. 0 applied as asked, 1 acquiring, 3 rate outside the table, 4 samples per channel
    // cut to the buffer, 5 post-trigger samples cut to the counter range; the last one wins.
    int ApplyParams(int rate, int samplesPerFrame, int samples, int postTriggerSamples, int edge);
    int ReapplyParams();
    // In frames: rate F x d, samples frame count x d, post-trigger frames x d + 1 samples, so that
    // the post-trigger samples GetFrameParams reports come back unchanged.
    int ApplyFrameParams(int frameRate, int samplesPerFrame, int frameCount, int postTriggerFrames,
                         int edge);

    // Starts the card's acquisition: the acquiring flag and timer 1155. 0, or the driver's
    // refusal (1 when already acquiring).
    int StartAcquisition();
    // Kills timer 1155, stops the card and clears the acquiring flag.
    int StopAcquisition();
    // One tick: the scans the card made since the last tick join the live data as one block
    // (at most a window's worth), and the data display is redrawn.
    void Tick();
    // Shows the "Test Trigger Controls" window (made on first use): 1, or 0 without a window.
    int ShowTestTrigger();
    CTestTriggerDlg* GetTestTrigger() const { return m_testTrigger.get(); }

    // The recording the card holds, copied into a new data set (empty when it holds none).
    CSharedRef<CSensorDataSet> CopyMemory();

    // The device side's choices, for the owner and for tests.
    void SetCounterKind(int kind) { m_nCounterKind = kind; }
    void SetTriggerMode(int mode) { m_nTriggerMode = mode; }
    void SetTriggerAllowed(int allowed) { m_nTriggerAllowed = allowed; }
    void SetBufferCapacity(int samples) { m_nBufferCapacity = samples; }
    int GetBufferCapacity() const { return m_nBufferCapacity; }

    BOOL OnInitDialog() override;

protected:
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnSize(UINT nType, int cx, int cy);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnDestroy();
    void OnStart();
    void OnStop();
    void OnTestTrigger();

private:
    // Outside a record controller: every command goes on, and nothing else needs telling.
    int HandleDeviceCommand(int handle, int subtype, const VARIANT& code, const VARIANT& values,
                            VARIANT* status, VARIANT* result) override;
    static int SendPageCommand(void* context, int code, const VARIANT& values, VARIANT* status,
                               VARIANT* result);
    // Hands the stored parameters to the card (rate, scans, post-trigger scans, trigger).
    void PushToCard();
    // Sizes the live data to the window of S scans over the channels that are on.
    void PrepareLiveData();
    // The number of scans the card has made, searched from `from` upward.
    int64_t ScansMade(int64_t from, int64_t guess) const;
    void LayOut();
    void RefreshDisplay();
    void RefreshPage();

    int m_nCardChannels = 0;
    CFormatSettingsDlg m_format;
    CAcqSettings m_settings;
    std::unique_ptr<CTestTriggerDlg> m_testTrigger;
    int m_nBufferCapacity = 0;
    int m_recordRequest[3] = {0, 0, 0};
    int m_nSamplesPerFrame = 1;
    int m_nFrameCount = 0;
    int m_nPreTriggerPercent = 0;
    int m_nPostTriggerSamples = 0;
    int m_nEdge = 1;
    int m_nRate = 0;
    int m_nTriggerAllowed = 1;
    int m_nAcquiring = 0;
    CSensorDataSet m_live;
    int m_nCounterKind = kFixedCounter;
    int m_nTriggerMode = 0;
    CDataDisplayDlg* m_pDataDisplay = nullptr;

    CDataDisplayLink m_displayLink;
    CDeviceLink m_commandLink;
    CSensorPanelHost m_panelHost;
    CSensorRecordHost m_recordHost;
    // The next scan of the card the live data is waiting for, and the last tick's number.
    int64_t m_nextScan = 0;
    int64_t m_lastTickScans = 0;
    std::vector<double> m_read;
    std::vector<float> m_block;
};

// Makes the driver layer open every data card (type 2) as a CDataAcqWnd over the card's driver
// device (null when no driver has the card).
void InstallDataCardFactory();
