#pragma once

// CDeviceVideoStream: a device's video as a read-only AVI stream, so that saving reads live
// video or a held recording the way it reads a file. Frames come from a read callback.

#include "devices/core/DriverApi.h"
#include "platform/media/AviStreamBase.h"

#include <functional>

class CDeviceVideoStream : public CAviStreamBase {
public:
    // Fills buffer (size bytes) with frame: 0, or nonzero when the frame cannot be had.
    using FrameReader = std::function<int(int frame, void* buffer, int64_t size)>;
    // Writes frame's rows at first + i * step (pixels only): 0, kDriverUnsupported, or another
    // nonzero value when the frame cannot be had.
    using RowReader = std::function<int(int frame, BYTE* first, ptrdiff_t step)>;

    // The stream starts with one reference for its creator. Without a reader every read fails;
    // without a row reader frames are read whole.
    CDeviceVideoStream(const DriverImageFormat& format, double rate, int length,
                       FrameReader reader = {}, RowReader rowReader = {});

    static int RowBytes(int width, int bitsPerPixel) { return DriverRowBytes(width, bitsPerPixel); }
    // Info needs at least this many bytes.
    static LONG InfoBytes();

    HRESULT Create(LPARAM param1, LPARAM param2) override;
    HRESULT Info(AviStreamInfo* info, LONG size) override;
    HRESULT ReadFormat(LONG position, void* format, LONG* size) override;
    HRESULT Read(LONG start, LONG samples, void* buffer, LONG bufferSize, LONG* bytesRead,
                 LONG* samplesRead) override;
    HRESULT ReadRows(LONG start, BYTE* first, ptrdiff_t step) override;

    int GetFrameBytes() const {
        return RowBytes(m_format.width, m_format.bitsPerPixel) * m_format.height;
    }

private:
    bool IsColour() const { return m_format.bitsPerPixel == 24; }

    DriverImageFormat m_format;
    double m_rate;
    int m_length;
    FrameReader m_reader;
    RowReader m_rowReader;
};
