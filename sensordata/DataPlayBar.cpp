#include "sensordata/DataPlayBar.h"

#include "platform/framework/MessageMap.h"
#include "sensorres/SensorResourceIds.h"
#include "views/PlayControlWnd.h"

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>

#include <algorithm>

IMPLEMENT_DYNAMIC(CDataPlayBar, CDialogBar)

BEGIN_MESSAGE_MAP(CDataPlayBar, CDialogBar)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

BOOL CDataPlayBar::CreateIn(CWnd* frame, UINT nID) {
    if (!Create(frame, SensorRes::kDataPlayBarTemplate, CBRS_BOTTOM, nID))
        return FALSE;
    m_slider.SubclassDlgItem(DataPlayBarId::kPositionSlider, this);
    // The frame and time fields change at every step of the play: held rather than looked up.
    m_frameField.Attach(DataPlayBarId::kFrameField, this);
    m_timeField.Attach(DataPlayBarId::kTimeField, this);
    SetFrameField(0);
    SetTimeField(0.0);
    return TRUE;
}

BOOL CDataPlayBar::SetButtonIcon(int buttonId, const QImage& icon) {
    CWnd* button = GetDlgItem(buttonId);
    auto* widget = button ? qobject_cast<QAbstractButton*>(button->GetQWidget()) : nullptr;
    if (!widget || icon.isNull())
        return FALSE;
    // The text stays as the button's tip.
    widget->setToolTip(widget->text());
    widget->setText(QString());
    widget->setIcon(QPixmap::fromImage(icon));
    return TRUE;
}

// Every move of the slider is the user's: it goes as a released pointer, which the play
// control takes at once rather than as the echo of a value it set itself.
void CDataPlayBar::OnHScroll(UINT nSBCode, UINT, CWnd*) {
    if (nSBCode == SB_ENDSCROLL || !m_owner || !m_owner->GetSafeHwnd())
        return;
    m_owner->SendMessage(kPlayBarReleased, kPlayBarPosition, m_slider.GetPos());
}

void CDataPlayBar::GetPosition(int* position) {
    if (m_slider.GetSafeHwnd())
        *position = m_slider.GetPos();
}

void CDataPlayBar::SetPosition(int position) {
    if (m_slider.GetSafeHwnd())
        m_slider.SetPos(position);
}

void CDataPlayBar::GetRange(int* minimum, int* maximum) {
    if (!m_slider.GetSafeHwnd())
        return;
    *minimum = m_slider.GetRangeMin();
    *maximum = m_slider.GetRangeMax();
}

void CDataPlayBar::SetRange(int minimum, int maximum) {
    if (m_slider.GetSafeHwnd())
        m_slider.SetRange(minimum, maximum, TRUE);
}

void CDataPlayBar::GetInOutPoints(int* in, int* out) {
    *in = m_in;
    *out = m_out;
}

void CDataPlayBar::SetInPoint(int in) {
    m_in = in;
}

void CDataPlayBar::SetOutPoint(int out) {
    m_out = out;
}

void CDataPlayBar::SetInOutPoints(int in, int out) {
    m_in = in;
    m_out = out;
}

void CDataPlayBar::UpdateScaleLabels(int, int offset) {
    if (!GetSafeHwnd())
        return;
    int minimum = 0;
    int maximum = 0;
    GetRange(&minimum, &maximum);
    const int n = std::max(maximum - minimum + 1, 1);
    const int frames[] = {-offset, n / 3 - offset, 2 * (n / 3) - offset, n - 1 - offset};
    for (int i = 0; i < 4; ++i)
        SetDlgItemInt(DataPlayBarId::kScaleLabels[i], static_cast<UINT>(frames[i]), TRUE);
}

void CDataPlayBar::SetFrameField(int frameNumber) {
    if (m_frameField.GetSafeHwnd())
        m_frameField.SetText(QString::number(frameNumber));
}

void CDataPlayBar::SetTimeField(double seconds) {
    if (m_timeField.GetSafeHwnd())
        m_timeField.SetText(CReadoutField::FixedText(seconds, 5));
}

void CDataPlayBar::SetCheck2007(int checked) {
    if (GetSafeHwnd())
        CheckDlgButton(PlayControlId::kSynchronize, static_cast<UINT>(checked));
}

void CDataPlayBar::SetCheck2011(int checked) {
    if (GetSafeHwnd())
        CheckDlgButton(PlayControlId::kBaseSync, static_cast<UINT>(checked));
}

void CDataPlayBar::SetCheck2006(int checked) {
    if (GetSafeHwnd())
        CheckDlgButton(PlayControlId::kContinuous, static_cast<UINT>(checked));
}
