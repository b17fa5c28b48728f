#pragma once

// CDevice: one open camera or data card. Its driver operations go to the driver's device; the
// plain services (handle, descriptor, name, feature tables, frame-source references, linked data
// objects) are the program's own. Devices are created by the driver loader and destroyed only by
// the open-device list, once, when the last device manager goes.

#include "devices/core/DeviceId.h"
#include "devices/core/DriverApi.h"
#include "platform/framework/Object.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

class QWidget;
class CDeviceVideoStream;

// What a device keeps as its latest recording's frame source: whether a window still plays
// the recording from the device's memory.
class CHeldRecordingRef : public CObject {
public:
    virtual bool IsShared() const = 0;
};

class CDevice {
public:
    static constexpr int kFeatureCount = 18;
    // The record clock: its source can be chosen, its counters set by hand.
    static constexpr int kFeatureClockSource = 2;
    static constexpr int kFeatureRecordCounters = 3;
    // The record pages' buffer controls.
    static constexpr int kFeatureBuffers = 8;
    // A frame rate of the user's own, anywhere in the device's range.
    static constexpr int kFeatureUserFrameRate = 11;
    // The reduced-live-resolution switch.
    static constexpr int kFeatureReducedLive = 9;
    // The camera window's colour adjustment and camera settings dialogs.
    static constexpr int kFeatureColourAdjustment = 12;
    static constexpr int kFeatureCameraSettings = 13;
    // The trigger types the device takes: edges of the trigger input (with the rising, falling
    // and either-edge types), or recording while it is high or low.
    static constexpr int kFeatureEdgeTrigger = 6;
    static constexpr int kFeatureLevelTrigger = 7;
    static constexpr int kFeatureRisingEdge = 15;
    static constexpr int kFeatureFallingEdge = 16;
    static constexpr int kFeatureEitherEdge = 17;

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
    // The driver's second identifier (0 when it names none) and a copy of the identity; both 0,
    // a null out pointer is left alone.
    int GetSecondDeviceId(int* id) const;
    int GetDeviceIdHr(CDeviceId* id) const;
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

    // The two counted frame-source references: first the latest recording's (downloads save
    // from it), second the live video's (camera view, active area, previews). Held as plain
    // objects here; the layer above knows them as its frame sources. Arming the device for a new
    // recording lets go of the first.
    void SetRecordingSourceRef(std::shared_ptr<CObject> recording);
    void SetLiveSourceRef(std::shared_ptr<CObject> live);
    std::shared_ptr<CObject> GetRecordingSourceRef() const { return m_recordingSource; }
    std::shared_ptr<CObject> GetFrameSourceRef() const { return m_liveSource; }
    // 0 while a window still plays the held recording from memory (arming would take it from
    // that window), else 1.
    int MayOverwriteMemory() const;
    // 1 while the device holds a recording (stopped, with frames) that was neither saved nor
    // given up by the user since it was recorded: closing or re-arming would lose it.
    int HoldsUnsavedRecording() const;
    // The held recording was saved, or the user chose to let it go; the next arming forgets it.
    void SetRecordingKept() { m_recordingKept = true; }

    // Linked data device and the data objects that hold a share of this device.
    void SetLinkedData(CDevice* dataDevice) { m_linkedData = dataDevice; }
    // 1 for a null out pointer, E_FAIL when no data device is linked.
    int GetLinkedDataHandle(int* handle) const;
    // 1 for a null object.
    int LinkDataObject(std::shared_ptr<CObject> object);
    int GetLinkedDataCount() const { return static_cast<int>(m_dataObjects.size()); }
    // The data object at index; null outside the list.
    CObject* GetLinkedDataObject(int index) const {
        return index >= 0 && index < GetLinkedDataCount() ? m_dataObjects[size_t(index)].get()
                                                          : nullptr;
    }
    void SetDataOwner(int value, void* pointer);
    void GetDataOwner(int* value, void** pointer) const;
    // Without an embedded sensor control: -1 and 1 (1 as well for a null out pointer).
    int GetSensorControlValue(int* value) const;

    // Driver operations; a device without a driver answers 1 (and 4 for GetStopSupport).
    QString GetInfoText() const;
    int AttachWindow(QWidget* window);
    QWidget* GetAttachedWindow() const { return m_window; }
    // Arming (mode 3) that the driver accepts starts a new recording: reads of the one held
    // before fail from then on.
    int SetMode(int mode, int zero1 = 0, int zero2 = 0, int zero3 = 0);
    // The driver's mode, 0 without a driver.
    int GetMode() const;
    // The mode as the record controller's status bar names it: "Live", "Stopped", "Armed",
    // "Idle", or "Unknown".
    QString GetModeText() const;
    int SetRole(int role);
    int Trigger();
    int IsTriggered() const;
    int GetStopSupport() const;
    // Software stop of a recording.
    int Stop();
    int Reset();
    int SelfTest();
    int GetResolution(int* width, int* height) const;
    int SetResolution(int width, int height);
    // The live image format as the active-area dialog reads it: 0 on success.
    int GetImageFormat(DriverImageFormat* format) const;
    IDriverDevice* Driver() const { return m_driver.get(); }

    // The active area, as the active-area dialog reads it when it opens, in this order: the
    // limits (sensor width and height, minimum width and height, width and height steps, origin
    // step); whether the area moves, whether it is centred now, and the live bits per pixel; the
    // record rate; the largest area at a rate and depth; the origin; the size. 0 on success,
    // 1 without a driver or a null out pointer, else the driver's answer.
    int GetActiveAreaLimits(int* sensorWidth, int* sensorHeight, int* minWidth, int* minHeight,
                            int* widthStep, int* heightStep, int* originStep) const;
    int GetActiveAreaMode(int* movable, int* centred, int* bitsPerPixel) const;
    int GetRecordRate(double* rate) const;
    int GetMaxActiveArea(double rate, int bitsPerPixel, int* width, int* height) const;
    int GetActiveAreaOrigin(int* left, int* top) const;
    int GetActiveAreaSize(int* width, int* height) const;
    // What the active-area control hands back: a new area (right and bottom exclusive), or a
    // new origin for the area's present size.
    int SetActiveArea(int left, int top, int right, int bottom);
    int SetActiveAreaOrigin(int left, int top);

    // The camera colour processor, as the colour-adjustment dialog calls it: 1 for a device
    // without one (mono cameras, data cards), else the processor's answer.
    int GetColourPresets(QStringList* names) const;
    // A preset's coefficients without using them.
    int GetColourPreset(int index, DriverColourCoefficients* coefficients) const;
    int ApplyColourPreset(int index, DriverColourCoefficients* coefficients);
    int GetFactoryColourCoefficients(DriverColourCoefficients* coefficients) const;
    int GetColourCoefficients(DriverColourCoefficients* coefficients) const;
    int SetColourCoefficients(const DriverColourCoefficients& coefficients);
    // Gains in percent; the new rows come back.
    int ApplyColourGains(int red, int green, int blue, DriverColourCoefficients* coefficients);
    // The means red, green and blue of the region before the balance.
    int BalanceColourRegion(int left, int top, int right, int bottom, int* red, int* green,
                            int* blue);

    // The live video as a read-only stream with one reference for the caller.
    CDeviceVideoStream* CreateLiveStream();
    // The held recording as a stream of its frames (oldest first).
    CDeviceVideoStream* CreateRecordingStream();

private:
    IDriverColourProcessor* ColourProcessor() const;

    CDeviceDescriptor m_descriptor;
    // Shared with the streams of this device, which hold it weakly: a stream that outlives the
    // device (or its recording) fails its reads instead of reaching a driver that is gone.
    std::shared_ptr<IDriverDevice> m_driver;
    // Counts the recordings started; a recording stream reads only while it is still its own.
    std::shared_ptr<std::atomic<int>> m_recordingNumber;
    int m_handle;
    int m_secondId = 0;
    int m_features[3][kFeatureCount] = {};
    std::shared_ptr<CObject> m_liveSource;
    std::shared_ptr<CObject> m_recordingSource;
    bool m_recordingKept = false;
    CDevice* m_linkedData = nullptr;
    std::vector<std::shared_ptr<CObject>> m_dataObjects;
    int m_ownerValue = 0;
    void* m_ownerPointer = nullptr;
    QWidget* m_window = nullptr;
};
