#pragma once

// CTestTriggerDlg: the modeless "Test Trigger Controls" window of a data card (template 102 of
// the sensor-resource library): "Toggle" flips the card's digital line 6 (DIO6), which
// triggers an armed card on its rising edge, and the trackbar sets the analog output DAC0
// between -10 V and 10 V in steps of 0.1 V (the card reads it back on its loop-back channels).

#include "platform/framework/Dialog.h"

class CDataAcqWnd;

class CTestTriggerDlg : public CDialog {
    DECLARE_DYNAMIC(CTestTriggerDlg)
    DECLARE_MESSAGE_MAP()

public:
    enum Control : int { kToggle = 1003, kOutput = 1009 };
    // Trackbar steps: tenths of a volt.
    static constexpr int kMinStep = -100;
    static constexpr int kMaxStep = 100;

    explicit CTestTriggerDlg(CWnd* pParent = nullptr);

    void SetOwner(CDataAcqWnd* owner) { m_pOwner = owner; }
    CDataAcqWnd* GetOwner() const { return m_pOwner; }
    int GetDio6() const { return m_nDio6; }

    BOOL OnInitDialog() override;
    void OnToggle();
    // Sets DAC0 to step / 10 volts.
    void SetOutputStep(int step);

protected:
    void OnOK() override;
    void OnHScroll(UINT code, UINT position, CWnd* bar);

private:
    CDataAcqWnd* m_pOwner = nullptr;
    int m_nDio6 = 0;
};
