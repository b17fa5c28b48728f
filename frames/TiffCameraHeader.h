#pragma once

// The camera's own header block that some high-speed cameras put inside their TIFF files, in
// the space before the image data. It begins after the four marker bytes 0, 0, 23, 133, which
// lie on a four-byte boundary from byte 128 of the file within the next 65 words, and is 1024
// bytes long: the camera's name (10 characters, or 8 when the block begins with 'M'), then the
// recording date and time as six binary-coded decimal bytes (year within the century, month,
// day, hour, minute, second), then fields of the camera's own.

#include <QByteArray>
#include <QString>

struct TiffCameraHeader {
    QString name;
    int year = 0;  // within the century, as the camera stores it
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    QByteArray block;  // the whole block, fields behind the date included
};

// The header in a TIFF file's bytes: false when the file has no marker where it is looked for
// or is too short to hold the whole block.
bool ReadTiffCameraHeader(const QByteArray& bytes, TiffCameraHeader* header);
