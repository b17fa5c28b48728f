#pragma once

// CRegionObject: the region object (id 7, drawing interface id 33) of a cropped frame source:
// the rectangle the source cuts out, in image pixels with width and height in steps of 4, and
// the outline that marks it in the view. The frame source that makes it owns it; the view
// adapter that had the source made is its owner for requests (not owned).

#include "frames/IDerivedSourceOwner.h"
#include "frames/IOverlayDraw.h"
#include "frames/IRegion.h"
#include "frames/IdObjectBase.h"

class CRegionObject : public CIdObjectBase,
                      public IRegion,
                      public IOverlayDraw,
                      public IDerivedSourceLink {
public:
    // owner: not owned, null for none.
    explicit CRegionObject(IDerivedSourceOwner* owner);
    ~CRegionObject() override;
    CRegionObject(const CRegionObject&) = delete;
    CRegionObject& operator=(const CRegionObject&) = delete;

    HRESULT QueryInterfaceById(int id, void** out) override;

    HRESULT SetMapperHost(IImageMapHost* host) override;
    HRESULT SetPen(BYTE red, BYTE green, BYTE blue, int width) override;
    HRESULT SetRect(int left, int top, int right, int bottom) override;
    HRESULT GetRect(int out[4]) override;
    HRESULT GetSource(CFrameSourcePtr* out) override;
    HRESULT Open(const QString& title) override;

    // The outline in the stored colour and width, mapped through the mapper host's map;
    // E_POINTER without a mapper host.
    HRESULT Draw(CDC* dc, const CRect& area) override;

    void SetSource(const CFrameSourcePtr& source) override { m_source = source; }
    void SetOwner(IDerivedSourceOwner* owner) override { m_owner = owner; }

private:
    BYTE m_red = 255;
    BYTE m_green = 255;
    BYTE m_blue = 0;
    int m_penWidth = 0;
    IDerivedSourceOwner* m_owner;
    IImageMapHost* m_mapperHost = nullptr;
    CFrameSourcePtr m_source;
    int m_left = 10;
    int m_top = 10;
    int m_right = 20;
    int m_bottom = 20;
};
