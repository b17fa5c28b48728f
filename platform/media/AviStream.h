#pragma once

// IAVIStream: the interface through which the AVI stream functions read a stream, whether it
// comes from an AVI file or from one of the program's own stream objects (RAW files, image
// sequences, ...). The thirteen operations keep the order the stream functions expect.

#include "platform/com/IUnknown.h"
#include "platform/wintypes/Rect.h"
#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"

#include <cstddef>
#include <memory>

constexpr DWORD MakeFourCC(char a, char b, char c, char d) {
    return static_cast<DWORD>(static_cast<BYTE>(a)) |
           (static_cast<DWORD>(static_cast<BYTE>(b)) << 8) |
           (static_cast<DWORD>(static_cast<BYTE>(c)) << 16) |
           (static_cast<DWORD>(static_cast<BYTE>(d)) << 24);
}

inline constexpr DWORD streamtypeVIDEO = MakeFourCC('v', 'i', 'd', 's');

// FindSample flags: a search type (high nibble) and a direction (low nibble).
inline constexpr LONG FIND_DIR = 0x0000000F;
inline constexpr LONG FIND_NEXT = 0x00000001;
inline constexpr LONG FIND_PREV = 0x00000004;
inline constexpr LONG FIND_FROM_START = 0x00000008;
inline constexpr LONG FIND_TYPE = 0x000000F0;
inline constexpr LONG FIND_KEY = 0x00000010;
inline constexpr LONG FIND_ANY = 0x00000020;
inline constexpr LONG FIND_FORMAT = 0x00000040;

// What a stream says about itself.
struct AviStreamInfo {
    DWORD fccType = 0;
    DWORD fccHandler = 0;
    DWORD flags = 0;
    DWORD caps = 0;
    WORD priority = 0;
    WORD language = 0;
    DWORD scale = 0;
    DWORD rate = 0;  // rate / scale = samples per second
    DWORD start = 0;
    DWORD length = 0;  // in samples (frames)
    DWORD initialFrames = 0;
    DWORD suggestedBufferSize = 0;
    DWORD quality = 0;
    DWORD sampleSize = 0;
    CRect frame;
    DWORD editCount = 0;
    DWORD formatChangeCount = 0;
    char16_t name[64] = {};
};

class IAVIStream : public IUnknown {
public:
    static constexpr IID kIid = GuidLiteral("{00020021-0000-0000-C000-000000000046}");
    using BaseInterface = IUnknown;

    virtual HRESULT Create(LPARAM param1, LPARAM param2) = 0;
    // AVIERR_BUFFERTOOSMALL when size is below sizeof(AviStreamInfo).
    virtual HRESULT Info(AviStreamInfo* info, LONG size) = 0;
    virtual LONG FindSample(LONG position, LONG flags) = 0;
    // With no buffer or *size == 0, *size becomes the bytes the format needs.
    virtual HRESULT ReadFormat(LONG position, void* format, LONG* size) = 0;
    virtual HRESULT SetFormat(LONG position, void* format, LONG size) = 0;
    // With no buffer or bufferSize == 0, *bytesRead becomes the bytes one sample needs.
    virtual HRESULT Read(LONG start, LONG samples, void* buffer, LONG bufferSize, LONG* bytesRead,
                         LONG* samplesRead) = 0;
    // Frame start as Read gives it, but with row i (in the order of the format's height sign)
    // written at first + i * step and only its pixels (width × bits rounded up to bytes), so
    // that a reader can put the rows straight where they are shown. Nothing is written for a
    // frame the stream knows it cannot read. Streams without it answer AVIERR_UNSUPPORTED and
    // are read through Read.
    virtual HRESULT ReadRows(LONG start, BYTE* first, ptrdiff_t step) {
        (void)start;
        (void)first;
        (void)step;
        return AVIERR_UNSUPPORTED;
    }
    // Frame start's rows where the stream keeps them in memory shared with its file, to be read
    // and never written: *top the top row of the upright picture, *stride the distance between
    // rows (the frame's padded row), and *keeper an owner that keeps the memory valid for as
    // long as it is held. Streams that cannot, or not for this frame, answer AVIERR_UNSUPPORTED
    // (or another failure) and are read through ReadRows or Read.
    virtual HRESULT MapRows(LONG start, const BYTE** top, ptrdiff_t* stride,
                            std::shared_ptr<const void>* keeper) {
        (void)start;
        (void)top;
        (void)stride;
        (void)keeper;
        return AVIERR_UNSUPPORTED;
    }
    virtual HRESULT Write(LONG start, LONG samples, const void* buffer, LONG bufferSize,
                          DWORD flags, LONG* samplesWritten, LONG* bytesWritten) = 0;
    virtual HRESULT Delete(LONG start, LONG samples) = 0;
    virtual HRESULT ReadData(DWORD fcc, void* buffer, LONG* size) = 0;
    virtual HRESULT WriteData(DWORD fcc, const void* buffer, LONG size) = 0;

protected:
    ~IAVIStream() = default;
};

inline constexpr IID IID_IAVIStream = IAVIStream::kIid;
