#include "platform/media/AviStreamBase.h"

#include "platform/wintypes/Assert.h"

HRESULT CAviStreamBase::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IAVIStream) {
        *object = static_cast<IAVIStream*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CAviStreamBase::AddRef() {
    return ++m_refCount;
}

ULONG CAviStreamBase::Release() {
    if (!RM_ASSERT(m_refCount > 0))
        return 0;
    const ULONG count = --m_refCount;
    if (count == 0)
        delete this;
    return count;
}

LONG CAviStreamBase::FindSample(LONG position, LONG flags) {
    if ((flags & FIND_TYPE) != FIND_FORMAT)
        return position;  // every frame is a key frame
    if ((flags & FIND_DIR) == FIND_NEXT)
        return position > 0 ? -1 : 0;  // the format never changes after the start
    return 0;
}

HRESULT CAviStreamBase::SetFormat(LONG, void*, LONG) {
    return AVIERR_UNSUPPORTED;
}

HRESULT CAviStreamBase::Write(LONG, LONG, const void*, LONG, DWORD, LONG*, LONG*) {
    return AVIERR_UNSUPPORTED;
}

HRESULT CAviStreamBase::Delete(LONG, LONG) {
    return AVIERR_UNSUPPORTED;
}

HRESULT CAviStreamBase::ReadData(DWORD, void*, LONG*) {
    return AVIERR_UNSUPPORTED;
}

HRESULT CAviStreamBase::WriteData(DWORD, const void*, LONG) {
    return AVIERR_UNSUPPORTED;
}
