#include "views/DrawBSpline.h"

#include "platform/framework/Archive.h"

IMPLEMENT_SERIAL(CDrawBSpline, CDrawPolygon, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

CDrawBSpline::CDrawBSpline() {
    m_type = kType;
    m_closed = 0;
}
