#include "devices/SimplePlayBar.h"

#include "groups/GeneralDoc.h"
#include "groups/GeneralView.h"
#include "groups/MeasurementView.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComVariant.h"
#include "platform/controls/SlideControl.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/UserException.h"
#include "views/IPlayBar.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CSimplePlayBar, CDialogBar)

namespace {

// A value as the messages carry it: truncated toward zero.
LPARAM Truncate(double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<LPARAM>(std::trunc(std::clamp(value, -2147483648.0, 2147483647.0)));
}

}  // namespace

CSimplePlayBar::CSimplePlayBar() = default;

CSimplePlayBar::~CSimplePlayBar() {
    m_slideEvents.Disconnect();
}

BOOL CSimplePlayBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
    if (!CDialogBar::Create(pParentWnd, nIDTemplate, nStyle, nID))
        return FALSE;
    return InitialUpdate() > 0;
}

BOOL CSimplePlayBar::InitialUpdate() {
    try {
        CDataExchange exchange(this, FALSE);
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        return FALSE;
    }
    m_slideEvents.Connect(m_slide, [this](DISPID event, int pointer, double value) {
        OnSlideEvent(event, pointer, value);
    });
    return TRUE;
}

void CSimplePlayBar::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, kSlideId, m_slide);
}

BOOL CSimplePlayBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_DESTROY)
        m_slideEvents.Disconnect();
    return CDialogBar::OnWndMsg(message, wParam, lParam, pResult);
}

void CSimplePlayBar::WritePointer(int index, double value) {
    m_slide.SetPointerValue(index, value);
}

void CSimplePlayBar::WriteRange(double minimum, double maximum) {
    m_slide.SetRange(minimum, maximum);
}

void CSimplePlayBar::SetPosition(int position) {
    if (position == m_position || !SlideReady())
        return;
    m_updating = 1;
    WritePointer(kPlayBarPosition, position);
    m_updating = 0;
    m_position = position;
}

void CSimplePlayBar::SetFrameCount(int count) {
    if (count == m_frameCount || !SlideReady())
        return;
    m_updating = 1;
    WriteRange(0, static_cast<double>(count) - 1);
    m_updating = 0;
    m_frameCount = count;
}

void CSimplePlayBar::SetMarkers(int first, int second) {
    if ((first == m_firstMarker && second == m_secondMarker) || !SlideReady())
        return;
    m_updating = 1;
    WritePointer(kPlayBarInMarker, first);
    WritePointer(kPlayBarOutMarker, second);
    m_updating = 0;
    m_firstMarker = first;
    m_secondMarker = second;
}

void CSimplePlayBar::OnSlideEvent(DISPID event, int pointer, double value) {
    if (m_updating)
        return;
    if (event == CSlideControl::kEventValueChanged)
        PostToMeasurementView(kPlayBarTracking, static_cast<WPARAM>(pointer), Truncate(value));
    else if (event == CSlideControl::kEventValueChanging)
        PostToMeasurementView(kPlayBarReleased, static_cast<WPARAM>(pointer), Truncate(value));
    else if (event == CSlideControl::kEventDblClick)
        PostToMeasurementView(kPlayBarResetLimits, 0, 0);
}

void CSimplePlayBar::PostToMeasurementView(UINT message, WPARAM wParam, LPARAM lParam) {
    CFrameWnd* frame = GetParentFrame();
    if (!frame)
        return;
    frame->ActivateFrame();
    // The bar stands in its frame; the frame is held by a project's view or by nothing here.
    auto* project = dynamic_cast<CGeneralView*>(frame->GetParent());
    auto* doc = project ? dynamic_cast<CGeneralDoc*>(project->GetDocument()) : nullptr;
    auto* view = doc ? dynamic_cast<CMeasurementView*>(doc->FindPlayGroupView()) : nullptr;
    if (view && view->GetSafeHwnd())
        view->PostMessage(message, wParam, lParam);
}
