#pragma once

// CCamFrmSimple: the frame of a camera window that a record controller embeds. Closing it can
// take a while (the camera lets go of its live video), so a self-advancing progress dialog
// shows meanwhile.

#include "shell/ViewChildedFrame.h"

#include <functional>

class CTimedProgressDlg;

class CCamFrmSimple : public CViewChildedFrame {
    DECLARE_DYNCREATE(CCamFrmSimple)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr const char* kClosingTitle = "Camera is Closing";
    static constexpr const char* kClosingText = "Please wait...";

    // Closes the frame (which deletes itself) under the closing dialog.
    void CloseFrame();

    // Called with the closing dialog once it shows, before the frame closes (tests).
    using ClosingObserver = std::function<void(CTimedProgressDlg&)>;
    static void SetClosingObserver(ClosingObserver observer);

protected:
    void OnClose();
};
