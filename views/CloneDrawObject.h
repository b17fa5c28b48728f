#pragma once

// Copies a drawing object into a new object of the same class.

class CDrawObject;

// A new object of the source's class with the same values, owned by the caller; nullptr for a
// null source or a class it does not know (a class built on a known one included).
CDrawObject* CloneDrawObject(const CDrawObject* source);
