#pragma once

// CBufferedFile: gathers the many small reads or writes of one section into large ones on the
// file it wraps, so a list of a million records costs a few hundred system calls. One
// instance either reads or writes. Its position is its own; Flush hands it to the wrapped
// file (reading) or writes the pending bytes there (writing).

#include "platform/framework/File.h"

#include <vector>

class CBufferedFile : public CFile {
public:
    enum class Direction { Read, Write };

    // The wrapped file must stay open for the lifetime of this object.
    CBufferedFile(CFile& file, Direction direction);
    // Reading: moves the wrapped file to this position. Writing: pending bytes are dropped,
    // so a section interrupted by an exception is not completed behind the caller's back.
    // Never throws.
    ~CBufferedFile() override;

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    uint64_t Seek(int64_t offset, UINT from) override;
    uint64_t GetPosition() const override;
    uint64_t GetLength() const override;
    void Flush() override;

private:
    void FillWindow();

    CFile& m_file;
    Direction m_direction;
    std::vector<char> m_buffer;
    uint64_t m_position = 0;      // This object's position in the wrapped file.
    uint64_t m_windowStart = 0;   // Reading: file offset of m_buffer[0].
    uint64_t m_windowLength = 0;  // Reading: valid bytes in m_buffer.
    uint64_t m_fileLength = 0;    // Reading: length of the wrapped file.
};
