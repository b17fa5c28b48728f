#include "tracking/BlobLabeler.h"

#include "tracking/TrackingErrors.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <numeric>

void CBlobLabeler::SetImage(const CMImage& image, int foregroundMode, int connectivity) {
    m_labelImage.CopyFrom(image);
    m_foregroundMode = foregroundMode;
    m_connectivity = connectivity;
    m_count = 0;
}

bool CBlobLabeler::IsForeground(int value) const {
    switch (m_foregroundMode) {
        case kForegroundIs255:
            return value == 255;
        case kForegroundIs0:
            return value == 0;
        case kForegroundNot255:
            return value != 255;
        default:
            return value != 0;
    }
}

uint8_t CBlobLabeler::Root(uint8_t label) {
    while (m_parent[label] != label) {
        m_parent[label] = m_parent[m_parent[label]];
        label = m_parent[label];
    }
    return label;
}

void CBlobLabeler::Label() {
    m_count = 0;
    if (!m_labelImage.HasImage() || m_labelImage.Pixels().type() != CV_8UC1)
        return;
    cv::Mat& image = m_labelImage.Pixels();
    const CRect roi = m_labelImage.GetRoiRect();
    constexpr uint8_t kNone = kBackground;
    int next = 0;
    bool warned = false;

    // First pass: provisional labels, with equivalences joined so that each group's root is
    // its smallest label.
    for (int y = roi.top; y <= roi.bottom; ++y) {
        uint8_t* row = image.ptr<uint8_t>(y);
        const uint8_t* above = y > roi.top ? image.ptr<uint8_t>(y - 1) : nullptr;
        for (int x = roi.left; x <= roi.right; ++x) {
            if (!IsForeground(row[x])) {
                row[x] = kNone;
                continue;
            }
            const uint8_t west = x > roi.left ? row[x - 1] : kNone;
            const uint8_t north = above ? above[x] : kNone;
            uint8_t northWest = kNone;
            uint8_t northEast = kNone;
            if (m_connectivity != 4 && above) {
                northWest = x > roi.left ? above[x - 1] : kNone;
                northEast = x < roi.right ? above[x + 1] : kNone;
            }
            const std::array<uint8_t, 4> neighbours{west, north, northWest, northEast};
            uint8_t label = kNone;
            for (uint8_t n : neighbours) {
                if (n == kNone)
                    continue;
                if (label == kNone) {
                    label = n;
                    continue;
                }
                const uint8_t a = Root(label);
                const uint8_t b = Root(n);
                if (a < b)
                    m_parent[b] = a;
                else if (b < a)
                    m_parent[a] = b;
            }
            if (label == kNone) {
                if (next == kMaxBlobs) {
                    if (!warned) {
                        warned = true;
                        TrackingMessageBox("Warning: Exceeded maximum number of blobs.", "Warning",
                                           MB_OK);
                    }
                    row[x] = kNone;
                    continue;
                }
                label = static_cast<uint8_t>(next++);
                m_parent[label] = label;
            }
            row[x] = label;
        }
    }

    // Groups numbered 1..Count in ascending order of their smallest label.
    for (int label = 0; label < next; ++label) {
        const uint8_t root = Root(static_cast<uint8_t>(label));
        if (root == label)
            m_group[static_cast<size_t>(label)] = static_cast<uint8_t>(++m_count);
        else
            m_group[static_cast<size_t>(label)] = m_group[root];
    }

    std::fill_n(m_area.begin(), m_count, 0);
    std::fill_n(m_sumX.begin(), m_count, 0.0);
    std::fill_n(m_sumY.begin(), m_count, 0.0);
    for (int y = roi.top; y <= roi.bottom; ++y) {
        uint8_t* row = image.ptr<uint8_t>(y);
        for (int x = roi.left; x <= roi.right; ++x) {
            if (row[x] == kNone)
                continue;
            const uint8_t number = m_group[row[x]];
            row[x] = number;
            const size_t blob = number - 1u;
            ++m_area[blob];
            m_sumX[blob] += x;
            m_sumY[blob] += y;
        }
    }

    for (size_t blob = 0; blob < static_cast<size_t>(m_count); ++blob) {
        m_centroidX[blob] = m_sumX[blob] / m_area[blob];
        m_centroidY[blob] = m_sumY[blob] / m_area[blob];
    }
    std::iota(m_order.begin(), m_order.begin() + m_count, 0);
    for (size_t i = 0; i < static_cast<size_t>(m_count); ++i) {
        for (size_t j = i + 1; j < static_cast<size_t>(m_count); ++j) {
            if (m_area[static_cast<size_t>(m_order[j])] < m_area[static_cast<size_t>(m_order[i])])
                std::swap(m_order[i], m_order[j]);
        }
    }
}

void CBlobLabeler::MeasurePeaks(const CMImage& correlation, bool refine, int windowSize) {
    if (!m_labelImage.HasImage() || m_count == 0 || !correlation.HasImage())
        return;
    const cv::Mat& labels = m_labelImage.Pixels();
    const cv::Mat& values = correlation.Pixels();
    if (values.type() != CV_8UC1 || values.size() != labels.size())
        return;
    // Each blob's values with everything outside it taken as 0, scanned column by column from
    // the region's top-left pixel, as a peak search over a masked copy would.
    const CRect roi = m_labelImage.GetRoiRect();
    const uint8_t first = labels.at<uint8_t>(roi.top, roi.left);
    for (size_t blob = 0; blob < static_cast<size_t>(m_count); ++blob) {
        const bool inBlob = first == blob + 1;
        m_peakValue[blob] = inBlob ? values.at<uint8_t>(roi.top, roi.left) : 0;
        m_peakX[blob] = static_cast<float>(roi.left);
        m_peakY[blob] = static_cast<float>(roi.top);
    }
    for (int x = roi.left; x <= roi.right; ++x) {
        for (int y = roi.top; y <= roi.bottom; ++y) {
            const uint8_t number = labels.ptr<uint8_t>(y)[x];
            if (number == kBackground || number == 0 || number > m_count)
                continue;
            const size_t blob = number - 1u;
            const int v = values.ptr<uint8_t>(y)[x];
            if (v > m_peakValue[blob]) {
                m_peakValue[blob] = v;
                m_peakX[blob] = static_cast<float>(x);
                m_peakY[blob] = static_cast<float>(y);
            }
        }
    }
    if (!refine)
        return;
    for (size_t blob = 0; blob < static_cast<size_t>(m_count); ++blob) {
        double x = 0.0;
        double y = 0.0;
        RefinePeak(correlation, static_cast<int>(m_peakX[blob]), static_cast<int>(m_peakY[blob]),
                   windowSize, &x, &y, &m_peakValue[blob]);
        m_peakX[blob] = static_cast<float>(x);
        m_peakY[blob] = static_cast<float>(y);
    }
}

void CBlobLabeler::RefinePeak(const CMImage& correlation, int x, int y, int windowSize,
                              double* outX, double* outY, int* outValue) {
    const int n = windowSize % 2 == 0 ? windowSize + 1 : windowSize;
    const int half = (n - 1) / 2;
    if (n <= 0 || !correlation.HasImage())
        return;
    m_patch.AllocateFloat(n, n);
    cv::Mat& patch = m_patch.Pixels();
    const int w = correlation.GetWidth();
    const int h = correlation.GetHeight();
    for (int j = 0; j < n; ++j) {
        float* row = patch.ptr<float>(j);
        for (int i = 0; i < n; ++i) {
            row[i] = static_cast<float>(correlation.GetPixel(std::clamp(x - half + i, 0, w - 1),
                                                             std::clamp(y - half + j, 0, h - 1)));
        }
    }
    try {
        cv::resize(patch, m_zoomed.Pixels(), cv::Size(11 * n, 11 * n), 0, 0, cv::INTER_CUBIC);
    } catch (const cv::Exception&) {
        return;
    }
    PeakInfoFloat peak;
    m_zoomed.FindPeakFloat(peak);
    if (outX)
        *outX = (peak.MaxX - 5) * (1.0 / 11.0) + (x - half);
    if (outY)
        *outY = (peak.MaxY - 5) * (1.0 / 11.0) + (y - half);
    if (outValue)
        *outValue = static_cast<int>(peak.MaxValue);
}
