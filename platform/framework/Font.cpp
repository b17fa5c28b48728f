#include "platform/framework/Font.h"

#include <QFontMetricsF>
#include <QHash>
#include <QMutex>

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

namespace {

// Ascent and descent of a face per pixel of character height, measured once at a large size
// so that hinting does not round them.
struct DesignMetrics {
    double ascent = 0.0;
    double descent = 0.0;
};

QFont BaseFont(const LOGFONT& lf) {
    QFont font;
    if (lf.lfFaceName.isEmpty()) {
        font.setFamily("Arial");
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamily(lf.lfFaceName);
    }
    const int weight =
        lf.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<int>(lf.lfWeight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    font.setKerning(false);
    font.setStyleStrategy(lf.lfQuality == NONANTIALIASED_QUALITY ? QFont::NoAntialias
                                                                 : QFont::PreferAntialias);
    return font;
}

// Fonts are also measured off the UI thread (text stamped into frames while saving).
DesignMetrics MetricsOf(const QFont& base) {
    static QMutex mutex;
    static QHash<QString, DesignMetrics> cache;
    const QMutexLocker lock(&mutex);
    const QString key = base.key();
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    constexpr int kProbePixels = 1000;
    QFont probe(base);
    probe.setPixelSize(kProbePixels);
    const QFontMetricsF fm(probe);
    DesignMetrics m{fm.ascent() / kProbePixels, fm.descent() / kProbePixels};
    if (m.ascent + m.descent <= 0.0)
        m = {0.8, 0.2};
    cache.insert(key, m);
    return m;
}

struct Heights {
    int em;
    int ascent;
    int descent;
};

Heights HeightsOf(const LOGFONT& lf) {
    const DesignMetrics m = MetricsOf(BaseFont(lf));
    const int asked = lf.lfHeight == 0 ? CFont::kDefaultCellHeight : lf.lfHeight;
    if (asked < 0) {
        const int em = -asked;
        return {em, static_cast<int>(std::lround(em * m.ascent)),
                static_cast<int>(std::lround(em * m.descent))};
    }
    const double cellPerEm = m.ascent + m.descent;
    const int em = std::max(1, static_cast<int>(std::lround(asked / cellPerEm)));
    const int ascent = static_cast<int>(std::lround(asked * m.ascent / cellPerEm));
    return {em, ascent, asked - ascent};
}

}  // namespace

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont) {
    if (logFont == nullptr)
        return FALSE;
    m_logFont = *logFont;
    m_logFont.lfFaceName.truncate(LF_FACESIZE - 1);
    MarkCreated();
    return TRUE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                       const QString& faceName) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    lf.lfFaceName = faceName;
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* logFont) const {
    if (logFont == nullptr || GetSafeHandle() == nullptr)
        return 0;
    *logFont = m_logFont;
    return static_cast<int>(sizeof(LOGFONT));
}

QFont CFont::GetQFont() const {
    QFont font = BaseFont(m_logFont);
    font.setPixelSize(HeightsOf(m_logFont).em);
    return font;
}

int CFont::GetEmHeight() const {
    return HeightsOf(m_logFont).em;
}

void CFont::GetTextMetrics(TEXTMETRIC* metrics) const {
    if (metrics == nullptr)
        return;
    const Heights h = HeightsOf(m_logFont);
    const QFontMetricsF fm(GetQFont());
    *metrics = {};
    metrics->tmAscent = h.ascent;
    metrics->tmDescent = h.descent;
    metrics->tmHeight = h.ascent + h.descent;
    metrics->tmInternalLeading = metrics->tmHeight - h.em;
    metrics->tmAveCharWidth = static_cast<LONG>(std::lround(fm.averageCharWidth()));
    metrics->tmMaxCharWidth = static_cast<LONG>(std::lround(fm.maxWidth()));
    metrics->tmWeight = m_logFont.lfWeight == FW_DONTCARE ? FW_NORMAL : m_logFont.lfWeight;
    metrics->tmItalic = m_logFont.lfItalic;
    metrics->tmUnderlined = m_logFont.lfUnderline;
    metrics->tmStruckOut = m_logFont.lfStrikeOut;
}
