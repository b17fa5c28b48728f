#include "views/CloneDrawObject.h"

#include "views/DrawArc.h"
#include "views/DrawBSpline.h"
#include "views/DrawDimAngle.h"
#include "views/DrawDimLength.h"
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
    // The exact class decides: a class built on one of these (a caliper on the length
    // dimension, a B-spline on the polygon) would lose its own values in a copy of its base.
    const CRuntimeClass* cls = source->GetRuntimeClass();
    if (cls == RUNTIME_CLASS(CDrawLine))
        return CloneAs<CDrawLine>(*source);
    if (cls == RUNTIME_CLASS(CDrawRect))
        return CloneAs<CDrawRect>(*source);
    if (cls == RUNTIME_CLASS(CDrawEllipse))
        return CloneAs<CDrawEllipse>(*source);
    if (cls == RUNTIME_CLASS(CDrawBSpline))
        return CloneAs<CDrawBSpline>(*source);
    if (cls == RUNTIME_CLASS(CDrawPolygon))
        return CloneAs<CDrawPolygon>(*source);
    if (cls == RUNTIME_CLASS(CDrawText))
        return CloneAs<CDrawText>(*source);
    if (cls == RUNTIME_CLASS(CDrawDimLength))
        return CloneAs<CDrawDimLength>(*source);
    if (cls == RUNTIME_CLASS(CDrawDimAngle))
        return CloneAs<CDrawDimAngle>(*source);
    if (cls == RUNTIME_CLASS(CDrawArc))
        return CloneAs<CDrawArc>(*source);
    return nullptr;
}
