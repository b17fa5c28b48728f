#pragma once

// CGdiObject: the common base of the pens, brushes, fonts, bitmaps and regions that a device
// context selects. Each object is a small value that knows whether it has been created, the
// way a handle would be set or null.

#include "platform/framework/Object.h"

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)

public:
    // Non-null while the object is created; null before its Create call and after
    // DeleteObject.
    const void* GetSafeHandle() const { return m_created ? this : nullptr; }

    // Returns the object to its uncreated state; FALSE when it was not created.
    BOOL DeleteObject();

protected:
    CGdiObject() = default;
    void MarkCreated() { m_created = true; }
    // Lets each kind of object drop its data when it is deleted.
    virtual void Reset() {}

private:
    bool m_created = false;
};
