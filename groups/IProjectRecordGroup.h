#pragma once

// IProjectRecordGroup: what a project asks of the record-group document it holds. The record
// controller document implements it; a group document without it simply is not asked.

#include "platform/wintypes/WinError.h"

#include <QString>

class CRecordGroup;
class IIdUnknown;

class IProjectRecordGroup {
public:
    // Takes the record-configuration path as the group's own, without retitling the group or
    // touching the recent-file list.
    virtual void StoreConfigurationPath(const QString& path) = 0;
    // Reloads the group's device set from its configuration path.
    virtual void ReloadDeviceSet() = 0;
    // The devices the group records together; a project that holds the group listens to it.
    virtual CRecordGroup* GetRecordGroup() = 0;
    // Connects the notifier (interface id 4) of object with the group's own, so that the
    // object follows the group's windows; a notifier connected already stays connected once.
    virtual HRESULT LinkInterfaceObject(IIdUnknown* object) = 0;

protected:
    ~IProjectRecordGroup() = default;
};
