#pragma once

// CBlobLabeler: labels the connected blobs of an 8-bit image (two passes, 8-bit labels, at most
// kMaxBlobs blobs) and finds the correlation peak inside every blob.

#include "tracking/ImageOps.h"
#include "tracking/MImage.h"

#include <array>

class CBlobLabeler {
public:
    static constexpr int kMaxBlobs = 254;
    // The label image's value of pixels that belong to no blob.
    static constexpr int kBackground = 255;

    enum ForegroundMode {
        kForegroundIs255 = 1,
        kForegroundIs0 = 2,
        kForegroundNot255 = 3,
        kForegroundNot0 = 4,  // Any other value means the same.
    };

    CBlobLabeler() = default;
    CBlobLabeler(const CBlobLabeler&) = delete;
    CBlobLabeler& operator=(const CBlobLabeler&) = delete;

    // Takes a copy of image (8-bit grey) to label; connectivity 4 or 8. Count becomes 0.
    void SetImage(const CMImage& image, int foregroundMode, int connectivity);
    // Labels the copy inside its region of interest: afterwards each blob pixel holds its
    // blob's number 1..Count and every other pixel there kBackground; blobs are numbered in
    // order of their first pixel (row by row). A blob that would be the 255th new label of the
    // first pass shows "Warning: Exceeded maximum number of blobs." once and its pixels stay
    // background, so no label reaches the background value.
    void Label();
    // For every blob, the position and value of the correlation maximum inside it (the first
    // in column-major order), refined to a fraction of a pixel with refine (RefinePeak).
    void MeasurePeaks(const CMImage& correlation, bool refine, int windowSize);
    // The maximum of the correlation near (x, y): an n x n patch (n = windowSize made odd)
    // around it, coordinates clamped to the image, enlarged 11 times with cubic interpolation;
    // the enlarged maximum (jx, jy) maps back to (jx - 5) / 11 + x - n / 2.
    void RefinePeak(const CMImage& correlation, int x, int y, int windowSize, double* outX,
                    double* outY, int* outValue);

    int GetCount() const { return m_count; }
    // The blob at position i of the order by ascending area (an exchange sort, so blobs of
    // equal area may change places).
    int GetOrder(int i) const { return m_order[static_cast<size_t>(i)]; }
    // Per blob index 0..Count-1 (blob number - 1).
    int GetArea(int blob) const { return m_area[static_cast<size_t>(blob)]; }
    double GetCentroidX(int blob) const { return m_centroidX[static_cast<size_t>(blob)]; }
    double GetCentroidY(int blob) const { return m_centroidY[static_cast<size_t>(blob)]; }
    float GetPeakX(int blob) const { return m_peakX[static_cast<size_t>(blob)]; }
    float GetPeakY(int blob) const { return m_peakY[static_cast<size_t>(blob)]; }
    int GetPeakValue(int blob) const { return m_peakValue[static_cast<size_t>(blob)]; }
    const CMImage& GetLabelImage() const { return m_labelImage; }

private:
    bool IsForeground(int value) const;
    // The smallest label of label's group of equivalences.
    uint8_t Root(uint8_t label);

    int m_count = 0;
    std::array<int, kMaxBlobs> m_order{};
    std::array<int, kMaxBlobs> m_area{};
    std::array<double, kMaxBlobs> m_centroidX{};
    std::array<double, kMaxBlobs> m_centroidY{};
    std::array<float, kMaxBlobs> m_peakX{};
    std::array<float, kMaxBlobs> m_peakY{};
    std::array<int, kMaxBlobs> m_peakValue{};
    std::array<uint8_t, kMaxBlobs> m_parent{};  // Equivalences of the first pass's labels.
    std::array<uint8_t, kMaxBlobs> m_group{};   // First-pass label -> blob number.
    std::array<double, kMaxBlobs> m_sumX{};
    std::array<double, kMaxBlobs> m_sumY{};
    CMImage m_labelImage;
    CMImage m_patch;
    CMImage m_zoomed;
    int m_foregroundMode = kForegroundIs255;
    int m_connectivity = 8;
};
