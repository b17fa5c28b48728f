#pragma once

// IDataPlayView: what a play group's frame-window adapter asks of a data-playback view (a
// window that shows a sensor data set): the data set it shows and its frame-change listener
// adapter. The data view implements it; this layer never sees the view's class.

#include "frames/SharedRef.h"

class CSensorDataSet;
class IIdUnknown;

class IDataPlayView {
public:
    // The data document's SetDataSet: the view shows data from now on.
    virtual void DataSetDataSet(const CSharedRef<CSensorDataSet>& data) = 0;
    // A copy of the shown data set's holder (empty when it shows none).
    virtual CSharedRef<CSensorDataSet> DataGetDataSet() = 0;
    // The view's listener adapter (ids 2 and 4); it stays the view's.
    virtual IIdUnknown* DataGetFrameChangeAdapter() = 0;

protected:
    ~IDataPlayView() = default;
};
