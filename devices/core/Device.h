#pragma once

// CDevice: one open camera or data card. Its driver operations go to the driver's device; the
// plain services (handle, descriptor, name, feature tables, frame-source references, linked data
// objects) are the program's own. Devices are created by the driver loader and destroyed only by
// the open-device list, once, when the last device manager goes.

#include "devices/core/DeviceId.h"
#include "devices/core/DriverApi.h"

#include <QString>

#include <memory>
#include <vector>

class CObject;
class QWidget;
class CDeviceVideoStream;

class CDevice {
public:
    static constexpr int kFeatureCount = 18;
    // The reduced-live-resolution switch.
    static constexpr int kFeatureReducedLive = 9;

    // Takes the driver's device (null for a device the program drives itself); handles count
    // from 1 and are never given twice in a run.
    CDevice(const CDeviceDescriptor& descriptor, std::unique_ptr<IDriverDevice> driver);
    virtual ~CDevice();
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    // Called once per open device by the open-device list; with deleteFlag the device is freed.
    virtual void Destroy(int deleteFlag);

    int GetHandle(int* handle) const;
    int GetDescriptor(CDeviceDescriptor* descriptor) const;
    int GetType(int* type) const;
    int GetSubtype(int* subtype) const;
    const CDeviceId& GetId() const { return m_descriptor; }
    // Trims the name; blank gives 2 silently, one of /\*?:"<>| gives 2 after a message.
    int SetName(const QString& name);

    // Feature tables: 2 for an index of kFeatureCount or more, nothing touched.
    int SetFeatureOn(int index, int on);
    int GetFeatureOn(int index, int* on) const;
    int SetFeatureAvailable(int index, int available);
    int SetFeatureSupported(int index, int supported);
    int GetFeatureSupported(int index, int* supported) const;
    int IsFeatureActive(int index, int* active) const;
    int IsFeatureUsable(int index, int* usable) const;

    // The two counted frame-source references: the live one and the latest recording's. Held as
    // plain objects here; the frame layer above knows them as its frame sources.
    void SetFrameSourceRefs(std::shared_ptr<CObject> live, std::shared_ptr<CObject> recording);
    std::shared_ptr<CObject> GetLiveFrameSourceRef() const { return m_liveSource; }
    std::shared_ptr<CObject> GetFrameSourceRef() const { return m_recordingSource; }

    // Linked data device and the data objects that hold a share of this device.
    void SetLinkedData(CDevice* dataDevice) { m_linkedData = dataDevice; }
    // 1 for a null out pointer, E_FAIL when no data device is linked.
    int GetLinkedDataHandle(int* handle) const;
    // 1 for a null object.
    int LinkDataObject(std::shared_ptr<CObject> object);
    int GetLinkedDataCount() const { return static_cast<int>(m_dataObjects.size()); }
    void SetDataOwner(int value, void* pointer);
    void GetDataOwner(int* value, void** pointer) const;
    // Without an embedded sensor control: -1 and 1 (1 as well for a null out pointer).
    int GetSensorControlValue(int* value) const;

    // Driver operations; a device without a driver answers 1 (and 4 for GetStopSupport).
    QString GetInfoText() const;
    int AttachWindow(QWidget* window);
    QWidget* GetAttachedWindow() const { return m_window; }
    int SetMode(int mode, int zero1 = 0, int zero2 = 0, int zero3 = 0);
    int SetRole(int role);
    int Trigger();
    int IsTriggered() const;
    int GetStopSupport() const;
    int Reset();
    int SelfTest();
    int GetResolution(int* width, int* height) const;
    int SetResolution(int width, int height);
    // The live image format as the active-area dialog reads it: 0 on success.
    int GetImageFormat(DriverImageFormat* format) const;
    IDriverDevice* Driver() const { return m_driver.get(); }

    // The live video as a read-only stream with one reference for the caller.
    CDeviceVideoStream* CreateLiveStream();
    // The held recording as a stream of its frames (oldest first).
    CDeviceVideoStream* CreateRecordingStream();

private:
    CDeviceDescriptor m_descriptor;
    std::unique_ptr<IDriverDevice> m_driver;
    int m_handle;
    int m_features[3][kFeatureCount] = {};
    std::shared_ptr<CObject> m_liveSource;
    std::shared_ptr<CObject> m_recordingSource;
    CDevice* m_linkedData = nullptr;
    std::vector<std::shared_ptr<CObject>> m_dataObjects;
    int m_ownerValue = 0;
    void* m_ownerPointer = nullptr;
    QWidget* m_window = nullptr;
};
