#pragma once

// IDeviceViewFinder: how the record panels find the device window the user works in: the view
// of the record controller's active embedded window. The record controller's frame answers.

class CDevice;
class CView;

class IDeviceViewFinder {
public:
    static constexpr int kCameraView = 3;
    static constexpr int kDataSensorView = 2;

    // The view of the active embedded window, with its kind (kCameraView, kDataSensorView, 0
    // for other views) and the device it shows (null when it shows none); null (kind 0, no
    // device) without an active embedded window. The out pointers may be null.
    virtual CView* GetActiveDeviceView(int* kind, CDevice** device) = 0;

protected:
    ~IDeviceViewFinder() = default;
};
