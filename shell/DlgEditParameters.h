#pragma once

// CDlgEditParameters: "Edit Recorded Parameters" (template 335): corrects the recorded rate
// (edit 1009), shutter speed (edit 1004) and zero frame (edit 1515) of a playback. "Apply"
// refuses a negative rate or shutter speed; Cancel gives back the values it was opened with.

#include "platform/framework/Dialog.h"

inline constexpr UINT IDD_EDIT_PARAMETERS = 335;

class CDlgEditParameters : public CDialog {
    DECLARE_DYNAMIC(CDlgEditParameters)

public:
    static constexpr int kRateId = 1009;
    static constexpr int kShutterId = 1004;
    static constexpr int kZeroFrameId = 1515;

    explicit CDlgEditParameters(CWnd* pParentWnd = nullptr);

    void SetValues(int rate, int shutter, int zeroFrame);
    void GetValues(int* rate, int* shutter, int* zeroFrame) const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

private:
    int m_nRate = 0;
    int m_nShutter = 0;
    int m_nZeroFrame = 0;
    int m_nInitialRate = 0;
    int m_nInitialShutter = 0;
    int m_nInitialZeroFrame = 0;
};
