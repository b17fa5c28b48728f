#pragma once

// IBayerColorProcessor: what the Bayer colour adjustment window drives: the colour filter of a
// recording or the colour processor of a live camera. The window passes values and shows what
// comes back. Rows are red, green and blue, three coefficients each.

#include "platform/wintypes/Rect.h"

#include <QString>
#include <QStringList>

class IBayerColorProcessor {
public:
    virtual ~IBayerColorProcessor() = default;

    // The source's name for the window's title; empty when it has none.
    virtual QString GetName() const = 0;
    // The presets, in the order the window lists them after "Manual Settings".
    virtual QStringList GetPresetNames() const = 0;
    // The rows of preset index, leaving the rows in use alone; false for no such preset.
    virtual bool GetPreset(int index, float rows[3][3]) const = 0;
    // The rows in use, or with factory those of the factory preset.
    virtual void GetCoefficients(float rows[3][3], bool factory) const = 0;
    virtual void SetCoefficients(const float rows[3][3]) = 0;
    // Scales the rows last set (base, for a processor that does not keep them) by the gains in
    // percent; the scaled rows are in use and come back.
    virtual void ApplyGains(const float base[3][3], const int gains[3], float rows[3][3]) = 0;
    // Balances the rows in use (current) on region (image pixels, corners in order) so that it
    // comes out grey: the region's means before the balance (blue, green, red) and the rows in
    // use after it. False when the region holds no pixel of the image.
    virtual bool Balance(const CRect& region, const float current[3][3], int means[3],
                         float rows[3][3]) = 0;
    // Whether the display can show the raw mosaic instead of the colour image.
    virtual bool CanShowMosaic() const = 0;
    virtual bool IsShowingColor() const = 0;
    virtual void ShowColor(bool color) = 0;
};
