#include "views/RegionToolWnd.h"

#include "frames/IImageToWindowMap.h"
#include "frames/RegionFrameSource.h"
#include "frames/RegionOutline.h"
#include "views/IStreamDisplay.h"
#include "views/OverlayHost.h"
#include "views/ZoomTransformMap.h"

CRegionToolWnd::CRegionToolWnd() : m_overlay(this), m_source(new CFrameSource) {}

CRegionToolWnd::~CRegionToolWnd() {
    if (m_regionSource)
        m_regionSource->DetachProvider();
    m_source = CFrameSourcePtr();
    LeaveOverlays();
}

void CRegionToolWnd::LeaveOverlays() {
    // The overlays the listener is still attached to: a view that went has detached it, so
    // its host is never reached after it is gone.
    COverlayHost* attached = nullptr;
    m_overlay.GetAttachment(nullptr, &attached);
    if (attached)
        attached->Remove(&m_overlay);
}

HRESULT CRegionToolWnd::SetHost(IStreamDisplay* host) {
    m_host = host;
    return S_OK;
}

HRESULT CRegionToolWnd::CreateRegionSource(const CFrameSourcePtr& inner) {
    if (m_regionSource)
        m_regionSource->DetachProvider();
    m_regionSource = new CRegionFrameSource(inner, this);
    m_source = CFrameSourcePtr(m_regionSource);
    return S_OK;
}

HRESULT CRegionToolWnd::SetListener(COverlayHost* listener) {
    LeaveOverlays();
    m_listener = listener;
    if (m_listener)
        m_listener->Add(&m_overlay);
    return S_OK;
}

HRESULT CRegionToolWnd::GetSource(CFrameSourcePtr* out) {
    if (!out)
        return E_POINTER;
    *out = m_source;
    return S_OK;
}

HRESULT CRegionToolWnd::SetRect(int left, int top, int right, int bottom) {
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
    int listeners = 0;
    if (INotifier* notifier = m_source->GetNotifier())
        notifier->GetCount(&listeners);
    if (listeners < 1)
        m_overlay.Invalidate();
    return S_OK;
}

HRESULT CRegionToolWnd::GetRect(int out[4]) {
    if (!out)
        return E_POINTER;
    out[0] = m_left;
    out[1] = m_top;
    out[2] = m_right;
    out[3] = m_bottom;
    return S_OK;
}

HRESULT CRegionToolWnd::Open(bool select) {
    if (!m_host)
        return E_FAIL;
    return m_host->SetSelectionMode(select);
}

HRESULT CRegionToolWnd::Draw(CDC* dc, const CRect&) {
    if (!m_host)
        return E_POINTER;
    IImageToWindowMap* map = nullptr;
    if (CZoomTransformMap::OfStreamDisplay(m_host, &map) != S_OK)
        return S_OK;
    DrawRegionOutline(CRect(m_left, m_top, m_right, m_bottom), RGB(0, 255, 255), 1, dc, this, map);
    map->ReleaseMap();
    return S_OK;
}
