#include "frames/ColorCoefficientFile.h"

#include <QFile>
#include <QSaveFile>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr char kMagic[] = "CLRFILEv.1";  // written with its NUL
constexpr int kMagicBytes = sizeof kMagic;
constexpr int kFileBytes = kMagicBytes + 9 * 4;

}  // namespace

bool ReadColorCoefficients(const QString& path, ColorCoefficients* coefficients) {
    QFile file(path);
    if (!coefficients || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(kFileBytes);
    if (bytes.size() < kFileBytes || std::memcmp(bytes.constData(), kMagic, kMagicBytes) != 0)
        return false;
    ColorCoefficients read;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData()) + kMagicBytes;
    for (int i = 0; i < 9; ++i, p += 4) {
        const uint32_t bits = uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                              (uint32_t{p[3]} << 24);
        const float value = std::bit_cast<float>(bits);
        if (!std::isfinite(value))
            return false;
        read.rows[i / 3][i % 3] = value;
    }
    *coefficients = read;
    return true;
}

bool WriteColorCoefficients(const QString& path, const ColorCoefficients& coefficients) {
    QByteArray bytes(kMagic, kMagicBytes);
    for (const auto& row : coefficients.rows)
        for (float value : row) {
            const auto bits = std::bit_cast<uint32_t>(value);
            for (int i = 0; i < 4; ++i)
                bytes.append(static_cast<char>((bits >> (8 * i)) & 0xFF));
        }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
