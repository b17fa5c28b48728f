#pragma once

// Stored strings: the length-prefixed narrow strings that mark the sections of the program's
// binary list files. On disk: int32 L (little-endian) = text bytes + 1, then the text as
// Windows-1252 bytes and one zero byte. A text ends at its first U+0000.
//
// All functions work on any open CFile through its virtual Read, Write, Seek and position;
// exceptions of the file (CFileException) pass to the caller. None shows a message.

#include "platform/framework/File.h"

#include <QString>

#include <cstdint>

// Writes the stored string of text at the current position (length word, then body).
void WriteStringToFile(CFile& file, const QString& text);

// Finds the first offset at which the file holds text followed by a zero byte (the body of a
// stored string). On success writes it to *offset and puts the position back where it was;
// otherwise returns false with the position at the end of the file.
bool FindBinaryStoredStringInFile(CFile& file, const QString& text, int64_t* offset);

// Tries offsets 0 .. bound + 1 for the text's bytes, not requiring a zero byte behind them,
// though the byte after the text must exist. Returns true with *offset = bound + 1 when the
// offsets up to the bound hold no match: callers treat an offset above their bound as nothing
// found. False when the file ends before that.
bool FindBinaryStoredStringInFile(CFile& file, const QString& text, int64_t bound, int64_t* offset);

// Reads one stored string at the current position. False, with out empty, on a short read, a
// zero length or a body whose only zero byte is not its last; false with out unchanged when
// the length word exceeds the file's size.
bool ReadStringFromFile(CFile& file, QString& out);

// Reads one stored string and succeeds only when it is exactly expected (case-sensitive).
// A length word that does not fit expected fails at once, leaving the position just behind
// it; otherwise out holds what was read.
bool ReadStringFromFileAndCompare(CFile& file, QString& out, const QString& expected);
bool ReadStringFromFileAndCompare(CFile& file, const QString& expected);
