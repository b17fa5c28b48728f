#pragma once

// CAviStreamBase: what every stream object of the program shares: the interface query, the
// reference count (the last Release deletes the object), the search rule of streams whose
// every frame is a key frame, and the operations no reader supports.

#include "platform/media/AviStream.h"

class CAviStreamBase : public IAVIStream {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    LONG FindSample(LONG position, LONG flags) override;
    HRESULT SetFormat(LONG position, void* format, LONG size) override;
    HRESULT Write(LONG start, LONG samples, const void* buffer, LONG bufferSize, DWORD flags,
                  LONG* samplesWritten, LONG* bytesWritten) override;
    HRESULT Delete(LONG start, LONG samples) override;
    HRESULT ReadData(DWORD fcc, void* buffer, LONG* size) override;
    HRESULT WriteData(DWORD fcc, const void* buffer, LONG size) override;

protected:
    CAviStreamBase() = default;
    virtual ~CAviStreamBase() = default;
    CAviStreamBase(const CAviStreamBase&) = delete;
    CAviStreamBase& operator=(const CAviStreamBase&) = delete;

    ULONG m_refCount = 0;
};
