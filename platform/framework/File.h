#pragma once

// CFile: an unbuffered binary file with the framework's open flags, backed by QFile.
// Failures throw CFileException, except Open, which reports them through its result.

#include "platform/framework/FileException.h"
#include "platform/framework/Object.h"

#include <QString>

#include <cstdint>
#include <memory>

class QFile;

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)

public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    // Opens at once; throws CFileException on failure.
    CFile(const QString& path, UINT openFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False on failure, with the cause in *error when given.
    virtual bool Open(const QString& path, UINT openFlags, CFileException* error = nullptr);
    virtual void Close();
    virtual void Abort();  // Close without throwing.
    bool IsOpen() const;

    // Bytes actually read (fewer at the end of the file).
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual uint64_t Seek(int64_t offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }
    virtual uint64_t GetPosition() const;
    virtual uint64_t GetLength() const;
    virtual void SetLength(uint64_t length);
    virtual void Flush();

    virtual QString GetFilePath() const;
    virtual void SetFilePath(const QString& path);
    QString GetFileName() const;   // Last component with extension.
    QString GetFileTitle() const;  // Last component without extension.

    static void Remove(const QString& path);
    static void Rename(const QString& oldPath, const QString& newPath);

protected:
    [[noreturn]] void ThrowError(int cause) const;

private:
    std::unique_ptr<QFile> m_file;
    QString m_path;
};
