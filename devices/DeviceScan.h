#pragma once

// The scan of one device family as the selection dialogs show it: every device the family's
// driver lists is probed under a progress dialog, named by its defaults file or its driver,
// and marked when it is already open elsewhere.

#include "devices/core/DeviceId.h"

#include <QString>

#include <functional>
#include <vector>

class CProgressDlg;

struct ScannedDevice {
    CDeviceId id;
    QString text;  // the name, "<no name>" for a blank one, "  ATTACHED" after an open device
};

namespace DeviceScan {

inline constexpr const char* kAttachedSuffix = "  ATTACHED";
inline constexpr const char* kNoName = "<no name>";

// Called after each probed device with the progress dialog (tests press Cancel in it).
using Observer = std::function<void(CProgressDlg&, int index)>;

// Probes the devices of family (type and subtype) under the progress dialog "Scanning in
// Progress"; Cancel stops between devices and keeps what was found. Devices that cannot be
// probed are left out. The dialog is gone when this returns.
std::vector<ScannedDevice> ScanFamily(const CDeviceId& family, const Observer& observer = {});

}  // namespace DeviceScan
