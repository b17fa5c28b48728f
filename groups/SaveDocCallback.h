#pragma once

// CSaveDocCallback: hands every file a save wrote to a play group, which opens it as a new
// member. Each group owns one and puts it into the save requests whose results join it.

#include "frames/ISaveDoneCallback.h"

class CMeasurementFormDoc;

class CSaveDocCallback : public ISaveDoneCallback {
public:
    explicit CSaveDocCallback(CMeasurementFormDoc* group) : m_group(group) {}

    // The group adds path with tag as the member's view flag: S_OK, E_POINTER without a group.
    HRESULT OnFileSaved(const QString& path, int tag) override;

private:
    CMeasurementFormDoc* m_group;
};
