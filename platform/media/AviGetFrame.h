#pragma once

// CAviGetFrame: the frame reader of the AVI stream functions. It reads any IAVIStream (an AVI
// file's or one of the program's own stream objects) and hands each frame out as a packed
// device-independent bitmap: the header, its colour table, then the pixel rows padded to four
// bytes, in the row order the header's height sign gives (positive: bottom-up).
//
// Frames of 1 or 4 bits come out as 8-bit indexed with the same colours; 16-bit frames are grey
// samples and come out as 8-bit grey levels (the high byte); 8-, 24- and 32-bit frames keep
// their depth.

#include "platform/media/AviStream.h"
#include "platform/wintypes/BitmapInfo.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class CAviGetFrame {
public:
    // Where a caller wants the pixels of a frame: given the frame's header as GetFrame hands it
    // out, the top row of an upright picture of that size and depth and, in *stride, the
    // distance between its rows (at least a padded row); or null to have them packed after the
    // header as usual.
    using RowTarget = std::function<BYTE*(const BITMAPINFOHEADER& header, ptrdiff_t* stride)>;

    // Holds a reference to stream until closed.
    explicit CAviGetFrame(IAVIStream* stream);
    ~CAviGetFrame();
    CAviGetFrame(const CAviGetFrame&) = delete;
    CAviGetFrame& operator=(const CAviGetFrame&) = delete;

    // The packed bitmap of frame position, or null when it cannot be read. Valid until the
    // next call or until the reader is closed.
    BITMAPINFOHEADER* GetFrame(LONG position) { return GetFrame(position, nullptr); }
    // The same, with the pixels going where target says (read straight there when the stream
    // can, the padding at each row's end zeroed); the header and colour table then come back
    // without pixels after them. Rows of a frame that cannot be read may be left part written
    // only when the stream fails in the middle of a read.
    BITMAPINFOHEADER* GetFrame(LONG position, const RowTarget& target);
    // The same for a frame the stream can show from memory it shares with its file (see
    // IAVIStream::MapRows): the header and colour table come back without pixels, and the
    // upright rows are at *top, *stride apart, valid while *keeper is held. Null when the
    // stream cannot, or the frame's depth changes on the way out; such a frame is read with
    // GetFrame.
    BITMAPINFOHEADER* GetMappedFrame(LONG position, const BYTE** top, ptrdiff_t* stride,
                                     std::shared_ptr<const void>* keeper);
    // How often the frame buffer had to grow: a reader kept open over frames of one size
    // allocates it once.
    int BufferAllocations() const { return m_allocations; }

private:
    // A frame's format as read and as handed out.
    struct Layout {
        BITMAPINFOHEADER in;
        BITMAPINFOHEADER out;
        size_t tableAt = 0;
        size_t storedColours = 0;
        size_t outRow = 0;
        size_t tableBytes = 0;
        size_t pixelBytes = 0;
    };
    // Reads and checks the format of frame position; false when it cannot be handed out.
    bool ReadLayout(LONG position, Layout* layout);
    // Writes the header and colour table into the buffer, with room for the pixels after them
    // when packed; returns the header.
    BITMAPINFOHEADER* Pack(const Layout& layout, bool packed);

    IAVIStream* m_stream;
    std::vector<BYTE> m_format;
    std::vector<BYTE> m_read;
    std::vector<DWORD> m_packed;  // words, so that the header at its start is aligned
    int m_allocations = 0;
};

using PGETFRAME = CAviGetFrame*;

// A frame reader over stream, or null for a null stream or a wanted format other than null
// (frames come in the stream's own format).
PGETFRAME AVIStreamGetFrameOpen(IAVIStream* stream, const BITMAPINFOHEADER* wanted);
// The packed bitmap of frame position (see CAviGetFrame::GetFrame), or null.
void* AVIStreamGetFrame(PGETFRAME reader, LONG position);
// Ends the reader and releases its stream reference; AVIERR_BADHANDLE for null.
HRESULT AVIStreamGetFrameClose(PGETFRAME reader);
