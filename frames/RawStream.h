#pragma once

// The stream object of the camera's ".raw" recordings: a 72-byte header ("OP05", frame count,
// width, height, first frame number, data offset, bits per pixel, rate at byte 68) and then
// the frames, rows top to bottom without padding.
//
// 8-bit frames come with a grey colour table. 16-bit frames are grey samples, not 5-5-5 colour:
// they are shown as 8-bit levels through the bit window with shift 0 (BitWindowTo8, the top
// byte), the same way 16-bit grey image sequences are, so such recordings display instead of
// failing.

#include "platform/media/AviStreamBase.h"

#include <QString>

#include <cstdint>
#include <memory>

class CFileMapping;
class COpenFileEntry;

class CRawStream : public CAviStreamBase {
public:
    static constexpr int kHeaderBytes = 60;
    static constexpr int kExtensionBytes = 12;

    HRESULT Create(LPARAM frameCount, LPARAM size) override;
    HRESULT Info(AviStreamInfo* info, LONG size) override;
    HRESULT ReadFormat(LONG position, void* format, LONG* size) override;
    HRESULT Read(LONG start, LONG samples, void* buffer, LONG bufferSize, LONG* bytesRead,
                 LONG* samplesRead) override;
    // Rows top to bottom; a frame beyond the file's end is not read.
    HRESULT ReadRows(LONG start, BYTE* first, ptrdiff_t step) override;
    // 8- and 24-bit frames whose rows need no padding, from a read-only mapping of the file made
    // on first use (and made again only when the file has grown past it). A frame the file no
    // longer holds fails with AVIERR_FILEREAD.
    HRESULT MapRows(LONG start, const BYTE** top, ptrdiff_t* stride,
                    std::shared_ptr<const void>* keeper) override;

    int FirstFrameNumber() const { return m_firstFrame; }
    int FrameRate() const { return m_rate; }
    int64_t FrameBytes() const;

private:
    friend IAVIStream* OpenRawStream(const QString& path);
    CRawStream() = default;
    ~CRawStream() override;

    int m_fd = -1;
    int m_width = 0;
    int m_height = 0;
    int m_frameCount = 0;
    int m_rate = 0;
    int m_bitsPerPixel = 0;
    int m_firstFrame = 0;
    int64_t m_dataOffset = 0;
    std::shared_ptr<const CFileMapping> m_mapping;
    // Marks the file as in use while the stream holds it, so that a save does not overwrite it.
    std::unique_ptr<COpenFileEntry> m_entry;
};

// The stream of a RAW file with one reference, or null. A file without the "OP05" magic shows
// "Unexpected header found in the RAW file.  Unable to open."; every other failure (no file,
// a short header, sizes or offsets that make no sense) gives null silently.
IAVIStream* OpenRawStream(const QString& path);
// The header's first frame number and rate (0 for a stream that is not a RAW stream).
int GetRawFirstFrameNumber(IAVIStream* stream);
int GetRawFrameRate(IAVIStream* stream);
