#include "tracking/FrameSourceAdapter.h"

#include "platform/imaging/BitmapData.h"

#include <cstring>

bool CFrameSourceAdapter::GoToFrame(int index) {
    CFrameSource* source = m_source.Get();
    if (!source || index < 0 || index >= source->GetFrameCount()) {
        m_frame = -1;
        return false;
    }
    if (index == m_frame && source->GetFilePath() == m_framePath)
        return true;
    m_frame = -1;
    // The read is forced: after a failed read the source counts the frame as current and would
    // hand out the picture it held before.
    if (!source->MoveToFrame(index, 0, 1) || !source->GetFrame(index, &m_image, 0) ||
        !ConvertFrame())
        return false;
    m_frame = index;
    m_framePath = source->GetFilePath();
    return true;
}

const CDib* CFrameSourceAdapter::GetFrame() {
    return m_frame >= 0 ? &m_dib : nullptr;
}

bool CFrameSourceAdapter::ConvertFrame() {
    const imaging::Bitmap* bitmap = m_image.GetBitmap();
    if (!bitmap)
        return false;
    const bool indexed = bitmap->GetPixelFormat() == imaging::PixelFormat8bppIndexed;
    const int bitCount = indexed ? 8 : 24;
    imaging::BitmapData data;
    if (!m_image.LockBits(nullptr, imaging::ImageLockModeRead,
                          indexed ? imaging::PixelFormat8bppIndexed : imaging::PixelFormat24bppRGB,
                          &data))
        return false;
    const int width = static_cast<int>(data.Width);
    const int height = static_cast<int>(data.Height);
    CSize size;
    m_dib.GetSize(&size);
    const bool reuse = m_dib.GetHeader() && size == CSize(width, height) &&
                       m_dib.GetHeader()->biBitCount == bitCount;
    const bool ok = reuse || m_dib.Create(nullptr, width, height, bitCount);
    if (ok) {
        const size_t rowBytes = static_cast<size_t>(bitCount / 8) * static_cast<size_t>(width);
        const size_t dibStride = (rowBytes + 3) & ~size_t{3};
        // The bitmap's rows run top to bottom, the DIB's bottom to top.
        const auto* top = static_cast<const BYTE*>(data.Scan0);
        for (int y = 0; y < height; ++y)
            std::memcpy(m_dib.GetBits() + dibStride * static_cast<size_t>(height - 1 - y),
                        top + static_cast<ptrdiff_t>(y) * data.Stride, rowBytes);
    }
    m_image.UnlockBits(&data);
    return ok;
}
