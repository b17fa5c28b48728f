#pragma once

// Writes small AVI files for tests with FFmpeg's encoders and AVI muxer, so no test depends on
// committed binaries. Every frame shows a known picture (TestAviPixel / TestAviIndex).

#include "platform/wintypes/WinTypes.h"

#include <QByteArray>
#include <QString>

enum class TestAviKind { RawBgr24, RawPal8, Mjpeg, Ffv1, Mpeg4 };

struct TestAviLayout {
    TestAviKind kind = TestAviKind::RawBgr24;
    int width = 32;
    int height = 24;
    int frames = 10;
    int keyInterval = 0;  // 0: the encoder's own choice
};

// Blue, green and red of pixel (x, y), counted from the top left, of frame f: smooth
// horizontal and vertical ramps and a level per frame, which lossy codecs keep close.
void TestAviPixel(const TestAviLayout& layout, int frame, int x, int y, BYTE bgr[3]);
// The palette index of pixel (x, y) of frame f in 8-bit files, and the colour of an index
// (no two channels equal for most entries, so the picture is not grey).
BYTE TestAviIndex(int frame, int x, int y);
void TestAviPaletteColour(int index, BYTE bgr[3]);

// True when the whole file was written.
bool WriteTestAvi(const QString& path, const TestAviLayout& layout);

// Puts a "JUNK" chunk holding payload right after the file's RIFF header (the file stays a
// valid AVI file); payload byte i lands at file offset 20 + i.
bool InsertJunkChunk(const QString& path, const QByteArray& payload);
