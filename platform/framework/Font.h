#pragma once

// CFont: a font described by a LOGFONT, drawn by Qt. Sizes are whole pixels and do not depend
// on any device's resolution, so text measures and renders the same on every target.

#include "platform/framework/GdiConstants.h"
#include "platform/framework/GdiObject.h"
#include "platform/framework/GdiTypes.h"

#include <QFont>

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)

public:
    CFont() = default;

    // Always succeeds for a non-null description; a face that is not installed falls back to
    // the nearest installed family.
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, const QString& faceName);

    // Copies the description as created; returns the bytes written, 0 when not created.
    int GetLogFont(LOGFONT* logFont) const;
    const LOGFONT& GetLogFontRef() const { return m_logFont; }

    // The Qt font that draws this font upright (escapement is applied by the device context),
    // its pixel size being the character (em) height.
    QFont GetQFont() const;
    // Cell and character heights by the sign rule of lfHeight, and the widths.
    void GetTextMetrics(TEXTMETRIC* metrics) const;
    // Character (em) height in pixels.
    int GetEmHeight() const;

    // Cell height used for a height of 0.
    static constexpr int kDefaultCellHeight = 16;

protected:
    void Reset() override { m_logFont = {}; }

private:
    LOGFONT m_logFont;
};
