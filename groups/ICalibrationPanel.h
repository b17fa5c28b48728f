#pragma once

// ICalibrationPanel: the calibration panel a play group's frame holds among its panels, a page
// of the group's control panel that edits the calibration of the group's active video. The
// tracking layer above makes it through the frame's factory, which the program installs; the
// frame creates its page, tells it which video is active and brings it forward.

#include "platform/wintypes/WinTypes.h"

class CTabDlg;
class CWnd;
class IVideoAnalysis;

class ICalibrationPanel {
public:
    virtual ~ICalibrationPanel() = default;
    // Makes the panel's page as a child of host; FALSE when it cannot be made.
    virtual BOOL CreatePage(CWnd* host) = 0;
    // The page (its window exists once CreatePage succeeded).
    virtual CTabDlg* GetPage() = 0;
    // The analysis objects of the group's active video, or null while none is active; the
    // same again changes nothing.
    virtual void AttachAnalysis(IVideoAnalysis* analysis) = 0;
};
