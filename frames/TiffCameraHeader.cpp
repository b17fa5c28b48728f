#include "frames/TiffCameraHeader.h"

namespace {

constexpr int kSearchFrom = 128;
constexpr int kSearchWords = 65;  // the word at 128 and at most 64 more
constexpr int kBlockBytes = 1024;

int FromBcd(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return (value >> 4) * 10 + (value & 0x0F);
}

}  // namespace

bool ReadTiffCameraHeader(const QByteArray& bytes, TiffCameraHeader* header) {
    static const char kMarker[] = {0, 0, 23, static_cast<char>(133)};
    for (int word = 0; word < kSearchWords; ++word) {
        const qsizetype at = kSearchFrom + 4 * qsizetype{word};
        if (at + 4 > bytes.size())
            return false;
        if (bytes.mid(at, 4) != QByteArray::fromRawData(kMarker, 4))
            continue;
        const qsizetype blockAt = at + 4;
        if (blockAt + kBlockBytes > bytes.size())
            return false;
        const QByteArray block = bytes.mid(blockAt, kBlockBytes);
        const int nameBytes = block[0] == 'M' ? 8 : 10;
        QByteArray name = block.left(nameBytes);
        // A name shorter than its field ends at its first NUL.
        if (const qsizetype end = name.indexOf('\0'); end >= 0)
            name.truncate(end);
        header->name = QString::fromLatin1(name).trimmed();
        const char* date = block.constData() + nameBytes;
        header->year = FromBcd(date[0]);
        header->month = FromBcd(date[1]);
        header->day = FromBcd(date[2]);
        header->hour = FromBcd(date[3]);
        header->minute = FromBcd(date[4]);
        header->second = FromBcd(date[5]);
        header->block = block;
        return true;
    }
    return false;
}
