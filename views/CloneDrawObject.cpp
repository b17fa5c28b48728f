#include "views/CloneDrawObject.h"

#include "views/DrawBSpline.h"
#include "views/DrawEllipse.h"
#include "views/DrawLine.h"
#include "views/DrawPolygon.h"
#include "views/DrawRect.h"
#include "views/DrawText.h"

#include <memory>

namespace {

template <typename T>
CDrawObject* CloneAs(const CDrawObject& source) {
    auto copy = std::make_unique<T>();
    copy->CopyFrom(static_cast<const T&>(source));
    return copy.release();
}

}  // namespace

CDrawObject* CloneDrawObject(const CDrawObject* source) {
    if (!source)
        return nullptr;
    // The B-spline is tested before the polygon it derives from.
    if (source->IsKindOf(RUNTIME_CLASS(CDrawLine)))
        return CloneAs<CDrawLine>(*source);
    if (source->IsKindOf(RUNTIME_CLASS(CDrawRect)))
        return CloneAs<CDrawRect>(*source);
    if (source->IsKindOf(RUNTIME_CLASS(CDrawEllipse)))
        return CloneAs<CDrawEllipse>(*source);
    if (source->IsKindOf(RUNTIME_CLASS(CDrawBSpline)))
        return CloneAs<CDrawBSpline>(*source);
    if (source->IsKindOf(RUNTIME_CLASS(CDrawPolygon)))
        return CloneAs<CDrawPolygon>(*source);
    if (source->IsKindOf(RUNTIME_CLASS(CDrawText)))
        return CloneAs<CDrawText>(*source);
    return nullptr;
}
