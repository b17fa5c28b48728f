#pragma once

// CConnectionAssistantDlg: the Connection Assistant: one picture per open device with the names
// of its connectors, and the trigger and synchronisation cables between them.

#include "platform/framework/Dialog.h"
#include "platform/wintypes/ColorRef.h"

#include <QString>

#include <array>
#include <vector>

class CDC;

inline constexpr UINT IDD_CONNECTION_ASSISTANT = 228;

class CConnectionAssistantDlg : public CDialog {
    DECLARE_DYNAMIC(CConnectionAssistantDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kDisableCheck = 1496;
    static constexpr int kWidth = 600;
    static constexpr int kPanelWidth = 180;
    static constexpr COLORREF kPanelColour = RGB(38, 66, 142);

    // The device a row shows: 0 type-1 device, 1 data card, 2 camera.
    struct Row {
        int kind = 0;
        int subtype = 0;
        QString label;
    };

    explicit CConnectionAssistantDlg(CWnd* pParentWnd = nullptr);

    // Any number of rows: the window grows with them.
    std::vector<Row> m_rows;
    int m_disable = 0;

    // The window height for that many rows.
    static int WindowHeight(int rows);
    // The three connector names of a row (the first one is shown on the first row only).
    static std::array<const char*, 3> ConnectorNames(int kind, int subtype);
    // Draws the diagram into a client area of that size.
    void Paint(CDC* dc, const CRect& client) const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnPaint();
    void OnDisableClicked();
};
