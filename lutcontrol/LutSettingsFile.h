#pragma once

// The editor's settings file (extension "lut"): 259 bytes, the magic "LUTFILEv.1" with its zero
// byte, the colour set record, the black-and-white set record and the state record.

#include "frames/lutparams/LutParamSet.h"
#include "lutcontrol/LutEditState.h"

#include <QByteArray>
#include <QString>

struct LutSettings {
    CLutParamSet colour;
    CLutParamSet bw;
    LutEditState state;
};

namespace lut_settings {

inline constexpr char kExtension[] = "lut";
inline constexpr int kMagicBytes = 11;
inline constexpr int kFileBytes =
    kMagicBytes + 2 * CLutParamSet::kRecordBytes + LutEditState::kRecordBytes;

// Value limits of the editor; loaded values obey them as typed ones do.
inline constexpr LONG kMinValue = -128;
inline constexpr LONG kMaxValue = 127;
inline constexpr double kMinGamma = 1.0;
inline constexpr double kMaxGamma = 5.0;

LONG ClampValue(LONG value);
// Not-a-number gives the neutral 1.0.
double ClampGamma(double value);
// Clamps every per-channel value of set to the editor's limits.
void ClampSet(CLutParamSet* set);

// The file's bytes; the state's callback and context are written as zeros.
QByteArray Encode(const LutSettings& settings);
// False unless bytes begin with the magic and hold all three records. The sets' values are
// clamped; the state's flags are taken as stored (see RewriteLoadedState).
bool Decode(const QByteArray& bytes, LutSettings* settings);

// The state a load applies: colour and channel flags all become current's colour flag; a link
// flag stays current's only when the colour set's three values of that property are equal
// (gamma compared exactly), else 0; callback and context are current's.
LutEditState RewriteLoadedState(const CLutParamSet& loadedColour, const LutEditState& current);

// Writes through a temporary file renamed over path; false on any failure (path untouched).
bool Write(const QString& path, const LutSettings& settings);
bool Read(const QString& path, LutSettings* settings);

}  // namespace lut_settings
