#include "platform/framework/Archive.h"

#include "platform/wintypes/Cp1252.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;  // A 32-bit tag follows.
constexpr DWORD kBigClassTag = 0x80000000;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;
constexpr UINT kNotSerializable = 0xFFFF;
constexpr UINT kNoSchema = 0xFFFFFFFF;
// Objects read or written inside each other's Serialize nest on the stack; a file that nests
// deeper than any of ours is refused before the stack runs out.
constexpr int kMaxObjectDepth = 1000;

// Counted strings: one byte below 0xFF, then a 16-bit length below 0xFFFE, then 32 bits.
constexpr BYTE kLengthByteEscape = 0xFF;
constexpr WORD kUnicodeMarker = 0xFFFE;
constexpr WORD kLengthWordEscape = 0xFFFF;

// Counts one level of object nesting for as long as it lives.
class DepthGuard {
public:
    DepthGuard(int& depth, const QString& archiveName) : m_depth(depth) {
        if (m_depth >= kMaxObjectDepth)
            throw CArchiveException(CArchiveException::genericException, archiveName);
        ++m_depth;
    }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};

}  // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufSize)
    : m_strFileName(file ? file->GetFilePath() : QString()),
      m_file(file),
      m_mode(mode),
      m_buffer(static_cast<size_t>(std::max(bufSize, 1))) {
    m_loaded.push_back({EntryKind::Null, nullptr, nullptr});
}

CArchive::~CArchive() {
    if (!m_file || (m_mode & bNoFlushOnDelete))
        return;
    try {
        Flush();
    } catch (const CException&) {
        // A destructor must not throw; Close reports this failure to callers that care.
    }
}

void CArchive::Throw(int cause) const {
    throw CArchiveException(cause, m_strFileName);
}

void CArchive::CheckLoading() const {
    if (!m_file)
        Throw(CArchiveException::genericException);
    if (!IsLoading())
        Throw(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const {
    if (!m_file)
        Throw(CArchiveException::genericException);
    if (!IsStoring())
        Throw(CArchiveException::readOnly);
}

void CArchive::Flush() {
    if (!m_file)
        return;
    if (IsStoring()) {
        const UINT pending = m_cur;
        m_cur = 0;
        m_file->Write(m_buffer.data(), pending);
    } else {
        const UINT unread = m_lim - m_cur;
        m_cur = m_lim = 0;
        if (unread > 0)
            m_file->Seek(-static_cast<int64_t>(unread), CFile::current);
    }
}

void CArchive::Close() {
    Flush();
    m_file = nullptr;
}

UINT CArchive::Read(void* buffer, UINT count) {
    CheckLoading();
    auto* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_cur == m_lim) {
            const UINT left = count - done;
            if (left >= m_buffer.size()) {
                // Large reads go straight into the caller's memory.
                const UINT got = m_file->Read(out + done, left);
                if (got == 0)
                    break;
                done += got;
                continue;
            }
            m_cur = 0;
            m_lim = m_file->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
            if (m_lim == 0)
                break;
        }
        const UINT n = std::min(count - done, m_lim - m_cur);
        std::memcpy(out + done, m_buffer.data() + m_cur, n);
        m_cur += n;
        done += n;
    }
    return done;
}

void CArchive::Write(const void* buffer, UINT count) {
    CheckStoring();
    const auto* in = static_cast<const BYTE*>(buffer);
    while (count > 0) {
        if (m_cur == m_buffer.size())
            Flush();
        if (m_cur == 0 && count >= m_buffer.size()) {
            m_file->Write(in, count);
            return;
        }
        const UINT n = std::min(count, static_cast<UINT>(m_buffer.size()) - m_cur);
        std::memcpy(m_buffer.data() + m_cur, in, n);
        m_cur += n;
        in += n;
        count -= n;
    }
}

void CArchive::ReadExact(void* buffer, UINT count) {
    if (Read(buffer, count) != count)
        Throw(CArchiveException::endOfFile);
}

uint64_t CArchive::Remaining() const {
    const uint64_t length = m_file->GetLength();
    const uint64_t position = m_file->GetPosition();
    return (m_lim - m_cur) + (length > position ? length - position : 0);
}

void CArchive::RequireRemaining(uint64_t bytes) const {
    if (bytes > Remaining())
        Throw(CArchiveException::endOfFile);
}

template <typename T>
void CArchive::WriteLittleEndian(T value) {
    BYTE bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<BYTE>(static_cast<uint64_t>(value) >> (8 * i));
    Write(bytes, sizeof(T));
}

template <typename T>
T CArchive::ReadLittleEndian() {
    BYTE bytes[sizeof(T)];
    ReadExact(bytes, sizeof(T));
    uint64_t value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return static_cast<T>(value);
}

CArchive& CArchive::operator<<(BYTE value) {
    WriteLittleEndian(value);
    return *this;
}
CArchive& CArchive::operator<<(char value) {
    return *this << static_cast<BYTE>(value);
}
CArchive& CArchive::operator<<(short value) {
    return *this << static_cast<WORD>(value);
}
CArchive& CArchive::operator<<(WORD value) {
    WriteLittleEndian(value);
    return *this;
}
CArchive& CArchive::operator<<(int value) {
    return *this << static_cast<DWORD>(value);
}
CArchive& CArchive::operator<<(DWORD value) {
    WriteLittleEndian(value);
    return *this;
}
CArchive& CArchive::operator<<(long long value) {
    return *this << static_cast<unsigned long long>(value);
}
CArchive& CArchive::operator<<(unsigned long long value) {
    WriteLittleEndian(static_cast<uint64_t>(value));
    return *this;
}
CArchive& CArchive::operator<<(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return *this << static_cast<DWORD>(bits);
}
CArchive& CArchive::operator<<(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteLittleEndian(bits);
    return *this;
}

CArchive& CArchive::operator>>(BYTE& value) {
    value = ReadLittleEndian<BYTE>();
    return *this;
}
CArchive& CArchive::operator>>(char& value) {
    value = static_cast<char>(ReadLittleEndian<BYTE>());
    return *this;
}
CArchive& CArchive::operator>>(short& value) {
    value = static_cast<short>(ReadLittleEndian<WORD>());
    return *this;
}
CArchive& CArchive::operator>>(WORD& value) {
    value = ReadLittleEndian<WORD>();
    return *this;
}
CArchive& CArchive::operator>>(int& value) {
    value = static_cast<int>(ReadLittleEndian<DWORD>());
    return *this;
}
CArchive& CArchive::operator>>(DWORD& value) {
    value = ReadLittleEndian<DWORD>();
    return *this;
}
CArchive& CArchive::operator>>(long long& value) {
    value = static_cast<long long>(ReadLittleEndian<uint64_t>());
    return *this;
}
CArchive& CArchive::operator>>(unsigned long long& value) {
    value = ReadLittleEndian<uint64_t>();
    return *this;
}
CArchive& CArchive::operator>>(float& value) {
    const uint32_t bits = ReadLittleEndian<uint32_t>();
    std::memcpy(&value, &bits, sizeof value);
    return *this;
}
CArchive& CArchive::operator>>(double& value) {
    const uint64_t bits = ReadLittleEndian<uint64_t>();
    std::memcpy(&value, &bits, sizeof value);
    return *this;
}
CArchive& CArchive::operator>>(bool& value) {
    value = ReadLittleEndian<BYTE>() != 0;
    return *this;
}

DWORD CArchive::ReadCount() {
    CheckLoading();
    const WORD small = ReadLittleEndian<WORD>();
    const DWORD count = small == 0xFFFF ? ReadLittleEndian<DWORD>() : small;
    RequireRemaining(count);
    return count;
}

void CArchive::WriteCount(DWORD count) {
    if (count < 0xFFFF) {
        *this << static_cast<WORD>(count);
    } else {
        *this << static_cast<WORD>(0xFFFF) << count;
    }
}

void CArchive::WriteStringLength(uint64_t length) {
    if (length < kLengthByteEscape) {
        *this << static_cast<BYTE>(length);
    } else if (length < kUnicodeMarker) {
        *this << kLengthByteEscape << static_cast<WORD>(length);
    } else {
        *this << kLengthByteEscape << kLengthWordEscape << static_cast<DWORD>(length);
    }
}

uint64_t CArchive::ReadStringLength(bool& wide) {
    wide = false;
    BYTE byteLength = ReadLittleEndian<BYTE>();
    if (byteLength < kLengthByteEscape)
        return byteLength;
    WORD wordLength = ReadLittleEndian<WORD>();
    if (wordLength == kUnicodeMarker) {
        // UTF-16 text: the length starts over with one byte, and 0xFFFE no longer marks anything.
        wide = true;
        byteLength = ReadLittleEndian<BYTE>();
        if (byteLength < kLengthByteEscape)
            return byteLength;
        wordLength = ReadLittleEndian<WORD>();
    }
    if (wordLength < kUnicodeMarker)
        return wordLength;
    return ReadLittleEndian<DWORD>();
}

CArchive& CArchive::operator<<(const QString& text) {
    const QByteArray bytes = UnicodeToCp1252(text);
    WriteStringLength(static_cast<uint64_t>(bytes.size()));
    Write(bytes.constData(), static_cast<UINT>(bytes.size()));
    return *this;
}

CArchive& CArchive::operator>>(QString& text) {
    CheckLoading();
    bool wide = false;
    const uint64_t length = ReadStringLength(wide);
    const uint64_t bytes = wide ? length * 2 : length;
    RequireRemaining(bytes);
    if (bytes > 0xFFFFFFFF)
        Throw(CArchiveException::genericException);
    QByteArray data(static_cast<qsizetype>(bytes), Qt::Uninitialized);
    ReadExact(data.data(), static_cast<UINT>(bytes));
    if (!wide) {
        text = Cp1252ToUnicode(data);
        return *this;
    }
    QString result(static_cast<qsizetype>(length), Qt::Uninitialized);
    const auto* raw = reinterpret_cast<const BYTE*>(data.constData());
    for (qsizetype i = 0; i < result.size(); ++i)
        result[i] = QChar(static_cast<char16_t>(raw[2 * i] | (raw[2 * i + 1] << 8)));
    text = result;
    return *this;
}

DWORD CArchive::NextMapIndex() {
    if (m_mapCount >= kMaxMapCount)
        Throw(CArchiveException::badIndex);
    return m_mapCount++;
}

void CArchive::WriteClass(const CRuntimeClass* cls) {
    if (cls->m_wSchema == kNotSerializable)
        Throw(CArchiveException::badClass);
    if (auto it = m_storedClasses.find(cls); it != m_storedClasses.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(kClassTag | index);
        } else {
            *this << kBigObjectTag << (kBigClassTag | index);
        }
        return;
    }
    const size_t nameLength = std::strlen(cls->m_lpszClassName);
    *this << kNewClassTag << static_cast<WORD>(cls->m_wSchema) << static_cast<WORD>(nameLength);
    Write(cls->m_lpszClassName, static_cast<UINT>(nameLength));
    m_storedClasses[cls] = NextMapIndex();
}

void CArchive::WriteObject(const CObject* object) {
    CheckStoring();
    if (!object) {
        *this << kNullTag;
        return;
    }
    if (auto it = m_storedObjects.find(object); it != m_storedObjects.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(index);
        } else {
            *this << kBigObjectTag << index;
        }
        return;
    }
    WriteClass(object->GetRuntimeClass());
    // Numbered before its contents, so that an object that refers back to itself is written
    // as a reference.
    m_storedObjects[object] = NextMapIndex();
    DepthGuard guard(m_depth, m_strFileName);
    const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, UINT& schema, DWORD& tag) {
    const WORD smallTag = ReadLittleEndian<WORD>();
    if (smallTag == kBigObjectTag) {
        tag = ReadLittleEndian<DWORD>();
    } else {
        tag = (static_cast<DWORD>(smallTag & kClassTag) << 16) | (smallTag & ~kClassTag);
    }
    if (!(tag & kBigClassTag))
        return nullptr;

    const CRuntimeClass* cls = nullptr;
    if (smallTag == kNewClassTag) {
        const WORD storedSchema = ReadLittleEndian<WORD>();
        const WORD nameLength = ReadLittleEndian<WORD>();
        RequireRemaining(nameLength);
        std::string name(nameLength, '\0');
        ReadExact(name.data(), nameLength);
        if (name.find('\0') == std::string::npos)
            cls = CRuntimeClass::FromName(name.c_str());
        if (!cls || cls->m_wSchema == kNotSerializable)
            Throw(CArchiveException::badClass);
        if ((cls->m_wSchema & ~VERSIONABLE_SCHEMA) != storedSchema) {
            // A class that is not versionable reads only its own layout.
            if (!(cls->m_wSchema & VERSIONABLE_SCHEMA))
                Throw(CArchiveException::badSchema);
            m_loadedSchemas[cls] = storedSchema;
        }
        NextMapIndex();
        m_loaded.push_back({EntryKind::Class, cls, nullptr});
        schema = storedSchema;
    } else {
        const DWORD index = tag & ~kBigClassTag;
        if (index >= m_loaded.size() || m_loaded[index].kind != EntryKind::Class)
            Throw(CArchiveException::badIndex);
        cls = m_loaded[index].cls;
        const auto it = m_loadedSchemas.find(cls);
        schema = it != m_loadedSchemas.end() ? it->second : cls->m_wSchema & ~VERSIONABLE_SCHEMA;
    }
    if (requested && !cls->IsDerivedFrom(requested))
        Throw(CArchiveException::badClass);
    return cls;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) {
    CheckLoading();
    UINT schema = 0;
    DWORD tag = 0;
    const CRuntimeClass* cls = ReadClass(requested, schema, tag);
    if (!cls) {
        if (tag == kNullTag)
            return nullptr;
        if (tag >= m_loaded.size() || m_loaded[tag].kind != EntryKind::Object)
            Throw(CArchiveException::badIndex);
        CObject* object = m_loaded[tag].object;
        if (requested && !object->IsKindOf(requested))
            Throw(CArchiveException::badClass);
        return object;
    }

    std::unique_ptr<CObject> object(cls->CreateObject());
    if (!object)
        Throw(CArchiveException::badClass);
    // Numbered before its contents are read, as the writer did.
    NextMapIndex();
    const size_t first = m_loaded.size();
    m_loaded.push_back({EntryKind::Object, cls, object.get()});
    const UINT outerSchema = m_objectSchema;
    m_objectSchema = schema;
    try {
        DepthGuard guard(m_depth, m_strFileName);
        object->Serialize(*this);
    } catch (...) {
        // The object is deleted on the way out, and the objects it read may have gone with it:
        // later references to any of them are refused rather than handed out dangling.
        m_objectSchema = outerSchema;
        for (size_t i = first; i < m_loaded.size(); ++i) {
            if (m_loaded[i].kind == EntryKind::Object)
                m_loaded[i] = {EntryKind::Discarded, nullptr, nullptr};
        }
        throw;
    }
    m_objectSchema = outerSchema;
    return object.release();
}

UINT CArchive::GetObjectSchema() {
    const UINT schema = m_objectSchema;
    m_objectSchema = kNoSchema;
    return schema;
}

CArchive& CArchive::operator<<(const CObject* object) {
    WriteObject(object);
    return *this;
}

CArchive& CArchive::operator>>(CObject*& object) {
    object = ReadObject(nullptr);
    return *this;
}
