#pragma once

// CRecordGroupHost: the program's services to the record groups: whether the main window is
// closing, the active-area dialog, and the pause between master and slaves on the program's
// clock. The application installs one for its run.

#include "devices/core/IRecordGroupHost.h"

class CRecordGroupHost : public IRecordGroupHost {
public:
    bool IsClosing() override;
    void ShowActiveArea(CDevice& device) override;
    void Wait(int milliseconds) override;
};
