#pragma once

// CDrawPropertiesHandler: what a drawing object calls to let the user edit its properties; the
// object owns its handler and deletes it.

class CDrawObject;

class CDrawPropertiesHandler {
public:
    virtual ~CDrawPropertiesHandler() = default;
    virtual void ShowProperties(CDrawObject* object) = 0;
};
