#include "platform/media/AviFile.h"

#include "platform/media/FfmpegAviStream.h"
#include "platform/media/OpenFileRegistry.h"
#include "platform/wintypes/Assert.h"

CAviFile::CAviFile(const QString& path)
    : m_path(path), m_entry(std::make_unique<COpenFileEntry>(path)) {}

CAviFile::~CAviFile() = default;

HRESULT AVIFileOpen(PAVIFILE* file, const QString& path, UINT mode, void*) {
    if (!file)
        return AVIERR_BADPARAM;
    *file = nullptr;
    if ((mode & 0x3) != OF_READ)
        return AVIERR_READONLY;
    // Opening the first video stream checks the whole chain (container, index, decoder) once,
    // so a file that opens also reads.
    HRESULT result = AVIERR_OK;
    IAVIStream* probe = OpenFfmpegAviStream(path, 0, &result);
    if (!probe && result != AVIERR_NODATA)
        return result;
    auto* opened = new CAviFile(path);
    opened->m_videoStreams = probe ? 1 : 0;
    if (probe)
        probe->Release();
    *file = opened;
    return AVIERR_OK;
}

ULONG AVIFileAddRef(PAVIFILE file) {
    return file ? ++file->m_refCount : 0;
}

ULONG AVIFileRelease(PAVIFILE file) {
    if (!file || !RM_ASSERT(file->m_refCount > 0))
        return 0;
    const ULONG count = --file->m_refCount;
    if (count == 0)
        delete file;
    return count;
}

HRESULT AVIFileGetStream(PAVIFILE file, IAVIStream** stream, DWORD fccType, LONG index) {
    if (!stream)
        return AVIERR_BADPARAM;
    *stream = nullptr;
    if (!file)
        return AVIERR_BADHANDLE;
    if (fccType != streamtypeVIDEO || index < 0)
        return AVIERR_NODATA;
    HRESULT result = AVIERR_OK;
    *stream = OpenFfmpegAviStream(file->Path(), index, &result);
    return result;
}
