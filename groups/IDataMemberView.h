#pragma once

// IDataMemberView: what a play group asks of the view of a data member beyond the playback
// view: the callback through which the view reports the time its user moved it to, so that
// the group follows. The data view implements it; this layer never sees the view's class.

#include <QString>

// fn(context, frame, convert, rate, name): the member moved to frame (a scan of a data
// member), counted at rate frames per second, for the members synchronised under name; with
// convert set the group may rescale frame to its slowest member first. The group's answer.
using DataTimeCallback = int (*)(void* context, int frame, int convert, double rate,
                                 const QString& name);

class IDataMemberView {
public:
    // Stores the callback (null function: none).
    virtual void SetTimeRange(DataTimeCallback fn, void* context) = 0;

protected:
    ~IDataMemberView() = default;
};
