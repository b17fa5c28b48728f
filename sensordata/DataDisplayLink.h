#pragma once

// CDataDisplayLink: how the device side reaches the live display window of a data device: the
// data device owns one and points it at its own acquisition window while that exists. The
// reference is not owned and may be empty; every operation then does nothing. HRESULTs are
// S_OK or E_FAIL.

#include "platform/wintypes/WinError.h"

class CDataAcqWnd;
class CSensorDataSet;
class CSensorPanelHost;

class CDataDisplayLink {
public:
    void SetDisplay(CDataAcqWnd* display) { m_display = display; }
    CDataAcqWnd* GetDisplay() const { return m_display; }

    // E_FAIL when nothing is linked (or out is null); else the linked display's device handle.
    HRESULT GetDeviceId(int* handle) const;
    // E_FAIL when nothing is linked or no target is given; S_OK without data in the target;
    // else the live data is copied into the target's and the target is marked as a live copy.
    HRESULT CopyLiveData(CSensorDataSet* target) const;
    // Hands the data display window of a data view's panel to the linked display, which draws
    // the live data in it from then on.
    void AttachViewDisplay(CSensorPanelHost* host) const;
    // Shows the linked display's "Test Trigger Controls": its answer, 0 when nothing is linked.
    int ShowTestTrigger() const;

private:
    CDataAcqWnd* m_display = nullptr;
};
