#pragma once

// CSaveVideoPanelDlg: what the save-video file dialog shows below its own controls (template
// 1536): the frames and frame size of the video being saved, and in its lower part the options
// panel (template 1576). The file dialog shows it whole; it never takes Enter or Escape.

#include "platform/framework/Dialog.h"

#include <cstdint>

class CSaveVideoDlg;
class CSaveVideoOptionsDlg;

class CSaveVideoPanelDlg : public CDialog {
    DECLARE_DYNAMIC(CSaveVideoPanelDlg)

public:
    static constexpr UINT kTemplate = 1536;
    static constexpr int kFramesText = 1537;
    static constexpr int kSizeText = 1538;
    static constexpr int kOptionsArea = 1539;

    explicit CSaveVideoPanelDlg(CSaveVideoDlg* owner);

    // Puts the options panel (a child of this panel, not owned) over the options area.
    void PlaceOptions(CSaveVideoOptionsDlg* options);
    CSaveVideoOptionsDlg* GetOptions() const { return m_options; }

    // "200 (numbered -20 to 179)"; "none" for a video without frames.
    static QString FramesText(int frameCount, int zeroOffset);
    // "256 x 192 pixels, 48.0 KB a frame"; without a known width and height only the bytes.
    static QString SizeText(int width, int height, int64_t frameBytes);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    CSaveVideoDlg* m_owner;
    CSaveVideoOptionsDlg* m_options = nullptr;
};
