#include "platform/media/AviStreamFunctions.h"

ULONG AVIStreamAddRef(IAVIStream* stream) {
    return stream ? stream->AddRef() : 0;
}

ULONG AVIStreamRelease(IAVIStream* stream) {
    return stream ? stream->Release() : 0;
}

HRESULT AVIStreamInfo(IAVIStream* stream, AviStreamInfo* info, LONG size) {
    return stream ? stream->Info(info, size) : AVIERR_BADHANDLE;
}

LONG AVIStreamStart(IAVIStream* stream) {
    AviStreamInfo info;
    if (AVIStreamInfo(stream, &info, sizeof info) != AVIERR_OK)
        return -1;
    return static_cast<LONG>(info.start);
}

LONG AVIStreamLength(IAVIStream* stream) {
    AviStreamInfo info;
    if (AVIStreamInfo(stream, &info, sizeof info) != AVIERR_OK)
        return -1;
    return static_cast<LONG>(info.length);
}

LONG AVIStreamFindSample(IAVIStream* stream, LONG position, LONG flags) {
    return stream ? stream->FindSample(position, flags) : -1;
}

HRESULT AVIStreamReadFormat(IAVIStream* stream, LONG position, void* format, LONG* size) {
    return stream ? stream->ReadFormat(position, format, size) : AVIERR_BADHANDLE;
}

HRESULT AVIStreamRead(IAVIStream* stream, LONG start, LONG samples, void* buffer, LONG bufferSize,
                      LONG* bytesRead, LONG* samplesRead) {
    return stream ? stream->Read(start, samples, buffer, bufferSize, bytesRead, samplesRead)
                  : AVIERR_BADHANDLE;
}
