#pragma once

// CSliderNumberDlg: asks for a whole number in a range with a slider and an edit box on a
// caller-given template: the prompt in kPromptId, the slider in kSliderId and the number in
// kValueId. DoModal returns IDOK with the value in GetValue.

#include "platform/framework/Dialog.h"
#include "platform/framework/SliderCtrl.h"

#include <QString>

inline constexpr UINT IDD_JPEG_QUALITY = 1555;

class CSliderNumberDlg : public CDialog {
    DECLARE_DYNAMIC(CSliderNumberDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kPromptId = 1556;
    static constexpr int kSliderId = 1557;
    static constexpr int kValueId = 1558;

    explicit CSliderNumberDlg(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // A value outside minimum..maximum becomes their middle. flag is kept for the caller.
    void SetParameters(const QString& title, const QString& prompt, int minimum, int maximum,
                       int value, int flag);
    // The start value, kept inside the range.
    void SetValue(int value);
    int GetValue() const { return m_value; }
    int GetFlag() const { return m_flag; }
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    const QString& GetTitle() const { return m_title; }
    const QString& GetPrompt() const { return m_prompt; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnValueChanged();
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);

private:
    QString m_title;
    QString m_prompt;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 50;
    int m_flag = 0;
    CSliderCtrl m_slider;
};
