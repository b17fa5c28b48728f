#include "devices/VideoTriggerTraceWnd.h"

#include "platform/framework/MessageMap.h"
#include "platform/framework/PaintDC.h"
#include "platform/framework/Pen.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CVideoTriggerTraceWnd, CWnd)
ON_WM_TIMER()
ON_WM_PAINT()
ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 160;
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kTrace = RGB(0, 0, 160);
constexpr COLORREF kRising = RGB(200, 0, 0);
constexpr COLORREF kFalling = RGB(0, 150, 0);

}  // namespace

CVideoTriggerTraceWnd::CVideoTriggerTraceWnd(Sampler sampler) : m_sampler(std::move(sampler)) {}

BOOL CVideoTriggerTraceWnd::Open() {
    if (!GetSafeHwnd()) {
        if (!Create(nullptr, QString::fromLatin1(kTitle), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    CRect(0, 0, kWidth, kHeight), nullptr, 0))
            return FALSE;
        SetTimer(kSampleTimer, kSamplePeriodMs);
    }
    ShowWindow(SW_SHOW);
    return TRUE;
}

bool CVideoTriggerTraceWnd::TakeSample() {
    Sample sample;
    if (!m_sampler || !m_sampler(&sample))
        return false;
    m_samples.push_back(sample);
    while (m_samples.size() > kMaxSamples)
        m_samples.pop_front();
    if (GetSafeHwnd())
        Invalidate(FALSE);
    return true;
}

void CVideoTriggerTraceWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kSampleTimer && IsWindowVisible())
        TakeSample();
}

void CVideoTriggerTraceWnd::OnClose() {
    // Closing only hides it: the page opens it again with its trace.
    ShowWindow(SW_HIDE);
}

void CVideoTriggerTraceWnd::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, kBackground);
    if (m_samples.empty() || client.Width() < 2 || client.Height() < 2)
        return;
    // Levels from 0 up to the highest seen, at least the 8-bit range.
    double top = 255.0;
    for (const Sample& s : m_samples)
        top = std::max({top, s.level, double(s.rising), double(s.falling)});
    const auto y = [&](double level) {
        return client.bottom - 1 - static_cast<int>(level / top * (client.Height() - 1));
    };
    const Sample& last = m_samples.back();
    for (const auto& [level, colour] :
         {std::pair(last.rising, kRising), std::pair(last.falling, kFalling)}) {
        if (level <= 0)
            continue;
        CPen pen(PS_DOT, 1, colour);
        CPen* old = dc.SelectObject(&pen);
        dc.MoveTo(client.left, y(level));
        dc.LineTo(client.right, y(level));
        dc.SelectObject(old);
    }
    CPen pen(PS_SOLID, 1, kTrace);
    CPen* old = dc.SelectObject(&pen);
    // The newest sample at the right edge, one pixel per sample.
    const int first = client.right - static_cast<int>(m_samples.size());
    for (size_t i = 0; i < m_samples.size(); ++i) {
        const int x = first + static_cast<int>(i);
        if (i == 0)
            dc.MoveTo(x, y(m_samples[i].level));
        else
            dc.LineTo(x, y(m_samples[i].level));
    }
    dc.SelectObject(old);
}
