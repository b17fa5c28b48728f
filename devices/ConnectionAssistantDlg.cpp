#include "devices/ConnectionAssistantDlg.h"

#include "platform/framework/Button.h"
#include "platform/framework/DC.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/GdiConstants.h"
#include "platform/framework/PaintDC.h"
#include "platform/framework/Pen.h"
#include "platform/framework/ResourceChain.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>

IMPLEMENT_DYNAMIC(CConnectionAssistantDlg, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CConnectionAssistantDlg, CDialog)
    ON_WM_PAINT()
    ON_BN_CLICKED(CConnectionAssistantDlg::kDisableCheck, OnDisableClicked)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int kRowLeft = 260;
constexpr int kRowTop = 5;
constexpr int kRowHeight = 100;
constexpr int kPanelMiddle = 90;

}  // namespace

CConnectionAssistantDlg::CConnectionAssistantDlg(CWnd* pParentWnd)
    : CDialog(IDD_CONNECTION_ASSISTANT, pParentWnd) {
    const std::pair<CBitmap*, UINT> pictures[] = {{&m_panel, kBitmapPanel},
                                                  {&m_camera, kBitmapCamera},
                                                  {&m_dataCard, kBitmapDataCard},
                                                  {&m_timing, kBitmapTiming}};
    for (const auto& [bitmap, id] : pictures) {
        const QImage image = CResourceChain::LoadBitmap(id);
        if (!image.isNull())
            bitmap->Attach(image);
    }
}

CBitmap& CConnectionAssistantDlg::BitmapOfKind(int kind) const {
    return kind == 0 ? m_timing : kind == 1 ? m_dataCard : m_camera;
}

void CConnectionAssistantDlg::DrawBitmap(CDC* dc, CBitmap& bitmap, int x, int y) {
    if (bitmap.GetImage())
        dc->DrawState(CPoint(x, y), bitmap.GetSize(), &bitmap, DST_BITMAP);
}

int CConnectionAssistantDlg::WindowHeight(int rows) {
    return std::max(400, kRowHeight * rows + 35);
}

std::array<const char*, 3> CConnectionAssistantDlg::ConnectorNames(int kind, int subtype) {
    if (kind == 0)
        return {"Trigger/Event Input", "Antenna/Time Code In", "Heartbeat Out"};
    if (kind == 2 && subtype == 1)
        return {"Trigger In", "Phase Lock In", "Phase Lock Out"};
    if (kind == 2 && subtype == 2)
        return {"Trigger In", "Sync In", "Exposure"};
    if (kind == 2 && subtype == 4)
        return {"Trigger In", "VSI", "VSO"};
    return {"Trigger In", "Sync In", "Sync Out"};
}

void CConnectionAssistantDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, kDisableCheck, m_disable);
}

BOOL CConnectionAssistantDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CRect window;
    GetWindowRect(&window);
    const int height = WindowHeight(static_cast<int>(m_rows.size()));
    SetWindowPos(nullptr, 0, 0, kWidth, height, SWP_NOMOVE | SWP_NOZORDER);
    // OK and the check keep their sizes, centred on the left panel near the bottom.
    const struct {
        int id;
        int bottomAbove;
    } placed[] = {{IDOK, 50}, {kDisableCheck, 25}};
    for (const auto& p : placed) {
        CWnd* item = GetDlgItem(p.id);
        if (!item)
            continue;
        CRect rect;
        item->GetWindowRect(&rect);
        ScreenToClient(&rect);
        const int bottom = height - p.bottomAbove;
        item->MoveWindow(kPanelMiddle - rect.Width() / 2, bottom - rect.Height(), rect.Width(),
                         rect.Height());
    }
    // The check sits on the panel: white text on the panel's colour.
    if (CWnd* check = GetDlgItem(kDisableCheck)) {
        QPalette palette = check->GetQWidget()->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        palette.setColor(QPalette::Window, QColor(38, 66, 142));
        check->GetQWidget()->setPalette(palette);
        check->GetQWidget()->setAutoFillBackground(true);
    }
    return TRUE;
}

void CConnectionAssistantDlg::OnDisableClicked() {
    UpdateData(TRUE);
}

void CConnectionAssistantDlg::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    Paint(&dc, client);
}

void CConnectionAssistantDlg::Paint(CDC* dc, const CRect& client) const {
    dc->FillSolidRect(client, RGB(255, 255, 255));
    dc->FillSolidRect(CRect(client.left, client.top, client.left + kPanelWidth, client.bottom),
                      kPanelColour);
    const CSize panelSize = m_panel.GetSize();
    DrawBitmap(dc, m_panel, kPanelMiddle - panelSize.cx / 2,
               client.CenterPoint().y - 25 - panelSize.cy / 2);
    const int rows = static_cast<int>(m_rows.size());
    // The pictures go first: a row's label reaches into the next row's picture.
    for (int i = 0; i < rows; ++i)
        DrawBitmap(dc, BitmapOfKind(m_rows[static_cast<size_t>(i)].kind), kRowLeft,
                   kRowTop + kRowHeight * i);
    CPen cable(PS_SOLID, 2, RGB(0, 0, 0));
    CPen* oldPen = dc->SelectObject(&cable);
    dc->SetBkMode(TRANSPARENT);
    for (int i = 0; i < rows; ++i) {
        const Row& row = m_rows[static_cast<size_t>(i)];
        const int x = kRowLeft;
        const int y = kRowTop + kRowHeight * i;
        dc->SetTextColor(kPanelColour);
        CRect labelRect(x, y, x + 300, y + 103);
        dc->DrawText(row.label, &labelRect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
        dc->SetTextColor(RGB(0, 0, 0));
        const std::array<const char*, 3> names = ConnectorNames(row.kind, row.subtype);
        for (int line = i == 0 ? 0 : 1; line < 3; ++line)
            dc->TextOut(x + 20, y + 45 + 20 * line, QString::fromLatin1(names[size_t(line)]));
        if (i + 1 < rows) {
            dc->MoveTo(x + 12, y + 77);
            dc->LineTo(x - 40, y + 77);
            dc->LineTo(x - 40, y + 157);
            dc->LineTo(x + 12, y + 157);
        }
    }
    if (rows > 0) {
        dc->MoveTo(272, 42);
        dc->LineTo(200, 42);
        if (m_rows.front().kind == 0) {
            dc->MoveTo(272, 62);
            dc->LineTo(200, 62);
        }
    }
    dc->SelectObject(oldPen);
}
