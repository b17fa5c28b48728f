#pragma once

// IDeviceViewFinder: how the record pages find the windows of their record controller's
// devices: the one in front, one by its device, and the camera that goes with a data playback.

class CCamView;
class CView;

class IDeviceViewFinder {
public:
    // Device view kinds.
    static constexpr int kOtherView = 0;
    static constexpr int kDataView = 2;
    static constexpr int kCameraView = 3;

    // The view of the window in front and its kind; null (kind kOtherView) without one.
    virtual CView* GetActiveDeviceView(int* kind) = 0;
    // The view of the device with that handle, of that kind; null when it has none.
    virtual CView* FindDeviceWindow(int handle, int kind) = 0;
    // The camera view of the camera whose data the data playback view shows; null for none.
    virtual CCamView* FindCameraViewForDataView(CView* dataView) = 0;

protected:
    ~IDeviceViewFinder() = default;
};
