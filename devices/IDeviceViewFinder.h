#pragma once

// IDeviceViewFinder: how the record pages find the windows of their record controller's
// devices: the one in front (the view of the active embedded window), one by its device, and the
// camera that goes with a data playback. The record controller's frame answers.

class CCamView;
class CDevice;
class CView;

class IDeviceViewFinder {
public:
    // Device view kinds.
    static constexpr int kOtherView = 0;
    static constexpr int kDataView = 2;
    static constexpr int kDataSensorView = kDataView;
    static constexpr int kCameraView = 3;

    // The view of the active embedded window, with its kind (kCameraView, kDataSensorView,
    // kOtherView for other views) and the device it shows (null when it shows none); null (kind
    // kOtherView, no device) without an active embedded window. The out pointers may be null.
    virtual CView* GetActiveDeviceView(int* kind, CDevice** device) = 0;
    // The view of the device with that handle, of that kind; null when it has none.
    virtual CView* FindDeviceWindow(int handle, int kind) = 0;
    // The camera view of the camera whose data the data playback view shows; null for none.
    virtual CCamView* FindCameraViewForDataView(CView* dataView) = 0;

protected:
    ~IDeviceViewFinder() = default;
};
