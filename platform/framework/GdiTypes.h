#pragma once

// The records the drawing interface exchanges with its callers: logical font and brush
// descriptions, blend parameters, text metrics and bitmap sizes. In memory only.

#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

// A font as asked for. lfHeight < 0 asks for a character (em) height of -lfHeight pixels,
// lfHeight > 0 for a cell height (ascent + descent, internal leading included), 0 for the
// default size. lfEscapement is the angle of the text line in tenths of a degree,
// counter-clockwise; the glyphs turn with it. Width, orientation, character set, precision
// and pitch are kept as given but do not change the drawing.
struct LOGFONT {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    QString lfFaceName;
};

struct LOGBRUSH {
    UINT lbStyle = 0;
    COLORREF lbColor = 0;
    uintptr_t lbHatch = 0;
};

struct BLENDFUNCTION {
    BYTE BlendOp = 0;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = 0;
};

// Metrics of the font selected into a device context, in pixels.
struct TEXTMETRIC {
    LONG tmHeight = 0;  // Cell height: tmAscent + tmDescent.
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;  // tmHeight less the character (em) height.
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
};

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 0;
};
