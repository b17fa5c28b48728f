#include "frames/RegionObject.h"

#include "frames/IDerivedSourceOwner.h"
#include "frames/IImageToWindowMap.h"
#include "frames/RegionOutline.h"

CRegionObject::CRegionObject(IDerivedSourceOwner* owner) : m_owner(owner) {}

CRegionObject::~CRegionObject() = default;

HRESULT CRegionObject::QueryInterfaceById(int id, void** out) {
    HRESULT result = E_FAIL;
    if (AnswerCommonQuery(id, out, &result))
        return result;
    if (id == kIdRegion) {
        *out = static_cast<IRegion*>(this);
        return S_OK;
    }
    if (id == kIdRegionDrawing) {
        *out = static_cast<IOverlayDraw*>(this);
        return S_OK;
    }
    return E_FAIL;
}

HRESULT CRegionObject::SetMapperHost(IImageMapHost* host) {
    m_mapperHost = host;
    return S_OK;
}

HRESULT CRegionObject::SetPen(BYTE red, BYTE green, BYTE blue, int width) {
    m_red = red;
    m_green = green;
    m_blue = blue;
    m_penWidth = width;
    return S_OK;
}

HRESULT CRegionObject::SetRect(int left, int top, int right, int bottom) {
    m_left = left;
    m_top = top;
    // Integer division truncates toward zero, so a rectangle drawn leftwards keeps its sign.
    m_right = left + (right - left) / 4 * 4;
    m_bottom = top + (bottom - top) / 4 * 4;
    if (m_owner) {
        IOverlayRedraw* listener = nullptr;
        if (m_owner->GetListener(&listener) == S_OK && listener)
            listener->Invalidate();
    }
    return S_OK;
}

HRESULT CRegionObject::GetRect(int out[4]) {
    if (!out)
        return E_POINTER;
    out[0] = m_left;
    out[1] = m_top;
    out[2] = m_right;
    out[3] = m_bottom;
    return S_OK;
}

HRESULT CRegionObject::GetSource(CFrameSourcePtr* out) {
    if (!out)
        return E_POINTER;
    *out = m_source;
    return S_OK;
}

HRESULT CRegionObject::Open(const QString& title) {
    if (!m_owner)
        return E_POINTER;
    m_owner->OpenFor(static_cast<IIdUnknown*>(this), title);
    return S_OK;
}

HRESULT CRegionObject::Draw(CDC* dc, const CRect&) {
    if (!m_mapperHost)
        return E_POINTER;
    // Without a view to map into there is nowhere to draw.
    IImageToWindowMap* map = nullptr;
    if (m_mapperHost->GetImageMap(&map) != S_OK || !map)
        return S_OK;
    DrawRegionOutline(CRect(m_left, m_top, m_right, m_bottom), RGB(m_red, m_green, m_blue),
                      m_penWidth, dc, nullptr, map);
    map->ReleaseMap();
    return S_OK;
}
