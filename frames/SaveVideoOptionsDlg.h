#pragma once

// CSaveVideoOptionsDlg: the options panel of the save-video file dialog (template 1576): the
// frames to save (all or a range), the frames to skip, the frames per file of a batch set and
// the estimated size, and the other save options. It exchanges the members of its
// CSaveVideoDlg and keeps its controls consistent after every change.

#include "platform/framework/Dialog.h"
#include "platform/framework/SliderCtrl.h"

class CSaveVideoDlg;

class CSaveVideoOptionsDlg : public CDialog {
    DECLARE_DYNAMIC(CSaveVideoOptionsDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplate = 1576;
    static constexpr int kEntireRange = 1015;
    static constexpr int kFrames = 1016;
    static constexpr int kFrom = 1019;
    static constexpr int kTo = 1020;
    static constexpr int kSkipEnabled = 1466;
    static constexpr int kSkipCount = 2008;
    static constexpr int kBatch = 1465;
    static constexpr int kFramesPerFile = 1464;
    static constexpr int kBatchSlider = 1463;
    static constexpr int kEstimate = 1009;
    static constexpr int kSaveAnalysis = 1142;
    static constexpr int kScaleUnits = 1141;
    static constexpr int kSaveData = 1059;
    static constexpr int kSaveEncrypted = 1255;
    static constexpr int kEncryptNotes = 1502;
    static constexpr int kSaveBayer = 1503;

    explicit CSaveVideoOptionsDlg(CSaveVideoDlg* owner);

    // The type changed: the size box is hidden for JPEG and the estimate recomputed.
    void OnTypeChange();
    const CSliderCtrl& Slider() const { return m_slider; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter and Escape belong to the file dialog around the panel.
    void OnOK() override {}
    void OnCancel() override {}

    void OnEntireRange();
    void OnFramesRange();
    void OnFromDone();
    void OnToDone();
    void OnSkipDone();
    void OnFramesPerFileDone();
    void OnEstimateDone();
    void OnSkipEnabled();
    void OnBatch();
    void OnSaveAnalysis();
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);

private:
    // Enables the controls to match the choices.
    void ApplyRules();
    void UpdateEstimate();
    // The slider runs from 1 to maximum (at least 1); frames per file are kept inside it,
    // or set to it with fill.
    void SetBatchMaximum(int maximum, bool fill);
    // The number in edit id, or fallback when it holds none.
    int ReadNumber(int id, int fallback) const;
    void ShowNumber(int id, int value);

    CSaveVideoDlg* m_owner;
    CSliderCtrl m_slider;
};
