#pragma once

// CRegionFrameSource: a linked frame source whose frames are the rectangle that its region
// provider gives, cut out of the inner source's frames (kept inside them; a rectangle given
// right to left or bottom to top counts as the same rectangle the usual way round).
// CCroppedFrameSource is one whose region is a region object of its own.

#include "frames/IRegion.h"
#include "frames/LinkedFrameSource.h"

#include <memory>

class CRegionObject;
class IDerivedSourceOwner;

class CRegionFrameSource : public CLinkedFrameSource {
public:
    // provider: not owned, outlives this source (null: frames pass whole).
    CRegionFrameSource(const CFrameSourcePtr& inner, IRegionRect* provider);

    // The provider goes away while windows may still show this source: its last rectangle
    // stays the one cut out.
    void DetachProvider();

    // The provider's rectangle, normalised and kept inside a frame of width x height; empty
    // when nothing of it lies inside.
    static CRect ClampedRegion(IRegionRect* provider, int width, int height);

protected:
    bool ProcessFrame(int n, CFrameImage* frame) override;

private:
    // The rectangle a detached provider left behind.
    class CFixedRect : public IRegionRect {
    public:
        HRESULT GetRect(int out[4]) override;
        int corners[4] = {0, 0, 0, 0};
    };

    IRegionRect* m_provider;
    CFixedRect m_fixed;
    CFrameImage m_cut;
};

class CCroppedFrameSource : public CRegionFrameSource {
public:
    // The region's owner is owner (not owned); its outline is penWidth wide. The region is
    // reported through *region.
    CCroppedFrameSource(const CFrameSourcePtr& inner, IDerivedSourceOwner* owner, int penWidth,
                        CRegionObject** region);
    ~CCroppedFrameSource() override;

    CRegionObject* GetRegion() const { return m_region.get(); }

private:
    CCroppedFrameSource(const CFrameSourcePtr& inner, std::unique_ptr<CRegionObject> region,
                        int penWidth, CRegionObject** reported);

    std::unique_ptr<CRegionObject> m_region;
};
