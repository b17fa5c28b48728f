#include "views/panels/DualValueGauge.h"

#include "platform/framework/Brush.h"
#include "platform/framework/DC.h"
#include "platform/framework/Font.h"
#include "platform/framework/PaintDC.h"
#include "platform/framework/Pen.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDualValueGauge, CWnd)

BEGIN_MESSAGE_MAP(CDualValueGauge, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

int Trunc(double value) {
    return static_cast<int>(value);
}

// A horizontal dimension line from x0 to xe at y with an arrowhead of two 4-pixel strokes at
// each end.
void DrawArrow(CDC* dc, int x0, int xe, int y) {
    dc->MoveTo(x0, y);
    dc->LineTo(xe, y);
    for (int dy : {4, -4}) {
        dc->MoveTo(x0, y);
        dc->LineTo(x0 + 4, y + dy);
        dc->MoveTo(xe, y);
        dc->LineTo(xe - 4, y + dy);
    }
}

}  // namespace

void CDualValueGauge::SetValues(double first, double second) {
    if (first == m_first && second == m_second)
        return;
    m_first = first;
    m_second = second;
    Invalidate(TRUE);
}

double CDualValueGauge::Ratio() const {
    if (m_first <= 0.0)
        return 1.0;
    // A negative exposure would draw the pulse backwards out of the frame.
    return std::clamp(m_second / m_first, 0.0, 1.0);
}

void CDualValueGauge::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    Draw(&dc, client);
}

void CDualValueGauge::Draw(CDC* pDC, const CRect& client) const {
    const int l = client.left;
    const int t = client.top;
    const int r = client.right;
    const int b = client.bottom;
    const int w = client.Width();
    const int h = client.Height();

    CBrush black(RGB(0, 0, 0));
    pDC->FillRect(client, &black);

    const int span = Trunc(0.98 * w);
    const double pulse = span * Ratio();
    const double x0 = l + 0.01 * w;
    const int yHigh = Trunc(t + 0.36 * h);
    const int yLow = Trunc(t + 0.64 * h);
    const int left = Trunc(x0);
    const int pulseEnd = Trunc(x0 + pulse);
    const int spanEnd = Trunc(x0 + span);

    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* oldPen = pDC->SelectObject(&red);
    const CPoint wave[] = {{l, yLow},        {left, yLow},    {left, yHigh},    {pulseEnd, yHigh},
                           {pulseEnd, yLow}, {spanEnd, yLow}, {spanEnd, yHigh}, {r, yHigh}};
    pDC->Polyline(wave, 8);

    CFont font;
    font.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                    QStringLiteral("Arial"));
    CFont* oldFont = pDC->SelectObject(&font);
    const COLORREF oldText = pDC->SetTextColor(RGB(255, 255, 255));
    const COLORREF oldBk = pDC->SetBkColor(RGB(0, 0, 0));
    const int labelX = Trunc(l + 0.05 * w);
    pDC->TextOut(labelX, t, QStringLiteral("Frame Time "));
    pDC->TextOut(labelX, b - 12, QStringLiteral("Exposure "));

    CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    pDC->SelectObject(&white);
    DrawArrow(pDC, left, spanEnd, Trunc(t + 0.24 * h));
    DrawArrow(pDC, left, pulseEnd, Trunc(t + 0.76 * h));

    pDC->SetTextColor(oldText);
    pDC->SetBkColor(oldBk);
    pDC->SelectObject(oldFont);
    pDC->SelectObject(oldPen);
}
