#pragma once

// CAviSaveGraph: writes an AVI file from the frames of a QNAVIFrameSource. A streaming thread
// pulls frame after frame (bottom-up rows padded to 4 bytes, 8-bit indexed or 24-bit), passes
// them through the chosen compressor, if any, and hands them to FFmpeg's AVI muxer (which
// switches to the AVI 2.0 index beyond 1 GiB) at 5 frames per second. The file is written
// under a temporary name in the target folder and takes the target's name only when every
// write and the trailer succeeded; a failed save removes it and leaves any older file of that
// name as it was.
//
// Threads: BuildSaveGraph, Run, IsDone and Stop belong to one thread (the user-interface
// thread); the provider's GetFrame runs on the streaming thread.

#include "platform/media/QNAVIFrameSource.h"
#include "platform/wintypes/BitmapInfo.h"
#include "platform/wintypes/WinError.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

struct AviImageFormat {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;  // 8 (indexed, with the palette) or 24
    RGBQUAD palette[256] = {};
    int paletteEntries = 0;
};

class CAviSaveGraph {
public:
    using ErrorReporter = std::function<void(const QString& text)>;

    // The provider stays the caller's and must outlive the graph.
    explicit CAviSaveGraph(QNAVIFrameSource* provider);
    ~CAviSaveGraph();
    CAviSaveGraph(const CAviSaveGraph&) = delete;
    CAviSaveGraph& operator=(const CAviSaveGraph&) = delete;

    // Records the layout of the frames the provider gives; the palette of 8-bit frames is
    // written as given. 1, or 0 for a size or depth the graph cannot write.
    int SetImageFormat(const AviImageFormat& format);
    // Bytes of one frame of that layout: rows rounded up to 4 bytes, times the height.
    static int64_t FrameBytes(int width, int height, int bitsPerPixel);

    // Where failures are told ("FAILED(hr=0x...) in <step>\n"); without one they are not told.
    void SetErrorReporter(ErrorReporter reporter);

    // Sets up the compressor (none for "- No Compression -") and the muxer over a temporary
    // file beside path. false after the failing step was reported.
    bool BuildSaveGraph(const QString& path, const QString& codecName);
    // Writes the file header and starts the streaming thread; false after the report.
    bool Run();
    // Waits up to 100 ms for the stream to end; true once it has (or when it never ran).
    bool IsDone();
    // Ends the stream, waits for the thread and puts the file in place (see above).
    void Stop();
    // Ends the stream like Stop but removes the temporary file whatever was written, so that
    // the target stays as it was.
    void Discard();

    // True once Stop has put a complete file under the target name.
    bool Succeeded() const;
    int SamplesWritten() const;

    // "FAILED(hr=0x80004005) in <expression>\n".
    static QString FailureText(HRESULT hr, const char* expression);
    // Tests: every write of a save fails once that many bytes of its file were written
    // (negative: no limit), as on a full disk.
    static void SetWriteLimitForTests(int64_t bytes);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
