#pragma once

// CSliderLabelsDlg: asks for a whole number in a range with the slide control and an edit box
// (template 1591), and shows two quantities that follow from the number as the user moves it
// (a frame rate and a frame time from a clock-tick count, say). The caller gives four label
// texts (the two captions and the two units) and a mode for each quantity; the formatter
// turns (number, mode) into the text shown. DoModal returns IDOK with the value in GetValue.

#include "platform/com/ComPtr.h"
#include "platform/framework/Dialog.h"
#include "shell/CWSlide.h"
#include "shell/SlideEventLink.h"

#include <QString>

#include <array>
#include <functional>

inline constexpr UINT IDD_SLIDER_LABELS = 1591;

class CSliderLabelsDlg : public CDialog {
    DECLARE_DYNAMIC(CSliderLabelsDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kPromptId = 1556;
    static constexpr int kValueId = 1558;
    static constexpr int kSlideId = 1592;
    // Caption, value and unit of the first quantity, then of the second.
    static constexpr int kFirstCaptionId = 1593;
    static constexpr int kFirstValueId = 1594;
    static constexpr int kFirstUnitId = 1595;
    static constexpr int kSecondCaptionId = 1596;
    static constexpr int kSecondValueId = 1597;
    static constexpr int kSecondUnitId = 1598;

    using Formatter = std::function<QString(int value, int mode)>;

    explicit CSliderLabelsDlg(CWnd* pParentWnd = nullptr);
    ~CSliderLabelsDlg() override;

    // A value outside minimum..maximum becomes their middle; an inverted range is turned
    // round. flag is kept for the caller.
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

    // Captions and units of the two quantities.
    void SetLabels(const QString& firstCaption, const QString& secondCaption,
                   const QString& firstUnit, const QString& secondUnit);
    void SetModes(int firstMode, int secondMode);
    // Without a formatter the quantities show the number itself.
    void SetFormatter(Formatter formatter) { m_formatter = std::move(formatter); }

    // The quantities as shown for the current value.
    QString QuantityText(int which) const;

    // From the slide: the pointer moved to value.
    void OnSlideMoved(double value);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnValueChanged();

private:
    void ShowQuantities();

    QString m_title;
    QString m_prompt;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 50;
    int m_flag = 0;
    std::array<QString, 4> m_labels;
    std::array<int, 2> m_modes{};
    Formatter m_formatter;
    CCWSlide m_slide;
    CSlideEventLink m_slideEvents;
    bool m_syncing = false;
};
