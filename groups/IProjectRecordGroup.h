#pragma once

// IProjectRecordGroup: what a project asks of the record-group document it holds. The record
// controller document implements it; a group document without it simply is not asked.

#include <QString>

class IProjectRecordGroup {
public:
    // Takes the record-configuration path as the group's own, without retitling the group or
    // touching the recent-file list.
    virtual void StoreConfigurationPath(const QString& path) = 0;
    // Reloads the group's device set from its configuration path.
    virtual void ReloadDeviceSet() = 0;

protected:
    ~IProjectRecordGroup() = default;
};
