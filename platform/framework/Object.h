#pragma once

// CObject and run-time class records: class name, schema, dynamic creation by record or by
// name, and IsKindOf. Classes register themselves with the IMPLEMENT_ macros at start-up.

#include "platform/wintypes/WinTypes.h"

class CArchive;
class CObject;

// Set in a class's schema when its Serialize reads older versions itself: the archive then hands
// it the stored version through CArchive::GetObjectSchema instead of refusing the object.
inline constexpr UINT VERSIONABLE_SCHEMA = 0x80000000;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // 0xFFFF for classes that cannot be serialised.
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // A new object of the class, or nullptr when the class has no default constructor record.
    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;

    // The registered class of that name, or nullptr.
    static const CRuntimeClass* FromName(const char* className);
    static CObject* CreateObject(const char* className);
};

// Adds a class record to the list searched by FromName (used by the IMPLEMENT_ macros).
struct CRuntimeClassRegistration {
    explicit CRuntimeClassRegistration(const CRuntimeClass* cls);
};

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);
    bool IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }
    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

// The shared body of the IMPLEMENT_ macros.
#define RM_IMPLEMENT_RUNTIMECLASS(class_name, base_name, schema, pfnNew)                      \
    const CRuntimeClass class_name::class##class_name = {                                     \
        #class_name, static_cast<int>(sizeof(class_name)), schema, pfnNew,                    \
        RUNTIME_CLASS(base_name)};                                                            \
    static const CRuntimeClassRegistration s_register##class_name(RUNTIME_CLASS(class_name)); \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                \
        return RUNTIME_CLASS(class_name);                                                     \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_name) \
    RM_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name) \
    CObject* class_name::CreateObject() {          \
        return new class_name;                     \
    }                                              \
    RM_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, class_name::CreateObject)

// Serialisable classes: dynamic creation, a schema, and a typed `ar >> pObject` that refuses
// objects of other classes. The .cpp that uses IMPLEMENT_SERIAL includes Archive.h.
#define DECLARE_SERIAL(class_name) \
    DECLARE_DYNCREATE(class_name)  \
    friend CArchive& operator>>(CArchive& ar, class_name*& object);

#define IMPLEMENT_SERIAL(class_name, base_name, schema)                                \
    CObject* class_name::CreateObject() {                                              \
        return new class_name;                                                         \
    }                                                                                  \
    RM_IMPLEMENT_RUNTIMECLASS(class_name, base_name, schema, class_name::CreateObject) \
    [[maybe_unused]] CArchive& operator>>(CArchive& ar, class_name*& object) {         \
        object = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));   \
        return ar;                                                                     \
    }
