#include "frames/RegionFrameSource.h"

#include "frames/RegionObject.h"

#include <algorithm>

namespace {

void InnerSize(const CFrameSourcePtr& inner, int* width, int* height) {
    *width = 0;
    *height = 0;
    if (!inner.IsEmpty())
        inner->GetImageSize(width, height);
}

}  // namespace

CRegionFrameSource::CRegionFrameSource(const CFrameSourcePtr& inner, IRegionRect* provider)
    : CLinkedFrameSource(inner), m_provider(provider) {
    int width = 0;
    int height = 0;
    InnerSize(inner, &width, &height);
    if (m_provider) {
        const CRect region = ClampedRegion(m_provider, width, height);
        SetLinkedImageSize(region.Width(), region.Height());
    }
}

void CRegionFrameSource::DetachProvider() {
    if (m_provider && m_provider != &m_fixed)
        m_provider->GetRect(m_fixed.corners);
    m_provider = &m_fixed;
}

HRESULT CRegionFrameSource::CFixedRect::GetRect(int out[4]) {
    if (!out)
        return E_POINTER;
    std::copy(corners, corners + 4, out);
    return S_OK;
}

CRect CRegionFrameSource::ClampedRegion(IRegionRect* provider, int width, int height) {
    int corners[4] = {0, 0, 0, 0};
    if (!provider || provider->GetRect(corners) != S_OK)
        return CRect();
    CRect region(corners[0], corners[1], corners[2], corners[3]);
    region.NormalizeRect();
    region.left = std::clamp<LONG>(region.left, 0, std::max(width, 0));
    region.right = std::clamp<LONG>(region.right, 0, std::max(width, 0));
    region.top = std::clamp<LONG>(region.top, 0, std::max(height, 0));
    region.bottom = std::clamp<LONG>(region.bottom, 0, std::max(height, 0));
    return region.Width() > 0 && region.Height() > 0 ? region : CRect();
}

bool CRegionFrameSource::ProcessFrame(int, CFrameImage* frame) {
    if (!m_provider)
        return true;
    const CRect region = ClampedRegion(m_provider, static_cast<int>(frame->GetWidth()),
                                       static_cast<int>(frame->GetHeight()));
    if (region.IsRectEmpty())
        return false;
    if (!m_cut.CopySubImage(frame, region.left, region.top, region.Width(), region.Height()))
        return false;
    SetLinkedImageSize(region.Width(), region.Height());
    return frame->CopyFrom(m_cut) == 1;
}

CCroppedFrameSource::CCroppedFrameSource(const CFrameSourcePtr& inner, IDerivedSourceOwner* owner,
                                         int penWidth, CRegionObject** region)
    : CCroppedFrameSource(inner, std::make_unique<CRegionObject>(owner), penWidth, region) {}

CCroppedFrameSource::CCroppedFrameSource(const CFrameSourcePtr& inner,
                                         std::unique_ptr<CRegionObject> region, int penWidth,
                                         CRegionObject** reported)
    : CRegionFrameSource(inner, region.get()), m_region(std::move(region)) {
    m_region->SetPen(255, 255, 0, penWidth);
    if (reported)
        *reported = m_region.get();
}

CCroppedFrameSource::~CCroppedFrameSource() = default;
