// The message a second start hands to the running copy over its channel: the files it names,
// in order, each a non-empty path without a NUL, never more of them than the message holds.

#include "fuzz/FuzzSupport.h"
#include "shell/InstanceChannel.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInit();
    const QByteArray message(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList files = CInstanceChannel::DecodeFiles(message);
    if (files.size() > message.count('\0') + 1)
        std::abort();
    for (const QString& file : files) {
        if (file.isEmpty() || file.contains(QChar(0)))
            std::abort();
    }
    return 0;
}
