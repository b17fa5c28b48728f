#include "views/DrawObjectTypes.h"

#include "views/DrawArc.h"
#include "views/DrawBSpline.h"
#include "views/DrawCalipers.h"
#include "views/DrawDimAngle.h"
#include "views/DrawDimLength.h"
#include "views/DrawEllipse.h"
#include "views/DrawInfo.h"
#include "views/DrawJumpNote.h"
#include "views/DrawLengthCalibration.h"
#include "views/DrawLine.h"
#include "views/DrawObject.h"
#include "views/DrawPolygon.h"
#include "views/DrawRect.h"
#include "views/DrawSlider.h"
#include "views/DrawText.h"
#include "views/MeasurePointNote.h"

#include <cstring>

namespace DrawObjectTypes {

namespace {

const char* const kStoredClassNames[] = {
    "CDrawLine",    "CDrawRect",      "CDrawEllipse",           "CDrawPolygon",
    "CDrawBSpline", "CDrawText",      "CDrawDimLength",         "CDrawDimAngle",
    "CDrawArc",     "CDrawCalipersB", "CDrawLengthCalibration", "CDrawJumpNote",
    "CDrawSlider",  "CDrawInfo",      "CDrawJumpNote",          "CDrawCalipersB",
};

// The classes of this library, named here so that a program linking the library statically
// always carries their class records (the archive finds classes by name only).
const CRuntimeClass* const kLinkedClasses[] = {
    RUNTIME_CLASS(CDrawLine),
    RUNTIME_CLASS(CDrawRect),
    RUNTIME_CLASS(CDrawEllipse),
    RUNTIME_CLASS(CDrawPolygon),
    RUNTIME_CLASS(CDrawBSpline),
    RUNTIME_CLASS(CDrawText),
    RUNTIME_CLASS(CDrawDimLength),
    RUNTIME_CLASS(CDrawDimAngle),
    RUNTIME_CLASS(CDrawArc),
    RUNTIME_CLASS(CDrawCalipersB),
    RUNTIME_CLASS(CDrawLengthCalibration),
    RUNTIME_CLASS(CDrawJumpNote),
    RUNTIME_CLASS(CDrawSlider),
    RUNTIME_CLASS(CDrawInfo),
};

const CRuntimeClass* FindClass(const char* name) {
    for (const CRuntimeClass* cls : kLinkedClasses) {
        if (std::strcmp(cls->m_lpszClassName, name) == 0)
            return cls;
    }
    return CRuntimeClass::FromName(name);
}

}  // namespace

const char* StoredClassName(int type) {
    if (type < kFirstType || type > kLastType)
        return nullptr;
    return kStoredClassNames[type - kFirstType];
}

CDrawObject* CreateOfType(int type) {
    // Types 15 and 16 have no stored class of their own.
    if (type == CMeasurePointNote::kType)
        return new CMeasurePointNote;
    if (type == CDrawCalipers::kType)
        return new CDrawCalipers;
    return CreateOfStoredClass(type);
}

CDrawObject* CreateOfStoredClass(int type) {
    const char* name = StoredClassName(type);
    const CRuntimeClass* cls = name ? FindClass(name) : nullptr;
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CDrawObject)))
        return nullptr;
    return static_cast<CDrawObject*>(cls->CreateObject());
}

}  // namespace DrawObjectTypes
