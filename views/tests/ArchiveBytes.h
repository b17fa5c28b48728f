#pragma once

// Builds archive bytes by hand, field by field, for golden comparisons, and runs objects
// through real archive files.

#include "platform/framework/Archive.h"
#include "platform/framework/File.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstring>
#include <memory>

class ArchiveBytes {
public:
    ArchiveBytes& U8(uint8_t v) {
        m_bytes.append(static_cast<char>(v));
        return *this;
    }
    ArchiveBytes& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    ArchiveBytes& I32(int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        return U16(u & 0xFFFF).U16(u >> 16);
    }
    ArchiveBytes& F64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i)
            U8(static_cast<uint8_t>(bits >> (8 * i)));
        return *this;
    }
    ArchiveBytes& Raw(const QByteArray& bytes) {
        m_bytes.append(bytes);
        return *this;
    }
    // A short narrow string: one length byte, then the bytes.
    ArchiveBytes& Str(const QByteArray& bytes) {
        return U8(static_cast<uint8_t>(bytes.size())).Raw(bytes);
    }
    // The tag that brings in a new class: 0xFFFF, schema, name length, name.
    ArchiveBytes& NewClass(const char* name, uint16_t schema = 3) {
        const QByteArray n(name);
        return U16(0xFFFF).U16(schema).U16(static_cast<uint16_t>(n.size())).Raw(n);
    }
    // The record every shape starts with, with double points.
    ArchiveBytes& Base(int frame, uint32_t line, uint32_t fill, uint32_t text, int thickness,
                       int style, int filled) {
        return I32(frame)
            .I32(static_cast<int32_t>(line))
            .I32(static_cast<int32_t>(fill))
            .I32(static_cast<int32_t>(text))
            .I32(thickness)
            .I32(style)
            .I32(filled);
    }
    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The bytes of one object written with the archive's object writing.
inline QByteArray StoreObject(const QString& path, const CObject* object) {
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(object);
        ar.Close();
    }
    return ReadBytes(path);
}

// One object read back from bytes; throws what the archive throws.
template <typename T>
std::unique_ptr<T> LoadObject(const QString& path, const QByteArray& bytes) {
    WriteBytes(path, bytes);
    CFile file(path, CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> object(ar.ReadObject(nullptr));
    T* typed = dynamic_cast<T*>(object.get());
    if (!typed)
        return nullptr;
    object.release();
    return std::unique_ptr<T>(typed);
}
