#include "frames/SaveAviFrameSource.h"

#include "frames/FrameSource.h"
#include "platform/media/AviSaveGraph.h"

#include <cstring>

CSaveAviFrameSource::CSaveAviFrameSource(CFrameSource* source, const CSaveVideoParams* params)
    : m_source(source), m_params(params), m_lastFrame(params ? params->m_lastFrame : -1) {
    Reset();
}

void CSaveAviFrameSource::Reset() {
    m_currentFrame.store(m_params ? m_params->m_firstFrame : 0);
    m_endReached.store(false);
    m_abort.store(false);
    m_readFailed.store(false);
}

int CSaveAviFrameSource::GetFrame(int, BYTE* buffer, int size) {
    if (Aborted())
        return 1;
    const int frame = m_currentFrame.load();
    if (frame > m_lastFrame) {
        m_endReached.store(true);
        return 1;
    }
    const int targetBits = m_params->m_pixelFormat == imaging::PixelFormat8bppIndexed ? 8 : 24;
    if (!m_source || !buffer || !m_source->GetFrame(frame, &m_image, 0) ||
        !CopyBottomUp(m_image, targetBits, buffer, size)) {
        m_readFailed.store(true);
        return 1;
    }
    m_currentFrame.store(frame + m_params->Step());
    return 0;
}

bool CSaveAviFrameSource::CopyBottomUp(CFrameImage& image, int targetBits, BYTE* buffer, int size) {
    const int width = static_cast<int>(image.GetWidth());
    const int height = static_cast<int>(image.GetHeight());
    const int64_t stride = CAviSaveGraph::FrameBytes(width, 1, targetBits);
    if (width <= 0 || height <= 0 || stride * height > size)
        return false;
    imaging::Bitmap* bitmap = image.GetBitmap();
    const imaging::PixelFormat own = bitmap->GetPixelFormat();
    const bool indexed = own == imaging::PixelFormat8bppIndexed;
    imaging::BitmapData data;
    if (!image.LockBits(nullptr, imaging::ImageLockModeRead,
                        indexed ? own : imaging::PixelFormat24bppRGB, &data))
        return false;
    const imaging::ColorPalette& palette = image.GetPalette();
    const size_t rowBytes = static_cast<size_t>(width) * (targetBits / 8);
    for (int y = 0; y < height; ++y) {
        const BYTE* from = static_cast<const BYTE*>(data.Scan0) + int64_t{y} * data.Stride;
        BYTE* to = buffer + (height - 1 - y) * stride;
        // The buffer may be fresh memory: the padding of each row is written too.
        std::memset(to + rowBytes, 0, static_cast<size_t>(stride) - rowBytes);
        if (indexed == (targetBits == 8)) {
            std::memcpy(to, from, static_cast<size_t>(width) * (indexed ? 1 : 3));
        } else if (indexed) {
            for (int x = 0; x < width; ++x) {
                const imaging::ARGB c = from[x] < palette.Count ? palette.Entries[from[x]] : 0;
                to[3 * x] = static_cast<BYTE>(c);
                to[3 * x + 1] = static_cast<BYTE>(c >> 8);
                to[3 * x + 2] = static_cast<BYTE>(c >> 16);
            }
        } else {
            for (int x = 0; x < width; ++x)
                to[x] = static_cast<BYTE>((from[3 * x] + from[3 * x + 1] + from[3 * x + 2]) / 3);
        }
    }
    image.UnlockBits(&data);
    return true;
}
