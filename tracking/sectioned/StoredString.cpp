#include "tracking/sectioned/StoredString.h"

#include "platform/wintypes/Cp1252.h"
#include "tracking/sectioned/LittleEndian.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <vector>

namespace {

// The searches read the file in windows of this size instead of once per offset.
constexpr int64_t kScanWindow = 64 * 1024;

QByteArray TextBytes(const QString& text) {
    QByteArray bytes = UnicodeToCp1252(text);
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return bytes;
}

// Reads until count bytes arrived or the file delivers nothing more.
int64_t ReadFully(CFile& file, char* buffer, int64_t count) {
    int64_t total = 0;
    while (total < count) {
        const UINT n = file.Read(buffer + total, static_cast<UINT>(count - total));
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

bool ReadLengthWord(CFile& file, int32_t* length) {
    uint8_t word[4];
    if (ReadFully(file, reinterpret_cast<char*>(word), 4) != 4)
        return false;
    *length = GetInt32(word);
    return true;
}

// Scans offsets 0 .. lastStart for the first one that holds pattern with at least `need`
// bytes readable from it on. Returns the offset or -1; *lastReadable tells whether `need`
// bytes were readable at lastStart. The position is left where the last read ended.
int64_t Scan(CFile& file, const QByteArray& pattern, int64_t need, int64_t lastStart,
             bool* lastReadable) {
    std::vector<char> window(static_cast<size_t>(kScanWindow + need - 1));
    const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());
    const auto size = static_cast<int64_t>(pattern.size());
    for (int64_t base = 0; base <= lastStart; base += kScanWindow) {
        file.Seek(base, CFile::begin);
        const int64_t want = static_cast<int64_t>(window.size());
        const int64_t got = ReadFully(file, window.data(), want);
        const int64_t lastCandidate = std::min({kScanWindow - 1, got - need, lastStart - base});
        if (lastCandidate >= 0) {
            const auto first = window.begin();
            const auto found = std::search(first, first + lastCandidate + size, searcher);
            if (found - first <= lastCandidate)
                return base + (found - first);
        }
        if (got < want) {
            *lastReadable = lastStart - base <= got - need;
            return -1;
        }
    }
    *lastReadable = true;
    return -1;
}

}  // namespace

void WriteStringToFile(CFile& file, const QString& text) {
    QByteArray body = TextBytes(text);
    body.append('\0');
    uint8_t word[4];
    PutInt32(word, static_cast<int32_t>(body.size()));
    file.Write(word, 4);
    file.Write(body.constData(), static_cast<UINT>(body.size()));
}

bool FindBinaryStoredStringInFile(CFile& file, const QString& text, int64_t* offset) {
    const uint64_t start = file.GetPosition();
    QByteArray pattern = TextBytes(text);
    pattern.append('\0');
    bool lastReadable = false;
    const int64_t found =
        Scan(file, pattern, pattern.size(), std::numeric_limits<int64_t>::max() / 2, &lastReadable);
    if (found < 0)
        return false;
    if (offset)
        *offset = found;
    file.Seek(static_cast<int64_t>(start), CFile::begin);
    return true;
}

bool FindBinaryStoredStringInFile(CFile& file, const QString& text, int64_t bound,
                                  int64_t* offset) {
    if (bound < -1)
        return false;
    const uint64_t start = file.GetPosition();
    const QByteArray pattern = TextBytes(text);
    bool lastReadable = false;
    int64_t found = Scan(file, pattern, pattern.size() + 1, bound + 1, &lastReadable);
    if (found < 0) {
        if (!lastReadable)
            return false;
        found = bound + 1;
    }
    if (offset)
        *offset = found;
    file.Seek(static_cast<int64_t>(start), CFile::begin);
    return true;
}

bool ReadStringFromFile(CFile& file, QString& out) {
    int32_t length = 0;
    if (!ReadLengthWord(file, &length) || length == 0) {
        out.clear();
        return false;
    }
    const uint64_t fileLength = file.GetLength();
    if (static_cast<uint32_t>(length) > fileLength)
        return false;
    // Never allocate for more than the file still holds: such a body cannot be read whole.
    const uint64_t position = file.GetPosition();
    const uint64_t remaining = fileLength > position ? fileLength - position : 0;
    if (length < 0 || static_cast<uint64_t>(length) > remaining) {
        file.SeekToEnd();
        out.clear();
        return false;
    }
    QByteArray body(length, '\0');
    const int64_t got = ReadFully(file, body.data(), length);
    const qsizetype zero = body.indexOf('\0');
    const QByteArray text = body.left(zero >= 0 ? zero : body.size());
    if (got != length || text.size() + 1 != length) {
        out.clear();
        return false;
    }
    out = Cp1252ToUnicode(text);
    return true;
}

bool ReadStringFromFileAndCompare(CFile& file, QString& out, const QString& expected) {
    const QByteArray expectedBytes = TextBytes(expected);
    int32_t length = 0;
    if (!ReadLengthWord(file, &length) || length != expectedBytes.size() + 1) {
        out.clear();
        return false;
    }
    QByteArray body(length, '\0');
    const int64_t got = ReadFully(file, body.data(), length);
    body.truncate(got);
    const qsizetype zero = body.indexOf('\0');
    const QByteArray text = body.left(zero >= 0 ? zero : body.size());
    out = Cp1252ToUnicode(text);
    return got == length && text.size() + 1 == length && text == expectedBytes;
}

bool ReadStringFromFileAndCompare(CFile& file, const QString& expected) {
    QString out;
    return ReadStringFromFileAndCompare(file, out, expected);
}
