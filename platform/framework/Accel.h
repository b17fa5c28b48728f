#pragma once

// Accelerator tables: key combinations that send a command id to a frame. A table comes from
// the resource chain by id (through the loader installed with AfxSetAcceleratorLoader) or is
// given at run time; a frame holds its entries as window-wide Qt shortcuts.

#include "platform/wintypes/WinTypes.h"

#include <QKeySequence>

#include <functional>
#include <vector>

inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt = 0;  // FVIRTKEY: key is a virtual-key code; else a character
    WORD key = 0;
    WORD cmd = 0;
};

// The Qt key combination of an entry; empty for a key without a Qt equivalent.
QKeySequence AccelKeySequence(const ACCEL& accel);

// The table of that resource id, or an empty one.
using AcceleratorLoader = std::function<std::vector<ACCEL>(UINT nID)>;
void AfxSetAcceleratorLoader(AcceleratorLoader loader);
std::vector<ACCEL> AfxLoadAccelerators(UINT nID);
