#pragma once

// Small helpers of the tracking tests: whole-file bytes and a builder for expected file images.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>

inline void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

inline QByteArray ReadFileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Builds an expected byte image field by field, little-endian.
class Bytes {
public:
    Bytes& Int32(int32_t v) {
        for (int i = 0; i < 4; ++i)
            m_bytes.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    // A stored string: length word (text + 1), text, zero byte.
    Bytes& Stored(const QByteArray& text) {
        Int32(static_cast<int32_t>(text.size() + 1));
        m_bytes.append(text);
        m_bytes.append('\0');
        return *this;
    }
    Bytes& Raw(const QByteArray& bytes) {
        m_bytes.append(bytes);
        return *this;
    }
    const QByteArray& Get() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
