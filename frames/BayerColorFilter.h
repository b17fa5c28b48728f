#pragma once

// The Bayer colour filter: a stream object over the 8-bit mono stream of a colour camera's raw
// recording. Every frame read through it is demosaiced (blue at even x and even y, red at odd x
// and odd y, green elsewhere; one neighbour per colour) and corrected through a 3 x 3 matrix of
// coefficients in units of 1/128 into 24-bit blue-green-red rows. Switched off, it hands out the
// mosaic as the inner stream has it. Rows keep the inner stream's order, padded to four bytes
// on both sides.

#include "platform/media/AviStreamBase.h"
#include "platform/wintypes/Rect.h"

#include <QString>

#include <mutex>
#include <vector>

class CBayerColorFilter : public CAviStreamBase {
public:
    using Matrix = float[3][3];  // rows R, G, B; each the weights of the red, green, blue sample

    HRESULT Create(LPARAM param1, LPARAM param2) override;
    HRESULT Info(AviStreamInfo* info, LONG size) override;
    LONG FindSample(LONG position, LONG flags) override;
    HRESULT ReadFormat(LONG position, void* format, LONG* size) override;
    HRESULT Read(LONG start, LONG samples, void* buffer, LONG bufferSize, LONG* bytesRead,
                 LONG* samplesRead) override;

    // which 0: the current matrix; any other value: the one the filter was created with.
    void GetCoefficients(float r[3], float g[3], float b[3], int which) const;
    // Sets the current matrix and raises the settings-changed flag.
    void SetCoefficients(const float r[3], const float g[3], const float b[3]);
    bool IsSettingsChanged() const { return m_changed; }
    void SetSettingsChanged(bool changed) { m_changed = changed; }
    // Colour on (demosaic) or off (the mosaic itself); a change raises the settings flag.
    bool IsActive() const { return m_active; }
    void SetActive(bool active);
    // The mean blue, green and red of a rectangle (from the top left of the picture) of the
    // last frame read in colour, the rectangle clamped to the frame; false when no colour frame was
    // read or nothing of the rectangle lies inside it.
    bool RegionMeans(const CRect& region, int means[3]) const;

private:
    friend IAVIStream* CreateBayerColorFilter(IAVIStream* inner, int width, int height,
                                              const float* r, const float* g, const float* b);
    CBayerColorFilter(IAVIStream* inner, int width, int height);
    ~CBayerColorFilter() override;
    void Demosaic(const BYTE* mono, LONG monoStride, BYTE* rgb, LONG rgbStride) const;

    IAVIStream* m_inner;  // holds one reference
    int m_width;
    int m_height;
    bool m_bottomUp = true;  // the inner stream's rows, as its format says
    bool m_active = true;
    bool m_changed = false;
    Matrix m_created;
    Matrix m_current;
    int m_offsets[3] = {0, 0, 0};
    std::vector<BYTE> m_mono;
    mutable std::mutex m_lastMutex;
    std::vector<BYTE> m_lastRgb;  // the last colour frame, for balancing on a region
    LONG m_lastStride = 0;
};

// The filter over inner (which it takes a reference of) for frames of width x height, or null
// when inner is null or the size is not positive. A null row keeps the default row (the
// "Factory Preset (Tungsten)" matrix).
IAVIStream* CreateBayerColorFilter(IAVIStream* inner, int width, int height, const float* r,
                                   const float* g, const float* b);
// The filter behind a stream pointer, or null.
CBayerColorFilter* AsBayerColorFilter(IAVIStream* stream);
// Preset 0 "Factory Preset (Tungsten)" and 1 "Daylight": 1 with its name and rows; 0 for any
// other number.
int GetBayerPreset(int number, QString* name, float r[3], float g[3], float b[3]);
