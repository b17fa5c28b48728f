#pragma once

// Conversion between Windows-1252 bytes (narrow text in stored files) and Unicode.

#include <QByteArray>
#include <QString>

// Every byte maps to one character; the five bytes the code page leaves undefined map to the
// control characters of the same number, so any byte string survives a round trip.
QString Cp1252ToUnicode(const QByteArray& bytes);

// Characters the code page lacks become '?'.
QByteArray UnicodeToCp1252(const QString& text);
