#pragma once

// CFfmpegAviStream: the video stream of an AVI file, read through FFmpeg, seen as a stream of
// uncompressed frames whatever the file holds.
//
// - Uncompressed streams of 1, 4, 8, 24 or 32 bits (BI_RGB) are passed on as stored: the
//   stream's format is the file's own bitmap header with its colour table (so an 8-bit file's
//   palette holds for every frame, in any reading order), Read gives the stored rows.
// - Every other stream is decoded by libavcodec: the format is 8-bit grey for grey codecs and
//   24-bit otherwise, top-down (negative height), rows padded to four bytes. Frame n is the
//   n-th frame in display order; reading n after n - 1 decodes one packet, any other position
//   starts decoding at the key frame at or before n.
//
// A stream is used by one thread at a time.

#include "platform/media/AviStream.h"

#include <QString>

// The index-th video stream of the AVI file at path with one reference, or null with the
// reason in *result (AVIERR_FILEOPEN, AVIERR_BADFORMAT, AVIERR_NODATA).
IAVIStream* OpenFfmpegAviStream(const QString& path, LONG index, HRESULT* result);
