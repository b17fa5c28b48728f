#pragma once

// IRecordGroupOwner: the window that holds a record group (its record controller), as the
// group's pages ask it for more devices.

class IRecordGroupOwner {
public:
    // Lets the user choose a device of that kind (3 camera, 2 data card) and adds it to the
    // group.
    virtual void AddDeviceOfKind(int kind) = 0;

protected:
    ~IRecordGroupOwner() = default;
};
