#include "tracking/sectioned/BufferedFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kBufferBytes = 256 * 1024;

}  // namespace

CBufferedFile::CBufferedFile(CFile& file, Direction direction)
    : m_file(file), m_direction(direction), m_position(file.GetPosition()) {
    CFile::SetFilePath(file.GetFilePath());  // Names the file in the exceptions thrown here.
    if (m_direction == Direction::Read) {
        m_buffer.resize(kBufferBytes);
        m_fileLength = file.GetLength();
    } else {
        m_buffer.reserve(kBufferBytes);
    }
}

CBufferedFile::~CBufferedFile() {
    if (m_direction != Direction::Read)
        return;
    try {
        m_file.Seek(static_cast<int64_t>(m_position), CFile::begin);
    } catch (const CFileException&) {
        // The wrapped file keeps the position of its last read; nothing more can be done here.
    }
}

void CBufferedFile::FillWindow() {
    m_windowStart = m_position;
    m_windowLength = 0;
    if (m_position >= m_fileLength)
        return;
    m_file.Seek(static_cast<int64_t>(m_position), CFile::begin);
    while (m_windowLength < m_buffer.size()) {
        const UINT n = m_file.Read(m_buffer.data() + m_windowLength,
                                   static_cast<UINT>(m_buffer.size() - m_windowLength));
        if (n == 0)
            break;
        m_windowLength += n;
    }
}

UINT CBufferedFile::Read(void* buffer, UINT count) {
    if (m_direction != Direction::Read)
        ThrowError(CFileException::invalidFile);
    auto* out = static_cast<char*>(buffer);
    UINT total = 0;
    while (total < count) {
        if (m_position < m_windowStart || m_position >= m_windowStart + m_windowLength) {
            FillWindow();
            if (m_windowLength == 0)
                break;
        }
        const uint64_t inWindow = m_windowStart + m_windowLength - m_position;
        const auto n = static_cast<UINT>(std::min<uint64_t>(inWindow, count - total));
        std::memcpy(out + total, m_buffer.data() + (m_position - m_windowStart), n);
        total += n;
        m_position += n;
    }
    return total;
}

void CBufferedFile::Write(const void* buffer, UINT count) {
    if (m_direction != Direction::Write)
        ThrowError(CFileException::invalidFile);
    const auto* in = static_cast<const char*>(buffer);
    m_buffer.insert(m_buffer.end(), in, in + count);
    m_position += count;
    if (m_buffer.size() >= kBufferBytes)
        Flush();
}

uint64_t CBufferedFile::Seek(int64_t offset, UINT from) {
    if (m_direction == Direction::Write) {
        Flush();
        m_position = m_file.Seek(offset, from);
        return m_position;
    }
    int64_t base = 0;
    if (from == current)
        base = static_cast<int64_t>(m_position);
    else if (from == end)
        base = static_cast<int64_t>(m_fileLength);
    const int64_t target = base + offset;
    if (target < 0)
        ThrowError(CFileException::badSeek);
    m_position = static_cast<uint64_t>(target);
    return m_position;
}

uint64_t CBufferedFile::GetPosition() const {
    return m_position;
}

uint64_t CBufferedFile::GetLength() const {
    if (m_direction == Direction::Read)
        return m_fileLength;
    return std::max(m_file.GetLength(), m_position);
}

void CBufferedFile::Flush() {
    if (m_direction == Direction::Read) {
        m_file.Seek(static_cast<int64_t>(m_position), CFile::begin);
        return;
    }
    if (m_buffer.empty())
        return;
    m_file.Write(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
    m_buffer.clear();
}
