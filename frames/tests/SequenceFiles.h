#pragma once

// Writes numbered still images for the tests of image sequences, with the program's own image
// encoders where it has one and by hand where it has none (16-bit TIFF files, BMP files laid out
// as other programs write them). Every image shows a known picture (SequenceLevel /
// SequenceColour) that depends on the frame it stands for.

#include "platform/wintypes/WinTypes.h"

#include <QByteArray>
#include <QString>

enum class SequenceImageKind {
    kBmp8,
    kBmp24,
    kTiffGrey8,
    kTiffGrey16,
    kTiffGrey16BottomUp,  // rows stored from the bottom, with the orientation tag saying so
    kTiffRgb8,
    kTiffRgb16,
    kJpegGrey,
    kJpegColour,
};

// True for the kinds whose pixels are grey levels.
bool IsGreyKind(SequenceImageKind kind);
// The grey level and the colour (blue, green, red) of pixel (x, y) from the top left of the
// picture for frame: smooth ramps that a lossy encoder keeps close, for frames 0 to 9 of
// pictures up to 16 x 12.
BYTE SequenceLevel(int frame, int x, int y);
void SequenceColour(int frame, int x, int y, BYTE bgr[3]);

// The whole file's bytes of such an image; empty when the encoder fails.
QByteArray SequenceImageBytes(SequenceImageKind kind, int width, int height, int frame);
// Writes it to path; true when the whole file was written.
bool WriteSequenceImage(const QString& path, SequenceImageKind kind, int width, int height,
                        int frame);

// A camera header block as cameras write it: the name, then the date and time 24-03-15
// 13:45:59 in binary-coded decimal, then a field of the camera's own.
QByteArray SequenceCameraBlock(const QByteArray& name);
// A 16-bit grey TIFF (as kTiffGrey16) with the block of camera "FASTCAM-10" behind its marker
// at byte 128, where cameras put it.
QByteArray SequenceTiffWithCameraHeader(int width, int height, int frame);
