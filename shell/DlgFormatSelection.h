#pragma once

// CDlgFormatSelection: "Format Selection" (template 222): the file format of the one-step
// save, one of "AVI", "BMP", "JPG" and "TIF" in combo box 2031. The caller sets m_strFormat
// and reads it after IDOK.

#include "platform/framework/ComboBox.h"
#include "platform/framework/Dialog.h"

#include <QString>

inline constexpr UINT IDD_FORMAT_SELECTION = 222;

class CDlgFormatSelection : public CDialog {
    DECLARE_DYNAMIC(CDlgFormatSelection)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kFormatComboId = 2031;

    explicit CDlgFormatSelection(CWnd* pParentWnd = nullptr);

    // The item a format opens with: 0 "AVI" unless its text holds "bmp" (1), "jpg" (2) or
    // "tif" (3), in any case; a later test wins.
    static int IndexOfFormat(const QString& format);

    QString m_strFormat = QStringLiteral("JPG");

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSelChange();

private:
    CComboBox m_combo;
};
