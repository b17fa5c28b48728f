#include "frames/SaveVideoParams.h"

#include "platform/media/VideoCompressors.h"

#include <algorithm>

namespace {

// name up to the last '.' of its last path component, or the whole name when that component
// has none or only a leading one (a '.' in a folder name is no extension).
QString WithoutLastDot(const QString& name) {
    const qsizetype component = std::max(name.lastIndexOf('/'), name.lastIndexOf('\\')) + 1;
    const qsizetype dot = name.lastIndexOf('.');
    return dot > component ? name.left(dot) : name;
}

}  // namespace

void CSaveVideoParams::SetDefaults() {
    m_sourcePath.clear();
    m_outputPath.clear();
    m_outputStem.clear();
    m_firstWrittenFile.clear();
    m_codecName = QString::fromLatin1(kNoCompression);
    m_firstFrame = -1;
    m_lastFrame = -1;
    m_zeroOffset = 0;
    m_skip = 0;
    m_reserved = -1;
    m_digits = -1;
    m_outputKind = kAvi;
    m_imageType = kBmp;
    m_pixelFormat = 0;
    m_quiet = 0;
    m_region1 = CRect();
    m_region2 = CRect();
    m_tag = 0;
    m_doneCallback = nullptr;
    m_progress = nullptr;
    m_progressCookie = nullptr;
    m_notify = 1;
    m_notifyTag = 0;
}

QString CSaveVideoParams::ImageExtension(int imageType) {
    switch (imageType) {
        case kBmp:
            return QStringLiteral(".bmp");
        case kTiff:
            return QStringLiteral(".tif");
        case kJpeg:
            return QStringLiteral(".jpg");
        default:
            return {};
    }
}

void CSaveVideoParams::SetOutputFormat(const QString& name, int kind, int imageType, int first,
                                       int last, int skip, int reserved, int tag) {
    m_outputKind = kind;
    m_imageType = imageType;
    m_outputStem = m_outputPath;
    switch (kind) {
        case kAvi:
            m_outputStem = WithoutLastDot(name);
            m_outputPath = m_outputStem + QStringLiteral(".avi");
            break;
        case kSequence: {
            m_outputStem = WithoutLastDot(name);
            const QString extension = ImageExtension(imageType);
            if (!extension.isEmpty())
                m_outputPath = m_outputStem + extension;
            m_outputStem += '_';
            break;
        }
        case kBatch: {
            const qsizetype bracket = name.lastIndexOf('[');
            m_outputStem = bracket >= 0 ? name.left(bracket) : WithoutLastDot(name);
            m_outputPath = m_outputStem + QStringLiteral("[*].pvi");
            break;
        }
        case kDataFile:
            m_outputStem = WithoutLastDot(name);
            m_outputPath = m_outputStem + QStringLiteral(".mdat");
            break;
        default:
            break;
    }
    m_firstFrame = first;
    m_lastFrame = last;
    m_skip = skip;
    m_reserved = reserved;
    m_tag = tag;
}
