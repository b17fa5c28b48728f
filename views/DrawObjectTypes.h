#pragma once

// The drawing-object type codes with the class names under which the annotation file stores
// them. Types 15 and 16 are stored as their bases and come back as types 12 and 10.

#include <QString>

class CDrawObject;

namespace DrawObjectTypes {

inline constexpr int kFirstType = 1;
inline constexpr int kLastType = 16;

// The stored class name of a type code; nullptr for an unknown code.
const char* StoredClassName(int type);

// A new object of the type's stored class, owned by the caller; nullptr for an unknown code or
// a class this program does not have.
CDrawObject* CreateOfStoredClass(int type);

// A new object of the type code itself (15 and 16 included), owned by the caller; nullptr
// for an unknown code.
CDrawObject* CreateOfType(int type);

}  // namespace DrawObjectTypes
