#pragma once

// CLutColorAdjustDlg2: the colour-adjustment page of a project ("Image Process" in the
// project's control panel). It works like the play group's page on the video view it finds
// through the project frame: the frame's project view, then that view's first child view.

#include "views/panels/LutColorAdjustDlg.h"

class CFrameWnd;

class CLutColorAdjustDlg2 : public CLutColorAdjustDlg {
    DECLARE_DYNAMIC(CLutColorAdjustDlg2)

public:
    static constexpr UINT kTemplateId = 30100;

    CLutColorAdjustDlg2();
    // The project frame whose views the page works on (not owned; null: none).
    void SetFrame(CFrameWnd* frame) { m_frame = frame; }

protected:
    CVidView* FindVideoView() override;

private:
    CFrameWnd* m_frame = nullptr;
};
