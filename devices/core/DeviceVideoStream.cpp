#include "devices/core/DeviceVideoStream.h"

#include "platform/wintypes/BitmapInfo.h"

#include <algorithm>
#include <cmath>
#include <cstring>

CDeviceVideoStream::CDeviceVideoStream(const DriverImageFormat& format, double rate, int length,
                                       FrameReader reader, RowReader rowReader)
    : m_format(format),
      m_rate(rate),
      m_length(length),
      m_reader(std::move(reader)),
      m_rowReader(std::move(rowReader)) {
    if (!m_reader)
        m_reader = [](int, void*, int64_t) { return -1; };
    m_refCount = 1;
}

LONG CDeviceVideoStream::InfoBytes() {
    // The stream information block of this platform is larger than the 140 bytes the readers of
    // other platforms give; a smaller buffer would be overrun.
    return std::max<LONG>(140, sizeof(AviStreamInfo));
}

HRESULT CDeviceVideoStream::Create(LPARAM, LPARAM) {
    return AVIERR_UNSUPPORTED;
}

HRESULT CDeviceVideoStream::Info(AviStreamInfo* info, LONG size) {
    if (!info || size < InfoBytes())
        return AVIERR_BUFFERTOOSMALL;
    *info = AviStreamInfo();
    info->fccType = streamtypeVIDEO;
    info->fccHandler = MakeFourCC('C', 'a', 'm', 'r');
    info->scale = 1;
    info->rate = static_cast<DWORD>(std::lround(std::max(0.0, m_rate)));
    info->length = static_cast<DWORD>(std::max(0, m_length));
    info->frame = CRect(0, 0, m_format.width, m_format.height);
    const char16_t name[] = u"Camera video";
    std::copy(std::begin(name), std::end(name), info->name);
    return AVIERR_OK;
}

HRESULT CDeviceVideoStream::ReadFormat(LONG, void* format, LONG* size) {
    if (!size)
        return AVIERR_BADPARAM;
    const LONG needed = static_cast<LONG>(sizeof(BITMAPINFOHEADER)) + (IsColour() ? 0 : 256 * 4);
    if (!format || *size == 0) {
        *size = needed;
        return AVIERR_OK;
    }
    if (*size < needed)
        return AVIERR_BUFFERTOOSMALL;
    BITMAPINFOHEADER header;
    header.biWidth = m_format.width;
    header.biHeight = m_format.height;
    header.biPlanes = 1;
    header.biBitCount = IsColour() ? 24 : 8;
    header.biSizeImage = static_cast<DWORD>(GetFrameBytes());
    header.biClrUsed = IsColour() ? 0 : 256;
    auto* bytes = static_cast<unsigned char*>(format);
    std::memcpy(bytes, &header, sizeof(header));
    if (!IsColour()) {
        unsigned char* palette = bytes + sizeof(header);
        for (int i = 0; i < 256; ++i) {
            palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] =
                static_cast<unsigned char>(i);
            palette[4 * i + 3] = 0;
        }
    }
    *size = needed;
    return AVIERR_OK;
}

HRESULT CDeviceVideoStream::ReadRows(LONG start, BYTE* first, ptrdiff_t step) {
    if (!m_rowReader)
        return AVIERR_UNSUPPORTED;
    if (start < 0 || start >= m_length || !first)
        return AVIERR_BADPARAM;
    const int read = m_rowReader(start, first, step);
    return read == 0                    ? AVIERR_OK
           : read == kDriverUnsupported ? AVIERR_UNSUPPORTED
                                        : AVIERR_FILEREAD;
}

HRESULT CDeviceVideoStream::Read(LONG start, LONG, void* buffer, LONG bufferSize, LONG* bytesRead,
                                 LONG* samplesRead) {
    if (start < 0 || start >= m_length)
        return AVIERR_BADPARAM;
    const LONG frameBytes = GetFrameBytes();
    if (buffer && bufferSize != 0) {
        if (bufferSize < frameBytes)
            return AVIERR_BUFFERTOOSMALL;
        if (m_reader(start, buffer, frameBytes) != 0)
            return AVIERR_FILEREAD;
    }
    if (bytesRead)
        *bytesRead = frameBytes;
    if (samplesRead)
        *samplesRead = 1;
    return AVIERR_OK;
}
