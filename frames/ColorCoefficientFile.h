#pragma once

// The colour-coefficient file ".clr" of a Bayer recording: 47 bytes, the magic "CLRFILEv.1"
// with its terminating NUL, then the red, green and blue rows of the colour matrix, three
// little-endian 32-bit floats each.

#include <QString>

struct ColorCoefficients {
    float rows[3][3] = {};  // red, green, blue
};

// Reads the three rows; false (coefficients unchanged) when the file cannot be read, has
// another magic, ends before the last row or holds a value that is not finite.
bool ReadColorCoefficients(const QString& path, ColorCoefficients* coefficients);
// Writes the file through a temporary beside it that replaces path only when complete; false
// (path untouched) when that fails.
bool WriteColorCoefficients(const QString& path, const ColorCoefficients& coefficients);
