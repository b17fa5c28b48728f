#pragma once

// IFrameWindowAdapter: how views ask a document to show a frame source or a sensor data set
// in a window of its own, to find that window again and to close it, without knowing the
// document's class. A play group hands its adapter to every video view as the view's tool
// context.

#include "frames/FrameSourcePtr.h"
#include "frames/SharedRef.h"
#include "platform/wintypes/WinError.h"

#include <QString>

class CFrameWnd;
class CSensorDataSet;
class IIdUnknown;

class IFrameWindowAdapter {
public:
    // Brings the window that shows source to the front, or opens a new one titled title.
    // E_FAIL without a document.
    virtual HRESULT ShowVideo(const CFrameSourcePtr& source, const QString& title) = 0;
    // The same for a data set; the new window's frame-change listener adapter is written to
    // *listener (when given), so that a source can be linked to it.
    virtual HRESULT ShowData(const CSharedRef<CSensorDataSet>& data, const QString& title,
                             IIdUnknown** listener) = 0;
    // Asks every window that shows source to close (at most 100 of them, and no window twice);
    // S_OK.
    virtual HRESULT CloseVideo(const CFrameSourcePtr& source) = 0;
    virtual HRESULT CloseData(const CSharedRef<CSensorDataSet>& data) = 0;
    // The frame window that shows source: S_OK, or E_FAIL (and null) when none does;
    // E_POINTER for a null out.
    virtual HRESULT FindVideoWindow(const CFrameSourcePtr& source, CFrameWnd** out) = 0;

protected:
    ~IFrameWindowAdapter() = default;
};
