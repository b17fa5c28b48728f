#pragma once

// CDualValueGauge: a small timing diagram of a frame time and an exposure: a pulse train whose
// high part is the exposure's share of the frame period, with "Frame Time " and "Exposure "
// dimension arrows. Created in place of a dialog's static item. User-interface thread only.

#include "platform/framework/Wnd.h"

class CDC;

class CDualValueGauge : public CWnd {
    DECLARE_DYNAMIC(CDualValueGauge)
    DECLARE_MESSAGE_MAP()

public:
    CDualValueGauge() = default;

    // Repaints (with erasing) only when either value changes.
    void SetValues(double first, double second);
    double GetFirst() const { return m_first; }
    double GetSecond() const { return m_second; }

    // The exposure's share of the frame time: 1 when the frame time is not positive, and kept
    // between 0 and 1.
    double Ratio() const;
    // Paints the diagram into the client rectangle.
    void Draw(CDC* pDC, const CRect& client) const;

protected:
    void OnPaint();

private:
    double m_first = 100.0;
    double m_second = 50.0;
};
