#include "lutcontrol/LutSettingsFile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lut_settings {

namespace {

constexpr char kMagic[kMagicBytes] = {'L', 'U', 'T', 'F', 'I', 'L', 'E', 'v', '.', '1', '\0'};

BYTE* At(QByteArray& bytes, int offset) {
    return reinterpret_cast<BYTE*>(bytes.data()) + offset;
}

const BYTE* At(const QByteArray& bytes, int offset) {
    return reinterpret_cast<const BYTE*>(bytes.constData()) + offset;
}

constexpr int kColourOffset = kMagicBytes;
constexpr int kBwOffset = kColourOffset + CLutParamSet::kRecordBytes;
constexpr int kStateOffset = kBwOffset + CLutParamSet::kRecordBytes;

}  // namespace

LONG ClampValue(LONG value) {
    return std::clamp(value, kMinValue, kMaxValue);
}

double ClampGamma(double value) {
    if (std::isnan(value))
        return 1.0;
    return std::clamp(value, kMinGamma, kMaxGamma);
}

void ClampSet(CLutParamSet* set) {
    for (LONG channel = 0; channel < CLutParamSet::kChannels; ++channel) {
        set->SetBrightness(channel, ClampValue(set->Brightness(channel)));
        set->SetContrast(channel, ClampValue(set->Contrast(channel)));
        set->SetExpLog(channel, ClampValue(set->ExpLog(channel)));
        set->SetGamma(channel, ClampGamma(set->Gamma(channel)));
    }
}

QByteArray Encode(const LutSettings& settings) {
    QByteArray bytes(kFileBytes, '\0');
    std::memcpy(bytes.data(), kMagic, kMagicBytes);
    settings.colour.WriteRecord(At(bytes, kColourOffset));
    settings.bw.WriteRecord(At(bytes, kBwOffset));
    settings.state.WriteRecord(At(bytes, kStateOffset));
    return bytes;
}

bool Decode(const QByteArray& bytes, LutSettings* settings) {
    if (bytes.size() < kFileBytes || std::memcmp(bytes.constData(), kMagic, kMagicBytes) != 0)
        return false;
    settings->colour.ReadRecord(At(bytes, kColourOffset));
    settings->bw.ReadRecord(At(bytes, kBwOffset));
    settings->state.ReadRecord(At(bytes, kStateOffset));
    ClampSet(&settings->colour);
    ClampSet(&settings->bw);
    return true;
}

LutEditState RewriteLoadedState(const CLutParamSet& loadedColour, const LutEditState& current) {
    LutEditState state = current;
    state.stateRedChan = state.stateGreenChan = state.stateBlueChan = current.stateColor;
    const CLutParamSet& c = loadedColour;
    auto same = [](auto a, auto b, auto d) { return a == b && b == d; };
    if (!same(c.Brightness(0), c.Brightness(1), c.Brightness(2)))
        state.stateLinkBright = 0;
    if (!same(c.Contrast(0), c.Contrast(1), c.Contrast(2)))
        state.stateLinkContrast = 0;
    if (!same(c.Gamma(0), c.Gamma(1), c.Gamma(2)))
        state.stateLinkGamma = 0;
    if (!same(c.ExpLog(0), c.ExpLog(1), c.ExpLog(2)))
        state.stateLinkExpLog = 0;
    return state;
}

bool Write(const QString& path, const LutSettings& settings) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = Encode(settings);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool Read(const QString& path, LutSettings* settings) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return Decode(file.read(kFileBytes), settings);
}

}  // namespace lut_settings
