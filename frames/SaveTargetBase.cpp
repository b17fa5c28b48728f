#include "frames/SaveTargetBase.h"

#include "frames/FileNames.h"

#include <algorithm>
#include <cmath>

int CSaveTargetBase::SetOutputName(CSaveVideoParams* params, const QString& folder,
                                   const QString& fileName) {
    if (!params)
        return 1;
    QString path = folder.isEmpty() ? fileName : folder + QLatin1Char('/') + fileName;
    if (GetFileExtension(fileName).isEmpty()) {
        const QString extension = GetFileExtension(params->m_outputPath);
        if (!extension.isEmpty())
            path += QLatin1Char('.') + extension;
    }
    params->m_outputPath = path;
    params->SetOutputFormat(path, params->m_outputKind, params->m_imageType, params->m_firstFrame,
                            params->m_lastFrame, params->m_skip, params->m_reserved, params->m_tag);
    return 1;
}

int CSaveTargetBase::SetRange(CSaveVideoParams* params, int first, int last) {
    if (params) {
        params->m_firstFrame = first;
        params->m_lastFrame = last;
    }
    return 1;
}

HRESULT CSaveTargetBase::MapFrameRange(double rate, int offset, int count, double refRate, int last,
                                       int first, int* outFirst, int* outLast) {
    if (!outFirst || !outLast)
        return E_FAIL;
    // An unknown or broken rate on either side maps frame to frame.
    const double ratio = rate > 0 && refRate > 0 ? rate / refRate : 1.0;
    const int64_t mappedFirst = static_cast<int64_t>(std::floor(first * ratio)) + offset;
    int64_t mappedLast =
        ratio <= 1.0 ? static_cast<int64_t>(std::floor(last * ratio)) + offset
                     : static_cast<int64_t>(std::ceil((int64_t{last} + 1) * ratio)) + offset - 1;
    if (mappedLast >= count)
        mappedLast = int64_t{count} - 1;
    *outFirst = static_cast<int>(std::max<int64_t>(mappedFirst, 0));
    *outLast = static_cast<int>(std::max<int64_t>(mappedLast, INT32_MIN));
    return S_OK;
}

int64_t CSaveTargetBase::FramesInRange(int first, int last, int count) {
    if (last < 0)
        last = count - 1;
    const int64_t n = int64_t{last} - std::max(first, 0) + 1;
    return n < 1 ? 0 : n;
}
