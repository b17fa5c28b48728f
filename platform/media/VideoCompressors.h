#pragma once

// The video compressors a save can use: our names for the FFmpeg encoders that the AVI muxer
// takes and this build has, in a fixed order after "- No Compression -". Every one is set up
// without B-frames, so that each saved frame can be stepped to.

#include <QString>
#include <QStringList>

inline constexpr const char* kNoCompression = "- No Compression -";

// "- No Compression -" first, then the available compressors.
QStringList VideoCompressorNames();
// The FFmpeg encoder behind a compressor name; empty for an unknown name or one this build
// lacks.
QString VideoCompressorEncoder(const QString& friendlyName);
// Tests: the list as on a system without any compressor (true) or as this build has it.
void SetNoVideoCompressorsForTests(bool none);
