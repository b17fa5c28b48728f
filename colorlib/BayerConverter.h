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

    // Converts src (width x height samples) into dst by the output mode; outside mode 0 (and
    // for frames under three rows) dst also holds the expanded mosaic meanwhile (2 bytes a
    // pixel). Returns 0 or the set-up error.
    int Convert(int width, int height, int type, int variant, bool skipFilter,
                const std::uint8_t* src, std::uint8_t* dst, const CColorMatrix::Rows& matrix);

private:
    using Planes = std::array<std::int16_t*, 3>;
    // One row of each plane.
    using PlaneRows = std::array<std::int16_t*, 3>;
    // The expanded mosaic rows above, at and below a row; null beyond the frame.
    using MosaicRows = std::array<const std::uint8_t*, 3>;

    bool HasPlanes() const { return m_demosaic[0] != nullptr; }
    void FreePlanes();
    // Mode 0 a row at a time through rings of rows, so that the frame passes the cache once.
    void ConvertColourByRows(const std::uint8_t* src, int phase, bool skipFilter,
                             const CColorMatrix::Rows& matrix, std::uint8_t* dst);
    void Demosaic(const std::uint8_t* mosaic, int phase);
    void DemosaicRow(const MosaicRows& rows, int phase, int y, const PlaneRows& out) const;
    // Pixels 1 ... width - 2 of a first or last row (of a frame of two rows or more).
    void DemosaicEdgeRow(const MosaicRows& rows, int phase, int y, const PlaneRows& out) const;
    void DemosaicBorderPixel(const MosaicRows& rows, int phase, int y, int x,
                             const PlaneRows& out) const;
    // Pixel 0 or width - 1 of a row with rows above and below (of a frame three pixels wide or
    // more): DemosaicBorderPixel's values, faster.
    void DemosaicSidePixel(const MosaicRows& rows, int phase, int y, int x,
                           const PlaneRows& out) const;
    void Smooth();
    // A row of one plane; up and down null at the frame's top and bottom rows.
    void SmoothRow(const std::int16_t* up, const std::int16_t* mid, const std::int16_t* down,
                   std::int16_t* out) const;
    void WritePlane(const std::int16_t* plane, std::uint8_t* dst) const;
    void WriteGrey(const Planes& planes, const CColorMatrix::Row& row, std::uint8_t* dst) const;

    std::uint16_t m_width = 0;
    std::uint16_t m_height = 0;
    std::uint32_t m_pixelCount = 0;
    Planes m_demosaic{};
    Planes m_filtered{};
    InputTable m_table{};
    InputRamps m_ramps{};
    int m_tableType = -1;
    int m_mode = 0;
};
