#include "platform/framework/SliderCtrl.h"

#include "platform/framework/ControlWidgets.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

namespace {

QSlider* Slider(const CWnd* wnd) {
    return dynamic_cast<QSlider*>(wnd->GetQWidget());
}

}  // namespace

BOOL CSliderCtrl::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControlWindow(*this, DlgControl::Slider, QString(), dwStyle, rect, pParentWnd,
                               nID);
}

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL) {
    if (QSlider* slider = Slider(this))
        slider->setRange(nMin, nMax);
}

int CSliderCtrl::GetRangeMin() const {
    QSlider* slider = Slider(this);
    return slider ? slider->minimum() : 0;
}

int CSliderCtrl::GetRangeMax() const {
    QSlider* slider = Slider(this);
    return slider ? slider->maximum() : 0;
}

void CSliderCtrl::SetPos(int nPos) {
    if (QSlider* slider = Slider(this))
        slider->setValue(nPos);
}

int CSliderCtrl::GetPos() const {
    QSlider* slider = Slider(this);
    return slider ? slider->value() : 0;
}

void CSliderCtrl::SetTicFreq(int nFreq) {
    if (QSlider* slider = Slider(this)) {
        slider->setTickInterval(nFreq);
        slider->setTickPosition(QSlider::TicksBelow);
    }
}

int CSliderCtrl::SetPageSize(int nSize) {
    QSlider* slider = Slider(this);
    if (!slider)
        return 0;
    const int previous = slider->pageStep();
    slider->setPageStep(nSize);
    return previous;
}

int CSliderCtrl::SetLineSize(int nSize) {
    QSlider* slider = Slider(this);
    if (!slider)
        return 0;
    const int previous = slider->singleStep();
    slider->setSingleStep(nSize);
    return previous;
}
