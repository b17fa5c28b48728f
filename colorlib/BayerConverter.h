#pragma once

// CBayerConverter: the converter's frame size, work planes, input table and output mode, and
// the conversion of one Bayer-mosaic frame through them.

#include "colorlib/ColorMatrix.h"
#include "colorlib/SampleMap.h"

#include <array>
#include <cstdint>

class CBayerConverter {
public:
    CBayerConverter() = default;
    CBayerConverter(const CBayerConverter&) = delete;
    CBayerConverter& operator=(const CBayerConverter&) = delete;
    ~CBayerConverter();

    // Takes the frame size and allocates the six planes unless they already fit it. Returns 0,
    // or -1 (size out of 0..65535 or no memory) with no frame size and no planes left.
    int Setup(int width, int height);
    // Frees the planes; the frame size stays, and the next conversion allocates them again.
    void Deallocate();

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    int SetOutputMode(int mode) { return m_mode = mode; }

    // Converts src (width x height samples) into dst by the output mode; dst also holds the
    // expanded mosaic meanwhile (2 bytes a pixel). Returns 0 or the set-up error.
    int Convert(int width, int height, int type, int variant, bool skipFilter,
                const std::uint8_t* src, std::uint8_t* dst, const CColorMatrix::Rows& matrix);

private:
    using Planes = std::array<std::int16_t*, 3>;

    bool HasPlanes() const { return m_demosaic[0] != nullptr; }
    void FreePlanes();
    void ExpandMosaic(const std::uint8_t* src, std::uint8_t* mosaic) const;
    void Demosaic(const std::uint8_t* mosaic, int phase);
    void DemosaicBorderPixel(const std::uint8_t* mosaic, int phase, int y, int x);
    void Smooth();
    void WriteColour(const Planes& planes, const CColorMatrix::Rows& matrix,
                     std::uint8_t* dst) const;
    void WritePlane(const std::int16_t* plane, std::uint8_t* dst) const;
    void WriteGrey(const Planes& planes, const CColorMatrix::Row& row, std::uint8_t* dst) const;

    std::uint16_t m_width = 0;
    std::uint16_t m_height = 0;
    std::uint32_t m_pixelCount = 0;
    Planes m_demosaic{};
    Planes m_filtered{};
    InputTable m_table{};
    int m_tableType = -1;
    int m_mode = 0;
};
