#include "views/VidViewRegionAdapter.h"

#include "frames/IFrameWindowAdapter.h"
#include "frames/IRegion.h"
#include "frames/RegionFrameSource.h"
#include "frames/RegionObject.h"
#include "views/ZoomTransformMap.h"

CVidViewRegionAdapter::~CVidViewRegionAdapter() {
    Release();
}

void CVidViewRegionAdapter::ForgetChannel(IIdUnknown* object) {
    if (auto* region = QueryId<IRegion>(object))
        region->SetMapperHost(nullptr);
}

HRESULT CVidViewRegionAdapter::CreateCropped(const CFrameSourcePtr& inner, int penWidth,
                                             IIdUnknown** region) {
    CRegionObject* made = nullptr;
    auto* source = new CCroppedFrameSource(inner, this, penWidth, &made);
    made->SetMapperHost(this);
    Keep(source, made, made, made, region);
    return S_OK;
}

HRESULT CVidViewRegionAdapter::OpenFor(IIdUnknown* asker, const QString& title) {
    auto* region = QueryId<IRegion>(asker);
    if (!region || !Host())
        return S_OK;
    CFrameSourcePtr source;
    region->GetSource(&source);
    Host()->ShowVideo(source, title);
    return S_OK;
}

HRESULT CVidViewRegionAdapter::GetSource(int, CFrameSourcePtr* out, IIdUnknown** region) {
    if (!out && !region)
        return E_POINTER;
    if (region)
        *region = Channel();
    if (out)
        *out = Source();
    return S_OK;
}

HRESULT CVidViewRegionAdapter::GetImageMap(IImageToWindowMap** out) {
    return CZoomTransformMap::OfStreamDisplay(m_view, out);
}
