#pragma once

// CSensorRecordDlg: the "Sensor Record" page of a data device (template 321, or 1574 to 1576 in
// a record controller's sensor tab): the device's scan rate, samples, frame rate, samples per
// frame, trigger and pre-trigger settings, the buffer length and the acquisition settings, and
// Record and Abort. It reaches its device and sends the device's record commands through its
// callback link; every handler does nothing unless the link gives a data device (type 2).
// Refreshes rewrite only the fields whose text changed, so a page refreshed on every tick does
// not flicker. User-interface thread only.

#include "platform/framework/ComboBox.h"
#include "platform/framework/ListBox.h"
#include "sensordata/DeviceCallbackLink.h"
#include "sensordata/SensorTabDlg.h"

#include <vector>

class CDataAcqWnd;

class CSensorRecordDlg : public CSensorTabDlg {
    DECLARE_DYNAMIC(CSensorRecordDlg)
    DECLARE_MESSAGE_MAP()

public:
    // The device commands the page sends.
    enum Command : int {
        kRateCommand = 3,
        kTriggerCommand = 5,
        kEdgeCommand = 6,
        kRecordCommand = 8,
        kAbortCommand = 9
    };
    enum Control : int {
        kEdgeCombo = 202,
        kTriggerGroup = 204,
        kFrameRateList = 1005,
        kFrameRateField = 1009,
        kPreTriggerEdit = 1013,
        kRecordTime = 1047,
        kPreTriggerSlide = 1050,
        kPostTime = 1051,
        kPreTime = 1053,
        kRateField = 1106,
        kAbort = 1110,
        kSamplesPerFrameCombo = 1114,
        kChannelsOn = 1528,
        kRecord = 1530,
        kSamples = 1532,
        kBufferLength = 1533,
        kSettings = 1534,
        kSamplesPerFrameField = 1535,
        kRateField2 = 1537,
        kSampleCount = 1539,
        kPreSamples = 1540,
        kPostSamples = 1541,
        kRateCombo = 1574,
    };
    // The record controller's callback that starts a data recording.
    using StartRecordCallback = void (*)(void* context);
    // Opens the acquisition settings of the page's device.
    using SettingsHandler = void (*)(void* context, CDataAcqWnd* device);

    explicit CSensorRecordDlg(CWnd* pParentWnd = nullptr);

    CDeviceCallbackLink& GetLink() { return m_link; }
    void SetRecordCallback(StartRecordCallback callback, void* context) {
        m_pfnStartRecord = callback;
        m_pStartRecordContext = context;
    }
    void SetSettingsHandler(SettingsHandler handler, void* context) {
        m_pfnSettings = handler;
        m_pSettingsContext = context;
    }
    // Whether a data-sensor view with a device is active; while none is, the page shows and
    // commands no device.
    void SetSensorAvailable(bool available) { m_bSensorAvailable = available; }
    bool IsRunning() const { return m_bRunning; }

    // The device the link gives when it is a data device and a sensor is available, else null.
    CDataAcqWnd* GetDataDevice() const;
    // Rewrites the fields from the device, hides the trigger controls and enables the rate and
    // the commands by the device's state.
    void Refresh();
    // The rates the page lists: the standard rates up to the device's maximum per channel.
    std::vector<int> SupportedRates() const;

    // The handlers, as the controls call them.
    void OnRateChosen();
    void OnFrameRateChosen();
    void OnSamplesPerFrameChosen();
    void OnEdgeChosen();
    // Pre-trigger value 0 .. 100: post-trigger samples (100 - value) x (samples - 1) / 100.
    void OnPreTriggerChosen(int value);
    void OnRecord();
    void OnAbort();
    // The buffer-length prompt: while the device runs live, the user chooses the samples per
    // channel between 1 and the device's maximum.
    void OnBufferLength();
    void OnSettings();

    BOOL OnInitDialog() override;

protected:
    void OnHScroll(UINT code, UINT position, CWnd* bar);

private:
    // Sends code with one value (VT_R8, or VT_I4 when asInt): true when the device goes on.
    bool Send(int code, double value, bool asInt);
    bool SendEmpty(int code);
    bool Answered(int code, int sent, const VARIANT& status) const;
    void FillRates(CDataAcqWnd& device);
    void FillSamplesPerFrame(CDataAcqWnd& device);
    void SelectText(int id, const QString& text);
    // The page's combo box of that id, and its frame-rate list; null before the window.
    CComboBox* Combo(int id);
    CListBox* FrameRateList();

    CDeviceCallbackLink m_link;
    CComboBox m_rateCombo;
    CListBox m_frameRateList;
    CComboBox m_samplesPerFrameCombo;
    CComboBox m_edgeCombo;
    int m_nMode = 0;
    int m_nPreTriggerPercent = 50;
    bool m_bRunning = false;
    bool m_bSensorAvailable = true;
    StartRecordCallback m_pfnStartRecord = nullptr;
    void* m_pStartRecordContext = nullptr;
    SettingsHandler m_pfnSettings = nullptr;
    void* m_pSettingsContext = nullptr;
    // What the rate lists were filled for.
    std::vector<int> m_listedRates;
    int m_listedFrameRate = -1;
    int m_listedChannelsOn = -1;
};
