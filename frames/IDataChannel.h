#pragma once

// IDataChannel (id 8): a derived frame source's rolling history of one value measured per
// frame, kept as a sensor data set that a data window can show.

#include "frames/FrameSourcePtr.h"
#include "frames/IIdUnknown.h"
#include "frames/SharedRef.h"

#include <QString>

class CSensorDataSet;
using CSensorDataRef = CSharedRef<CSensorDataSet>;

class IDataChannel : public virtual IIdUnknown {
public:
    static constexpr int kId = kIdDataChannel;

    // The frame source the values come from; E_POINTER for a null out.
    virtual HRESULT GetSource(CFrameSourcePtr* out) = 0;
    // The shared history; E_POINTER for a null out.
    virtual HRESULT GetData(CSensorDataRef* out) = 0;
    // A fresh, all-zero history of scans values (100 when scans < 1).
    virtual HRESULT SetHistoryLength(int scans) = 0;
    // Every value back to 0, the length kept.
    virtual HRESULT ClearHistory() = 0;
    // value becomes the newest sample; the oldest is dropped.
    virtual HRESULT AddValue(double value) = 0;
    // Has the owner show the history in a data window titled title, unless the source already
    // has a listener (a window follows it already). E_POINTER without an owner.
    virtual HRESULT Open(const QString& title) = 0;
};
