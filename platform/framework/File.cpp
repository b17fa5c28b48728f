#include "platform/framework/File.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/wintypes/WinError.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

int CauseOf(QFileDevice::FileError error, const QString& path) {
    switch (error) {
        case QFileDevice::NoError:
            return CFileException::none;
        case QFileDevice::OpenError:
            if (!QFileInfo(path).absoluteDir().exists())
                return CFileException::badPath;
            return QFileInfo::exists(path) ? CFileException::accessDenied
                                           : CFileException::fileNotFound;
        case QFileDevice::PermissionsError:
            return CFileException::accessDenied;
        case QFileDevice::ReadError:
        case QFileDevice::WriteError:
        case QFileDevice::FatalError:
            return CFileException::hardIO;
        case QFileDevice::PositionError:
            return CFileException::badSeek;
        case QFileDevice::ResizeError:
            return CFileException::diskFull;
        default:
            return CFileException::genericException;
    }
}

}  // namespace

CFile::CFile() = default;

CFile::CFile(const QString& path, UINT openFlags) {
    CFileException error;
    if (!Open(path, openFlags, &error))
        throw error;
}

CFile::~CFile() {
    if (IsOpen())
        Abort();
}

bool CFile::Open(const QString& path, UINT openFlags, CFileException* error) {
    if (IsOpen())
        Abort();
    m_path = path;
    QIODevice::OpenMode mode;
    switch (openFlags & 0x3) {
        case modeWrite:
            mode = QIODevice::WriteOnly;
            break;
        case modeReadWrite:
            mode = QIODevice::ReadWrite;
            break;
        default:
            mode = QIODevice::ReadOnly;
            break;
    }
    if (openFlags & modeCreate) {
        if (!(openFlags & modeNoTruncate))
            mode |= QIODevice::Truncate;
    } else if (mode != QIODevice::ReadOnly && !QFileInfo::exists(path)) {
        // Without modeCreate a missing file is not made.
        if (error)
            *error = CFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, path);
        return false;
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(mode | QIODevice::Unbuffered)) {
        if (error)
            *error = CFileException(CauseOf(file->error(), path), -1, path);
        return false;
    }
    m_file = std::move(file);
    return true;
}

void CFile::Close() {
    if (!m_file)
        return;
    const bool ok = m_file->flush() || !(m_file->openMode() & QIODevice::WriteOnly);
    m_file->close();
    m_file.reset();
    if (!ok)
        ThrowError(CFileException::hardIO);
}

void CFile::Abort() {
    if (m_file)
        m_file->close();
    m_file.reset();
}

bool CFile::IsOpen() const {
    return m_file != nullptr;
}

UINT CFile::Read(void* buffer, UINT count) {
    if (!m_file)
        ThrowError(CFileException::invalidFile);
    if (count == 0)
        return 0;
    const qint64 n = m_file->read(static_cast<char*>(buffer), count);
    if (n < 0)
        ThrowError(CFileException::hardIO);
    return static_cast<UINT>(n);
}

void CFile::Write(const void* buffer, UINT count) {
    if (!m_file)
        ThrowError(CFileException::invalidFile);
    if (count == 0)
        return;
    if (m_file->write(static_cast<const char*>(buffer), count) != static_cast<qint64>(count))
        ThrowError(m_file->error() == QFileDevice::ResizeError ? CFileException::diskFull
                                                               : CFileException::hardIO);
}

uint64_t CFile::Seek(int64_t offset, UINT from) {
    if (!m_file)
        ThrowError(CFileException::invalidFile);
    int64_t base = 0;
    if (from == current)
        base = m_file->pos();
    else if (from == end)
        base = m_file->size();
    const int64_t target = base + offset;
    if (target < 0 || !m_file->seek(target))
        ThrowError(CFileException::badSeek);
    return static_cast<uint64_t>(target);
}

uint64_t CFile::GetPosition() const {
    if (!m_file)
        ThrowError(CFileException::invalidFile);
    return static_cast<uint64_t>(m_file->pos());
}

uint64_t CFile::GetLength() const {
    if (!m_file)
        ThrowError(CFileException::invalidFile);
    return static_cast<uint64_t>(m_file->size());
}

void CFile::SetLength(uint64_t length) {
    if (!m_file)
        ThrowError(CFileException::invalidFile);
    if (!m_file->resize(static_cast<qint64>(length)))
        ThrowError(CFileException::diskFull);
}

void CFile::Flush() {
    if (m_file && !m_file->flush())
        ThrowError(CFileException::hardIO);
}

QString CFile::GetFilePath() const {
    return m_path;
}

void CFile::SetFilePath(const QString& path) {
    m_path = path;
}

QString CFile::GetFileName() const {
    return QFileInfo(m_path).fileName();
}

QString CFile::GetFileTitle() const {
    return QFileInfo(m_path).completeBaseName();
}

void CFile::Remove(const QString& path) {
    QFile f(path);
    if (!f.remove())
        throw CFileException(CauseOf(QFileDevice::OpenError, path), -1, path);
}

void CFile::Rename(const QString& oldPath, const QString& newPath) {
    if (!QFile::rename(oldPath, newPath))
        throw CFileException(CFileException::accessDenied, -1, oldPath);
}

void CFile::ThrowError(int cause) const {
    throw CFileException(cause, -1, m_path);
}
