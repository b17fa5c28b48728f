#pragma once

// The AVI stream functions over IAVIStream: each one dispatches to the stream's own operation.
// A null stream gives AVIERR_BADHANDLE (or -1 / 0 where the result is a number).

#include "platform/media/AviStream.h"

ULONG AVIStreamAddRef(IAVIStream* stream);
ULONG AVIStreamRelease(IAVIStream* stream);
HRESULT AVIStreamInfo(IAVIStream* stream, AviStreamInfo* info, LONG size);
// The first sample and the number of samples, from the stream's information (-1 on failure).
LONG AVIStreamStart(IAVIStream* stream);
LONG AVIStreamLength(IAVIStream* stream);
LONG AVIStreamFindSample(IAVIStream* stream, LONG position, LONG flags);
HRESULT AVIStreamReadFormat(IAVIStream* stream, LONG position, void* format, LONG* size);
HRESULT AVIStreamRead(IAVIStream* stream, LONG start, LONG samples, void* buffer, LONG bufferSize,
                      LONG* bytesRead, LONG* samplesRead);
