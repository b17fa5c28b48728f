#pragma once

// CSensorStateCtrl: the sensor control ("QNSensA") of a live sensor window of the second
// family: one line naming the device and what it is doing ("acquiring", "stopped" or "not
// connected").

#include "platform/framework/Static.h"

class CDevice;

class CSensorStateCtrl : public CStatic {
    DECLARE_DYNAMIC(CSensorStateCtrl)

public:
    static constexpr const char* kWindowName = "QNSensA";

    // A child of parent at rect.
    BOOL CreateIn(CWnd* parent, const CRect& rect, UINT nID);
    // Shows the device (null: none).
    void ShowDevice(const CDevice* device);
    // The line shown for a device (null: none).
    static QString StateText(const CDevice* device);
};
