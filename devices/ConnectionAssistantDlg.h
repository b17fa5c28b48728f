#pragma once

// CConnectionAssistantDlg: the Connection Assistant: one picture per open device with the names
// of its connectors, and the trigger and synchronisation cables between them.

#include "platform/framework/Bitmap.h"
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
    // The pictures: one per row kind, and the left panel's.
    static constexpr UINT kBitmapDataCard = 229;
    static constexpr UINT kBitmapCamera = 230;
    static constexpr UINT kBitmapPanel = 231;
    static constexpr UINT kBitmapTiming = 232;

    // The device a row shows: 0 type-1 device, 1 data card, 2 camera.
    struct Row {
        int kind = 0;
        int subtype = 0;
        QString label;
    };

    // Loads the pictures; one that cannot be loaded is not drawn.
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

private:
    // Draws bitmap (when it was loaded) with its top-left corner at x, y.
    static void DrawBitmap(CDC* dc, CBitmap& bitmap, int x, int y);
    CBitmap& BitmapOfKind(int kind) const;

    // Drawing changes no state, but CDC takes the bitmaps it draws by pointer.
    mutable CBitmap m_panel;
    mutable CBitmap m_camera;
    mutable CBitmap m_dataCard;
    mutable CBitmap m_timing;
};
