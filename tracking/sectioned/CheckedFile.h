#pragma once

// CCheckedFile: a binary file whose reads always leave the position exactly behind the bytes
// they delivered. Loaders of sectioned files open their files with it. It has no run-time
// class record of its own and reports CFile's.

#include "platform/framework/File.h"

class CCheckedFile : public CFile {
public:
    CCheckedFile();
    ~CCheckedFile() override;

    // A null path throws CInvalidArgException; any other becomes the file's stored name.
    void SetFilePath(const QString& path) override;
    // Bytes delivered, as CFile::Read; afterwards the position is the old one plus that count.
    UINT Read(void* buffer, UINT count) override;
};
