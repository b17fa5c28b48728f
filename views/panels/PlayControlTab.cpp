#include "views/panels/PlayControlTab.h"

#include "platform/com/ComObject.h"
#include "platform/com/ComVariant.h"
#include "platform/controls/SlideControl.h"
#include "platform/controls/SlideWidget.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/FrameWnd.h"
#include "platform/wintypes/CLocale.h"
#include "views/PlayControlWnd.h"
#include "views/panels/IPlaybackSourceList.h"
#include "views/panels/PlayButtonIcons.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>

IMPLEMENT_DYNAMIC(CPlayControlTab, CTabDlg)

BEGIN_MESSAGE_MAP(CPlayControlTab, CTabDlg)
ON_WM_DESTROY()
ON_NOTIFY(NM_RCLICK, kPlaybackTreeId, OnTreeRightClick)
ON_NOTIFY(NM_DBLCLK, kPlaybackTreeId, OnTreeDoubleClick)
ON_COMMAND_RANGE(kWindowMenuFirst, kWindowMenuLast, OnWindowMenu)
END_MESSAGE_MAP()

namespace {

// Scale labels under the slide: frames, then times, from the first to the last.
constexpr int kFrameLabels[] = {1019, 1006, 1007, 1013};
constexpr int kTimeLabels[] = {1135, 1008, 1009, 1015};
// A range this short has no room for the middle labels.
constexpr int kShortRange = 16;
const QString kNoLabel = QStringLiteral("---");

constexpr DISPID kSlideDoubleClick = -601;

// A value read from the slide, truncated toward zero like the messages carry it.
int Truncate(double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(value, -2147483648.0, 2147483647.0)));
}

}  // namespace

CPlayControlTab::CPlayControlTab(CWnd* pParentWnd) : CTabDlg(kPlayControlTabTemplate, pParentWnd) {}

CPlayControlTab::~CPlayControlTab() {
    m_slideEvents.Disconnect();
}

BOOL CPlayControlTab::Create(CWnd* pParentWnd, CWnd* pOwnerWnd) {
    if (!CTabDlg::Create(pParentWnd))
        return FALSE;
    m_ownerWnd = pOwnerWnd;
    return TRUE;
}

void CPlayControlTab::DoDataExchange(CDataExchange* pDX) {
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kRateSlider, m_ratioSlider);
    DDX_Control(pDX, kPositionSlide, m_slide);
    DDX_Control(pDX, kPlaybackTreeId, m_tree);
}

BOOL CPlayControlTab::OnInitDialog() {
    CTabDlg::OnInitDialog();
    CreateSlide();
    SetDlgItemInt(kJumpField, 0);
    // Enter in the page (the Jump box above all) jumps.
    SetDefID(PlayControlId::kJump);
    SetDlgItemInt(kRatioField, 1);
    SetDlgItemInt(kFrameField, 0);
    SetDlgItemText(kTimeField, QFormatC("%5.4f", 0.0));
    m_ratioSlider.SetRange(2, 60, TRUE);
    m_ratioSlider.SetPageSize(2);
    m_ratioSlider.SetLineSize(2);
    m_ratioSlider.SetPos(40);
    SetDlgItemText(kSpeedText, QStringLiteral("20.0"));
    CPlayButtonIcons::Apply(this);
    // Both play buttons are captioned "Play"; their tips say which way each plays.
    AddItemTip(PlayControlId::kPlay, QStringLiteral("Play forward"));
    AddItemTip(PlayControlId::kPlayBackward, QStringLiteral("Play backward"));
    m_tree.Initialize();
    return TRUE;
}

void CPlayControlTab::CreateSlide() {
    // The slide took its place in the template through DDX_Control; only its events are left.
    m_slideEvents.Connect(m_slide, [this](DISPID event, int pointer, double value) {
        if (event == CSlideControl::kEventValueChanged ||
            event == CSlideControl::kEventValueChanging) {
            const UINT message =
                event == CSlideControl::kEventValueChanged ? kPlayBarTracking : kPlayBarReleased;
            SendToOwner(message, static_cast<WPARAM>(pointer), Truncate(value));
        } else if (event == kSlideDoubleClick) {
            SendToOwner(kPlayBarResetLimits, 0, 0);
        }
    });
}

void CPlayControlTab::OnDestroy() {
    m_slideEvents.Disconnect();
    CTabDlg::OnDestroy();
}

void CPlayControlTab::SendToOwner(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_ownerWnd && m_ownerWnd->GetSafeHwnd())
        m_ownerWnd->SendMessage(message, wParam, lParam);
}

BOOL CPlayControlTab::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                               AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CFrameWnd* frame = GetParentFrame();
        frame && frame->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CTabDlg::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CPlayControlTab::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (GetSafeHwnd() && IsWindowVisible() && ++m_pollCounter >= kPollInterval) {
        m_pollCounter = 0;
        Poll();
    }
    return CTabDlg::DefWindowProc(message, wParam, lParam);
}

void CPlayControlTab::Poll() {
    if (CPlaybackTree::TakeListChange(AskOwner(), &m_seenCount, m_listedCount))
        RebuildTree();
}

HRESULT CPlayControlTab::RebuildTree() {
    return m_tree.Rebuild(AskOwner(), &m_listedCount);
}

void CPlayControlTab::OnTreeRightClick(NMHDR*, LRESULT* pResult) {
    m_tree.OnRightClick(this, AskOwner());
    *pResult = 0;
}

void CPlayControlTab::OnTreeDoubleClick(NMHDR*, LRESULT* pResult) {
    *pResult = m_tree.OnDoubleClick(AskOwner());
}

void CPlayControlTab::OnWindowMenu(UINT nID) {
    m_tree.OnWindowMenu(nID, AskOwner());
}

BOOL CPlayControlTab::ReadPointer(int index, int* value) {
    double read = 0.0;
    if (FAILED(m_slide.GetPointerValue(index, &read)))
        return FALSE;
    *value = Truncate(read);
    return TRUE;
}

void CPlayControlTab::WritePointer(int index, int value) {
    m_slide.SetPointerValue(index, value);
}

void CPlayControlTab::GetPosition(int* position) {
    ReadPointer(kPlayBarPosition, position);
}

void CPlayControlTab::SetPosition(int position) {
    int shown = 0;
    if (ReadPointer(kPlayBarPosition, &shown) && shown != position)
        WritePointer(kPlayBarPosition, position);
}

void CPlayControlTab::GetRange(int* minimum, int* maximum) {
    double low = 0.0;
    double high = 0.0;
    if (SUCCEEDED(m_slide.GetRange(&low, &high))) {
        *minimum = Truncate(low);
        *maximum = Truncate(high);
    }
}

void CPlayControlTab::SetRange(int minimum, int maximum) {
    // A new range comes with a change of the group's members: the tree follows at once
    // instead of waiting for the next poll, which needs messages to the page.
    if (GetSafeHwnd())
        Poll();
    m_slide.SetRange(minimum, maximum);
}

void CPlayControlTab::GetInOutPoints(int* in, int* out) {
    ReadPointer(kPlayBarInMarker, in);
    ReadPointer(kPlayBarOutMarker, out);
}

void CPlayControlTab::SetInPoint(int in) {
    int shown = 0;
    if (ReadPointer(kPlayBarInMarker, &shown) && shown != in)
        WritePointer(kPlayBarInMarker, in);
}

void CPlayControlTab::SetOutPoint(int out) {
    int shown = 0;
    if (ReadPointer(kPlayBarOutMarker, &shown) && shown != out)
        WritePointer(kPlayBarOutMarker, out);
}

void CPlayControlTab::SetInOutPoints(int in, int out) {
    int shownIn = 0;
    int shownOut = 0;
    if (!ReadPointer(kPlayBarInMarker, &shownIn) || !ReadPointer(kPlayBarOutMarker, &shownOut))
        return;
    if (shownIn != in || shownOut != out) {
        WritePointer(kPlayBarInMarker, in);
        WritePointer(kPlayBarOutMarker, out);
    }
}

void CPlayControlTab::SetFrameField(int frameNumber) {
    SetDlgItemInt(kFrameField, static_cast<UINT>(frameNumber), TRUE);
}

void CPlayControlTab::SetTimeField(double seconds) {
    SetDlgItemText(kTimeField, QFormatC("%5.4f", seconds));
}

void CPlayControlTab::SetSpeedText(double framesPerSecond) {
    if (GetSafeHwnd())
        SetDlgItemText(kSpeedText, QFormatC("%.1f", framesPerSecond));
}

void CPlayControlTab::SetCheck2007(int checked) {
    CheckDlgButton(PlayControlId::kSynchronize, static_cast<UINT>(checked));
}

void CPlayControlTab::SetCheck2011(int checked) {
    CheckDlgButton(PlayControlId::kBaseSync, static_cast<UINT>(checked));
}

void CPlayControlTab::SetCheck2006(int checked) {
    CheckDlgButton(PlayControlId::kContinuous, static_cast<UINT>(checked));
}

int CPlayControlTab::GetSpeedField() {
    return static_cast<int>(GetDlgItemInt(kRatioField, nullptr, TRUE));
}

void CPlayControlTab::SetSpeedField(int value) {
    SetDlgItemInt(kRatioField, static_cast<UINT>(value), TRUE);
}

double CPlayControlTab::GetSpeed() {
    return m_ratioSlider.GetSafeHwnd() ? m_ratioSlider.GetPos() * 0.5 : 0.0;
}

int CPlayControlTab::GetJumpFrame() {
    return static_cast<int>(GetDlgItemInt(kJumpField, nullptr, TRUE));
}

void CPlayControlTab::PlaceScaleLabels(const std::array<int, 4>& values) {
    auto* slide = static_cast<CSlideWidget*>(GetSlideWidget());
    QWidget* page = GetQWidget();
    if (!slide || !page)
        return;
    // Each pair of labels stands under its value's place on the slide: the first starts there,
    // the last ends there, the middle ones are centred on it.
    for (size_t i = 0; i < values.size(); ++i) {
        const int x = slide->mapTo(page, QPoint(slide->PositionOf(values[i]), 0)).x();
        for (const int id : {kFrameLabels[i], kTimeLabels[i]}) {
            CWnd* item = GetDlgItem(id);
            QWidget* label = item ? item->GetQWidget() : nullptr;
            if (!label)
                continue;
            const int width = label->width();
            int left = x - width / 2;
            if (i == 0)
                left = x;
            else if (i + 1 == values.size())
                left = x - width + 1;
            left = std::clamp(left, 0, std::max(0, page->width() - width));
            label->move(left, label->y());
            if (auto* text = qobject_cast<QLabel*>(label))
                text->setAlignment(i == 0                   ? Qt::AlignLeft
                                   : i + 1 == values.size() ? Qt::AlignRight
                                                            : Qt::AlignHCenter);
        }
    }
}

void CPlayControlTab::UpdateScaleLabels(int rate, int offset) {
    int minimum = 0;
    int maximum = 0;
    GetRange(&minimum, &maximum);
    const int n = maximum - minimum + 1;
    const int third = n / 3;
    const bool shortRange = n < kShortRange;

    const int frames[] = {-offset, third - offset, 2 * third - offset, n - offset - 1};
    PlaceScaleLabels({minimum, minimum + third, minimum + 2 * third, maximum});
    for (int i = 0; i < 4; ++i) {
        const bool middle = i == 1 || i == 2;
        SetDlgItemText(kFrameLabels[i],
                       middle && shortRange ? kNoLabel : QFormatC("%d", frames[i]));
    }

    const double x = n - 1.0;
    const float step =
        rate > 0 ? static_cast<float>(x / (rate * 3.0)) : static_cast<float>(x * (1.0 / 3.0));
    const float t0 = rate > 0 ? static_cast<float>(static_cast<double>(offset) / rate)
                              : static_cast<float>(offset);
    // 0 - t0 rather than -t0: a scale starting at 0 shows " 0.00", not "-0.00".
    const float times[] = {0.0f - t0, step - t0, 2 * step - t0, 3 * step - t0};
    for (int i = 0; i < 4; ++i) {
        const bool middle = i == 1 || i == 2;
        SetDlgItemText(kTimeLabels[i], middle && shortRange
                                           ? kNoLabel
                                           : QFormatC("%5.2f", static_cast<double>(times[i])));
    }
}
