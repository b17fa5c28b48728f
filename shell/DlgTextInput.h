#pragma once

// CDlgTextInput: asks for one line of text (template 223): the prompt in static 1014, the text
// in edit 1003; GetText after IDOK.

#include "platform/framework/Dialog.h"

#include <QString>

inline constexpr UINT IDD_TEXT_INPUT = 223;

class CDlgTextInput : public CDialog {
    DECLARE_DYNAMIC(CDlgTextInput)

public:
    static constexpr int kTextId = 1003;
    static constexpr int kPromptId = 1014;

    explicit CDlgTextInput(CWnd* pParentWnd = nullptr);

    void SetPrompt(const QString& title, const QString& prompt) {
        m_strTitle = title;
        m_strPrompt = prompt;
    }
    void SetText(const QString& text) { m_strText = text; }
    QString GetText() const { return m_strText; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    QString m_strText;
    QString m_strTitle = QStringLiteral("This is the Title");
    QString m_strPrompt = QStringLiteral("What is the string?");
};
