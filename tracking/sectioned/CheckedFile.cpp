#include "tracking/sectioned/CheckedFile.h"

#include "platform/framework/InvalidArgException.h"

CCheckedFile::CCheckedFile() = default;

CCheckedFile::~CCheckedFile() = default;

void CCheckedFile::SetFilePath(const QString& path) {
    if (path.isNull())
        AfxThrowInvalidArgException();
    CFile::SetFilePath(path);
}

UINT CCheckedFile::Read(void* buffer, UINT count) {
    const uint64_t before = GetPosition();
    const UINT delivered = CFile::Read(buffer, count);
    const uint64_t expected = before + delivered;
    if (GetPosition() != expected)
        Seek(static_cast<int64_t>(expected), CFile::begin);
    return delivered;
}
