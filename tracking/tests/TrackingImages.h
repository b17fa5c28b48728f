#pragma once

// Images for the tracking tests: patterns drawn as text, and rendered scenes of a bright
// feature on noise at sub-pixel positions and angles.

#include "tracking/MImage.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

// '#' is 255, any other character 0.
inline void DrawRows(CMImage& image, const std::vector<std::string>& rows) {
    image.Allocate(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            image.PutPixel(static_cast<int>(x), static_cast<int>(y), rows[y][x] == '#' ? 255 : 0);
}

struct Feature {
    double cx = 0.0;  // Centre in pixel coordinates.
    double cy = 0.0;
    double angleDeg = 0.0;  // Counter-clockwise on screen.
    double halfWidth = 5.5;
    double halfHeight = 5.5;
    int level = 200;
    double soft = 0.0;  // Width of the edge ramp in pixels; 0 for a sharp edge.
};

// How much of a feature covers the point (u, v) of its own axes, 0..1.
inline double Cover(const Feature& f, double u, double v) {
    auto edge = [&](double inside) {
        if (f.soft <= 0.0)
            return inside >= 0.0 ? 1.0 : 0.0;
        const double t = std::clamp(inside / f.soft + 0.5, 0.0, 1.0);
        return t * t * (3.0 - 2.0 * t);
    };
    return edge(f.halfWidth - std::abs(u)) * edge(f.halfHeight - std::abs(v));
}

// A frame of noise (0..noise) with bright rectangles, each pixel the mean of 4 x 4 samples;
// the same seed gives the same noise.
inline void RenderScene(CMImage& image, int width, int height, const std::vector<Feature>& features,
                        unsigned seed, int noise = 30) {
    image.Allocate(width, height);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> grain(0, noise);
    constexpr double kPi = 3.14159265358979323846;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double cover = 0.0;
            int level = 0;
            for (const Feature& f : features) {
                const double a = f.angleDeg * kPi / 180.0;
                double sum = 0.0;
                for (int sy = 0; sy < 4; ++sy) {
                    for (int sx = 0; sx < 4; ++sx) {
                        const double px = x - 0.375 + sx * 0.25 - f.cx;
                        const double py = y - 0.375 + sy * 0.25 - f.cy;
                        // Turned back into the feature's own axes (screen y points down).
                        sum += Cover(f, px * std::cos(a) - py * std::sin(a),
                                     px * std::sin(a) + py * std::cos(a));
                    }
                }
                if (sum / 16.0 > cover) {
                    cover = sum / 16.0;
                    level = f.level;
                }
            }
            const int background = grain(random);
            image.PutPixel(x, y, static_cast<int>(background + cover * (level - background) + 0.5));
        }
    }
}

// Writes a ".raw" recording: the 72-byte header ("OP05", frame count, width, height, first frame
// number 0, data offset 72, bits per pixel) and the frames that frameBytes gives, each
// width x height pixels top row first. False when the file cannot be written whole.
inline bool WriteRawRecording(const QString& path, int width, int height, int bitsPerPixel,
                              int frameCount, const std::function<QByteArray(int)>& frameBytes) {
    QByteArray header(72, '\0');
    header.replace(0, 4, "OP05");
    const int32_t fields[] = {frameCount, width, height, 0, 72, bitsPerPixel};
    for (int i = 0; i < 6; ++i)
        for (int b = 0; b < 4; ++b)
            header[8 + 4 * i + b] = static_cast<char>(static_cast<uint32_t>(fields[i]) >> (8 * b));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(header) != 72)
        return false;
    const qint64 size = qint64{bitsPerPixel / 8} * width * height;
    for (int n = 0; n < frameCount; ++n) {
        const QByteArray frame = frameBytes(n);
        if (frame.size() != size || file.write(frame) != size)
            return false;
    }
    return true;
}

// An 8-bit image's pixels, top row first, as a frame of a ".raw" recording.
inline QByteArray RawFrameOf(const CMImage& image) {
    QByteArray bytes;
    bytes.reserve(image.GetWidth() * image.GetHeight());
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            bytes.append(static_cast<char>(image.GetPixel(x, y)));
    return bytes;
}
