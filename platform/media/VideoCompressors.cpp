#include "platform/media/VideoCompressors.h"

#include <atomic>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace {

struct Compressor {
    const char* friendlyName;
    const char* encoder;
};

// The assistant's warnings match these names ("MJPEG", "MPEG", "264").
constexpr Compressor kCompressors[] = {
    {"Motion JPEG (MJPEG)", "mjpeg"},  {"FFV1 Lossless", "ffv1"},   {"Huffyuv Lossless", "huffyuv"},
    {"MPEG-4 Part 2 (MPEG)", "mpeg4"}, {"H.264 (x264)", "libx264"},
};

std::atomic<bool> s_noneForTests{false};

bool Available(const char* encoder) {
    return !s_noneForTests.load() && avcodec_find_encoder_by_name(encoder) != nullptr;
}

}  // namespace

QStringList VideoCompressorNames() {
    QStringList names{QString::fromLatin1(kNoCompression)};
    for (const Compressor& c : kCompressors) {
        if (Available(c.encoder))
            names.append(QString::fromLatin1(c.friendlyName));
    }
    return names;
}

QString VideoCompressorEncoder(const QString& friendlyName) {
    for (const Compressor& c : kCompressors) {
        if (friendlyName == QLatin1String(c.friendlyName) && Available(c.encoder))
            return QString::fromLatin1(c.encoder);
    }
    return {};
}

void SetNoVideoCompressorsForTests(bool none) {
    s_noneForTests.store(none);
}
