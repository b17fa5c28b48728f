#pragma once

// ISaveDoneCallback: told about the file a save wrote (the first file of an image sequence).

#include "platform/wintypes/WinError.h"

#include <QString>

class ISaveDoneCallback {
public:
    virtual HRESULT OnFileSaved(const QString& path, int tag) = 0;
    virtual ~ISaveDoneCallback() = default;
};
