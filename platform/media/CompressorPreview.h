#pragma once

// CCompressorPreview: what a compressor makes of the frames of a save, for the compression
// assistant's side-by-side preview. Each frame is encoded as the save would encode it and
// decoded again. Frames come as the save takes them (bottom-up rows padded to 4 bytes, 8-bit
// indexed or 24-bit) and leave as top-down 0xffRRGGBB pixels. One thread at a time.

#include "platform/media/AviSaveGraph.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class CCompressorPreview {
public:
    CCompressorPreview();
    ~CCompressorPreview();
    CCompressorPreview(const CCompressorPreview&) = delete;
    CCompressorPreview& operator=(const CCompressorPreview&) = delete;

    // Sets up the encoder behind the compressor name and the decoder of what it writes; false
    // when this build lacks either or one does not open for frames of that layout.
    bool Open(const QString& compressorName, const AviImageFormat& format);
    // The frame after the round trip through the compressor: the latest picture the decoder
    // gave back (an encoder may hold a few frames first). false while there is none yet or
    // when the compressor failed on the frame.
    bool Preview(const uint8_t* frame, std::vector<uint32_t>* pixels);
    // The frame as it is.
    static void Plain(const AviImageFormat& format, const uint8_t* frame,
                      std::vector<uint32_t>* pixels);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
