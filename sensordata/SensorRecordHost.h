#pragma once

// CSensorRecordHost: makes and feeds the "Sensor Record" page of a record controller's sensor
// tab (and of a data card's own acquisition window). It keeps a CSensorResourceRef so that the
// sensor-resource library stays bound while it exists. User-interface thread only.

#include "sensordata/DeviceCallbackLink.h"
#include "sensordata/SensorRecordDlg.h"

#include <memory>

class CSensorResourceRef;

class CSensorRecordHost {
public:
    CSensorRecordHost();
    ~CSensorRecordHost();
    CSensorRecordHost(const CSensorRecordHost&) = delete;
    CSensorRecordHost& operator=(const CSensorRecordHost&) = delete;

    // The page as a child of parent from template 1574, 1575 or 1576 for modes 0, 1 and 2 of
    // the sensor-resource library (any other mode makes no page), shown, its link answering
    // with the current data device and sending through the host's request handler, its
    // settings button opening the acquisition settings of its device. Returns 0.
    int Create(CWnd* parent, int mode);
    // The record request handler: how the page's commands leave the host. Without one every
    // command answers E_FAIL.
    void SetRequestHandler(CDeviceCallbackLink::SendCommandFunction handler, void* context);
    // The record controller's callback that starts a data recording.
    void SetRecordCallback(CSensorRecordDlg::StartRecordCallback callback, void* context);
    // Whether a data-sensor view with a device is active; the page is refreshed.
    void SetSensorAvailable(bool available);

    CSensorRecordDlg* GetPage() const { return m_page.get(); }

    // The modal acquisition settings of the device; its parameters are applied again after.
    static void OpenAcquisitionSettings(void* context, CDataAcqWnd* device);

private:
    static int SendRequest(void* context, int code, const VARIANT& values, VARIANT* status,
                           VARIANT* result);

    std::unique_ptr<CSensorRecordDlg> m_page;
    std::unique_ptr<CSensorResourceRef> m_resource;
    CDeviceCallbackLink::SendCommandFunction m_requestHandler = nullptr;
    void* m_requestContext = nullptr;
    CSensorRecordDlg::StartRecordCallback m_pfnStartRecord = nullptr;
    void* m_pStartRecordContext = nullptr;
};
