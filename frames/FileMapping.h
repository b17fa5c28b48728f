#pragma once

// CFileMapping: a read-only view of the first bytes of an open file in the program's memory, so
// that a frame can be shown from the file's pages where they lie instead of being copied out
// first. Images that show such pixels hold the mapping through a shared owner; it stays valid
// after the file is closed.
//
// Another process may cut the file short while its pages are shown. Touching a page past the new
// end would stop the program with a bus error; inside a live mapping that page is instead
// replaced by zeros, so a picture whose file lost its end shows black there. Readers still check
// the file's size before they hand out a range, so frames beyond the end fail cleanly.

#include "platform/wintypes/BitmapInfo.h"

#include <cstdint>
#include <memory>

class CFileMapping {
public:
    // The first bytes of the file fd, or null when the file cannot be mapped (nothing to map,
    // the system refuses, or too many mappings are live at once).
    static std::shared_ptr<const CFileMapping> Map(int fd, int64_t bytes);
    ~CFileMapping();
    CFileMapping(const CFileMapping&) = delete;
    CFileMapping& operator=(const CFileMapping&) = delete;

    const BYTE* Data() const { return m_data; }
    int64_t Size() const { return m_size; }

    // How many mappings were made in this process, for checks that a reader maps once.
    static int MappingsMade();

private:
    CFileMapping(const BYTE* data, int64_t size, int slot)
        : m_data(data), m_size(size), m_slot(slot) {}

    const BYTE* m_data;
    int64_t m_size;
    int m_slot;  // the mapping's place among those the bus-error handler guards
};
