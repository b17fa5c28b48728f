#pragma once

// CAviFile: an AVI file opened for reading, the handle of the AVI file functions. It hands out
// its video streams as IAVIStream objects that decode every frame to an uncompressed bitmap
// (see FfmpegAviStream.h). The file is registered as open while the handle lives.

#include "platform/media/AviStream.h"

#include <QString>

#include <memory>

class COpenFileEntry;

class CAviFile {
public:
    const QString& Path() const { return m_path; }

private:
    friend HRESULT AVIFileOpen(CAviFile** file, const QString& path, UINT mode, void* handler);
    friend ULONG AVIFileAddRef(CAviFile* file);
    friend ULONG AVIFileRelease(CAviFile* file);
    explicit CAviFile(const QString& path);
    ~CAviFile();

    QString m_path;
    int m_videoStreams = 0;
    ULONG m_refCount = 1;
    std::unique_ptr<COpenFileEntry> m_entry;
};

using PAVIFILE = CAviFile*;

// Open modes; reading is the only one supported, and sharing is never refused here.
inline constexpr UINT OF_READ = 0x0000;
inline constexpr UINT OF_SHARE_DENY_NONE = 0x0040;

// Opens path for reading: AVIERR_OK with *file holding one reference, AVIERR_FILEOPEN when the
// file cannot be opened, AVIERR_BADFORMAT when it is no AVI file with a readable video stream,
// AVIERR_BADPARAM for a null out-pointer. The handler is ignored.
HRESULT AVIFileOpen(PAVIFILE* file, const QString& path, UINT mode, void* handler);
ULONG AVIFileAddRef(PAVIFILE file);
// Drops a reference; the last one closes the handle. Streams already handed out stay usable.
ULONG AVIFileRelease(PAVIFILE file);
// The index-th stream of type fccType (only streamtypeVIDEO streams are offered), with one
// reference: AVIERR_NODATA when there is no such stream.
HRESULT AVIFileGetStream(PAVIFILE file, IAVIStream** stream, DWORD fccType, LONG index);
