#pragma once

// CSensorPage: the record panels' page of a data device (template 30060). It holds the sensor
// record window of the sensor-resource library, made inside the page when the page is made,
// and answers that window's record requests: each goes, through the page's device link, as
// the command of the open data device whose data channel is the window's sensor. The page
// tells the window whether a sensor is available whenever the device selection changes.

#include "devices/core/DeviceLink.h"
#include "sensordata/SensorRecordHost.h"
#include "views/panels/TabDlg.h"

class IDeviceViewFinder;

class CSensorPage : public CTabDlg {
    DECLARE_DYNAMIC(CSensorPage)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplate = 30060;

    explicit CSensorPage(CWnd* pParentWnd = nullptr);
    ~CSensorPage() override;

    // Before the page is made: 1 makes the sensor record window in its mode 1, any other
    // value in its mode 2.
    void SetMode(int mode) { m_mode = mode; }
    int GetMode() const { return m_mode; }
    // Not owned; null: no device view is ever found.
    void SetViewFinder(IDeviceViewFinder* finder) { m_viewFinder = finder; }

    // The link the page's commands go through (its provider gives the current device, its
    // target takes the commands).
    CDeviceLink& GetLink() { return m_link; }
    CSensorRecordHost& GetRecordHost() { return m_recordHost; }

    // The record request of the sensor record window: E_FAIL without a page (context) or
    // without an open device; else the command goes through the page's link with the handle
    // and subtype of the open data device (type 2) whose linked data channel has sensorHandle
    // (the last such device in the open-device list), and its answer comes back; E_FAIL
    // when no device matches.
    static HRESULT RecordCallback(void* context, int sensorHandle, int code, const VARIANT& values,
                                  VARIANT* status, VARIANT* result);

    // The device selection changed: with a window, the sensor record window hears that a
    // sensor is available exactly when the active view is a data-sensor view with a device
    // and the link's provider has a current device.
    void OnDeviceUpdate();

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

private:
    class Link : public CDeviceLink {
    public:
        explicit Link(CSensorPage& page) : m_page(page) {}
        void OnDeviceUpdate() override { m_page.OnDeviceUpdate(); }

    private:
        CSensorPage& m_page;
    };

    // The sensor record window's requests, with the handle of the sensor it shows.
    static int SendRecordRequest(void* context, int code, const VARIANT& values, VARIANT* status,
                                 VARIANT* result);

    Link m_link{*this};
    CSensorRecordHost m_recordHost;
    int m_mode = 1;
    IDeviceViewFinder* m_viewFinder = nullptr;
};
