#pragma once

// CArchive: reads or writes the framework's binary archive over a CFile (a QFile does the I/O)
// through a buffer of its own: little-endian primitives, counted Windows-1252 strings, counts, and
// objects tagged with their class name and schema so that shared objects come back as one object.
//
// Failures throw CArchiveException (a short file, a bad tag, an unknown class or version) or the
// CFile's CFileException. Reading never allocates more than the file can still hold, so hostile
// counts and lengths fail with endOfFile instead of exhausting memory.

#include "platform/framework/ArchiveException.h"
#include "platform/framework/File.h"
#include "platform/framework/Object.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

#include <concepts>
#include <cstdint>
#include <unordered_map>
#include <vector>

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

    // The file stays owned by the caller and must outlive the archive (or its Close).
    CArchive(CFile* file, UINT mode, int bufSize = 4096);
    // Writes what is still buffered unless bNoFlushOnDelete was given; a failure here goes
    // unreported, so writers call Close to learn of it.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return (m_mode & load) != 0; }
    bool IsStoring() const { return !IsLoading(); }
    CFile* GetFile() const { return m_file; }

    // Storing: writes the buffer to the file. Loading: drops the read-ahead and moves the file
    // back to the archive's position, so the file can be read directly from there.
    void Flush();
    // Flushes and lets go of the file (which stays open); the archive is unusable afterwards.
    void Close();

    // Raw bytes. Read returns how many it got, fewer only at the end of the file.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    // An element count: 16 bits, or 0xFFFF and 32 bits. Loading refuses a count larger than the
    // bytes left in the file, since every element takes at least one byte.
    DWORD ReadCount();
    void WriteCount(DWORD count);

    // Objects with their class tags. The first object of a class carries the class name and
    // schema; an object written before is written as a reference to it. ReadObject returns a new
    // object owned by the caller, an object it returned before, or nullptr; when `requested` is
    // given, objects of other classes are refused with badClass. An object whose Serialize
    // throws is deleted before the exception leaves ReadObject. Objects nested more than 1000
    // deep are refused with genericException.
    CObject* ReadObject(const CRuntimeClass* requested);
    void WriteObject(const CObject* object);

    // While an object of a versionable class is being read: the schema stored with it, once;
    // then (and outside such a read) 0xFFFFFFFF.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT schema) { m_objectSchema = schema; }

    CArchive& operator<<(BYTE value);
    CArchive& operator<<(char value);
    CArchive& operator<<(short value);
    CArchive& operator<<(WORD value);
    CArchive& operator<<(int value);
    CArchive& operator<<(DWORD value);
    CArchive& operator<<(long long value);
    CArchive& operator<<(unsigned long long value);
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    // One byte. A template so that pointers do not turn into bools here.
    template <typename T>
    requires std::same_as<T, bool> CArchive& operator<<(T value) {
        return *this << static_cast<BYTE>(value ? 1 : 0);
    }
    // The width of long differs between platforms: callers pick int or long long.
    CArchive& operator<<(long) = delete;
    CArchive& operator<<(unsigned long) = delete;
    // The counted narrow string, in Windows-1252 (characters it lacks become '?').
    CArchive& operator<<(const QString& text);
    CArchive& operator<<(const CObject* object);

    CArchive& operator>>(BYTE& value);
    CArchive& operator>>(char& value);
    CArchive& operator>>(short& value);
    CArchive& operator>>(WORD& value);
    CArchive& operator>>(int& value);
    CArchive& operator>>(DWORD& value);
    CArchive& operator>>(long long& value);
    CArchive& operator>>(unsigned long long& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(bool& value);
    // Also accepts the UTF-16 form that marks itself with 0xFF 0xFFFE after the first byte.
    CArchive& operator>>(QString& text);
    CArchive& operator>>(CObject*& object);

    // The file's path, named in the exceptions.
    QString m_strFileName;

private:
    enum class EntryKind { Null, Class, Object, Discarded };
    struct LoadEntry {
        EntryKind kind;
        const CRuntimeClass* cls;
        CObject* object;
    };

    [[noreturn]] void Throw(int cause) const;
    void CheckLoading() const;
    void CheckStoring() const;
    void ReadExact(void* buffer, UINT count);
    uint64_t Remaining() const;
    void RequireRemaining(uint64_t bytes) const;
    uint64_t ReadStringLength(bool& wide);
    void WriteStringLength(uint64_t length);
    const CRuntimeClass* ReadClass(const CRuntimeClass* requested, UINT& schema, DWORD& tag);
    void WriteClass(const CRuntimeClass* cls);
    DWORD NextMapIndex();

    template <typename T>
    void WriteLittleEndian(T value);
    template <typename T>
    T ReadLittleEndian();

    CFile* m_file;
    UINT m_mode;
    std::vector<BYTE> m_buffer;
    UINT m_cur = 0;  // Next byte to read or write in m_buffer.
    UINT m_lim = 0;  // Loading: end of the bytes read ahead.

    UINT m_objectSchema = 0xFFFFFFFF;
    int m_depth = 0;       // Objects being read or written inside each other.
    DWORD m_mapCount = 1;  // Index 0 is the null tag; classes and objects share the numbering.
    std::vector<LoadEntry> m_loaded;
    std::unordered_map<const CRuntimeClass*, UINT> m_loadedSchemas;  // Only when they differ.
    std::unordered_map<const CRuntimeClass*, DWORD> m_storedClasses;
    std::unordered_map<const CObject*, DWORD> m_storedObjects;
};
