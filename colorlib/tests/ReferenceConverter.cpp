#include "colorlib/tests/ReferenceConverter.h"

#include <algorithm>

namespace reference {

int ColourAt(int variant, int y, int x) {
    const int column = (variant == 0 ? x : x + 1) & 1;
    if ((y & 1) == 0)
        return column == 0 ? 0 : 1;
    return column == 0 ? 1 : 2;
}

int ExpandSample(int type, int a) {
    switch (type) {
        case 0:
            return a < 64 ? a : a < 96 ? 2 * a - 64 : a < 192 ? 4 * a - 256 : 8 * a - 1024;
        case 1:
        case 7:
            return a;
        case 2:
            return 2 * a;
        case 3:
            return 4 * a;
        case 6:
            return a < 128 ? a : a < 192 ? 2 * a - 128 : 4 * a - 512;
        default:
            return 0;
    }
}

namespace {

int Map8(int type, int x) {
    if (x < 0)
        x = 0;
    if (x > 1023)
        x = 1023;
    switch (type) {
        case 0:
            return x <= 63 ? x : x <= 127 ? x / 2 + 32 : x <= 511 ? x / 4 + 64 : x / 8 + 128;
        case 6:
        case 7:
            return std::min(x, 255);
        case 1:
            return x < 256 ? x : 255;
        case 2:
            return x <= 511 ? x / 2 : 255;
        case 3:
            return x / 4;
        default:
            return 0;
    }
}

int MatrixValue(const std::array<float, 3>& row, int p1, int p2, int p3) {
    float sum = row[0] * static_cast<float>(p1);
    sum = sum + row[1] * static_cast<float>(p2);
    sum = sum + row[2] * static_cast<float>(p3);
    const double v = sum / 16.0;
    if (v > 255)
        return 255;
    const float f = static_cast<float>(v);
    if (f <= 0 || f != f)
        return 0;
    return static_cast<int>(f);
}

}  // namespace

std::array<std::vector<int>, 3> Demosaic(const Frame& frame, int type, int variant) {
    const int w = frame.width;
    const int h = frame.height;
    const auto sample = [&](int y, int x) {
        return ExpandSample(type, frame.samples[static_cast<std::size_t>(y) * w + x]);
    };
    std::array<std::vector<int>, 3> planes;
    for (auto& p : planes)
        p.assign(static_cast<std::size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int own = ColourAt(variant, y, x);
            for (int plane = 0; plane < 3; ++plane) {
                int value = 0;
                if (plane == own) {
                    value = 4 * sample(y, x);
                } else {
                    // Same-colour neighbours: the two in the row or column for red or blue at a
                    // green sample, else the four around (cross for green, diagonal otherwise).
                    std::vector<std::pair<int, int>> offsets;
                    if (plane == 1)
                        offsets = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
                    else if (own == 1 && ColourAt(variant, y, x + 1) == plane)
                        offsets = {{0, -1}, {0, 1}};
                    else if (own == 1)
                        offsets = {{-1, 0}, {1, 0}};
                    else
                        offsets = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
                    int sum = 0;
                    int n = 0;
                    for (auto [dy, dx] : offsets) {
                        if (y + dy < 0 || y + dy >= h || x + dx < 0 || x + dx >= w)
                            continue;
                        sum += sample(y + dy, x + dx);
                        ++n;
                    }
                    if (n == static_cast<int>(offsets.size()))
                        value = n == 2 ? 2 * sum : sum;
                    else if (n > 0)
                        value = (4 * sum + n / 2) / n;
                }
                planes[plane][static_cast<std::size_t>(y) * w + x] = value;
            }
        }
    }
    return planes;
}

std::array<std::vector<int>, 3> Smooth(const std::array<std::vector<int>, 3>& planes, int width,
                                       int height) {
    std::array<std::vector<int>, 3> out;
    for (int p = 0; p < 3; ++p) {
        const auto at = [&](int y, int x) {
            return planes[p][static_cast<std::size_t>(y) * width + x];
        };
        out[p].resize(planes[p].size());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                int value = 0;
                if (y == 0 || x == 0 || y == height - 1 || x == width - 1) {
                    value = std::clamp(at(y, x), 0, 4096);
                } else {
                    int neighbours = 0;
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -1; dx <= 1; ++dx) {
                            if (dy != 0 || dx != 0)
                                neighbours += at(y + dy, x + dx);
                        }
                    }
                    const double v = 0.75 * at(y, x) + neighbours / 32.0;
                    if (v > 4096) {
                        value = 4096;
                    } else {
                        const float f = static_cast<float>(v);
                        value = f < 0 ? 0 : static_cast<int>(f);
                    }
                }
                out[p][static_cast<std::size_t>(y) * width + x] = value;
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> Convert(const Frame& frame, int type, int variant, bool skipFilter,
                                  int mode, const Matrix& matrix) {
    if (mode < 0 || mode > 9)
        return {};
    const auto demosaic = Demosaic(frame, type, variant);
    const auto planes = skipFilter ? demosaic : Smooth(demosaic, frame.width, frame.height);
    const std::size_t count = frame.samples.size();
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < count; ++i) {
        const int p1 = planes[0][i];
        const int p2 = planes[1][i];
        const int p3 = planes[2][i];
        if (mode == 0) {
            out.push_back(static_cast<std::uint8_t>(MatrixValue(matrix[2], p1, p2, p3)));
            out.push_back(static_cast<std::uint8_t>(MatrixValue(matrix[1], p1, p2, p3)));
            out.push_back(static_cast<std::uint8_t>(MatrixValue(matrix[0], p1, p2, p3)));
        } else if (mode <= 3) {
            out.push_back(static_cast<std::uint8_t>(Map8(type, demosaic[mode - 1][i] / 4)));
        } else if (mode <= 6) {
            out.push_back(static_cast<std::uint8_t>(Map8(type, planes[mode - 4][i] / 4)));
        } else {
            out.push_back(static_cast<std::uint8_t>(MatrixValue(matrix[mode - 7], p1, p2, p3)));
        }
    }
    return out;
}

}  // namespace reference
