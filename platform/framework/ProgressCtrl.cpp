#include "platform/framework/ProgressCtrl.h"

#include "platform/framework/ControlWidgets.h"

#include <QProgressBar>

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

namespace {

// The step lives with the bar, so any window object of it sees the same step.
constexpr const char* kStepProperty = "rmStep";

QProgressBar* Bar(const CWnd* wnd) {
    return dynamic_cast<QProgressBar*>(wnd->GetQWidget());
}

}  // namespace

BOOL CProgressCtrl::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControlWindow(*this, DlgControl::Progress, QString(), dwStyle, rect, pParentWnd,
                               nID);
}

void CProgressCtrl::SetRange32(int nLower, int nUpper) {
    if (QProgressBar* bar = Bar(this))
        bar->setRange(nLower, nUpper);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
    QProgressBar* bar = Bar(this);
    nLower = bar ? bar->minimum() : 0;
    nUpper = bar ? bar->maximum() : 0;
}

int CProgressCtrl::SetPos(int nPos) {
    QProgressBar* bar = Bar(this);
    if (!bar)
        return 0;
    const int previous = GetPos();
    bar->setValue(std::clamp(nPos, bar->minimum(), bar->maximum()));
    return previous;
}

int CProgressCtrl::OffsetPos(int nPos) {
    return SetPos(GetPos() + nPos);
}

int CProgressCtrl::StepIt() {
    QProgressBar* bar = Bar(this);
    if (!bar)
        return 0;
    const int next = GetPos() + bar->property(kStepProperty).toInt();
    return SetPos(next > bar->maximum() ? bar->minimum() : next);
}

int CProgressCtrl::GetPos() const {
    QProgressBar* bar = Bar(this);
    // A bar that was never set reports one below its minimum; the position is the minimum.
    return bar ? std::max(bar->value(), bar->minimum()) : 0;
}

int CProgressCtrl::SetStep(int nStep) {
    QProgressBar* bar = Bar(this);
    if (!bar)
        return 0;
    const int previous = bar->property(kStepProperty).toInt();
    bar->setProperty(kStepProperty, nStep);
    return previous;
}
