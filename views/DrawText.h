#pragma once

// CDrawText: a line of text in a chosen font, anchored at its first point and turned by the
// direction of its second; drawing keeps the second point at the end of the written text.

#include "platform/framework/Font.h"
#include "views/DrawObject.h"

#include <QString>

class CDrawText : public CDrawObject {
    DECLARE_SERIAL(CDrawText)

public:
    static constexpr int kType = 6;
    static constexpr int kBoldWeight = 700;

    CDrawText();

    // The shared record, then the text, height, escapement, bold, italic, underline and face.
    void Serialize(CArchive& ar) override;
    // Point 1 never moves: dragging it turns the text toward the drag (the escapement, in
    // tenths of a degree counter-clockwise on a y axis that points down).
    void MovePoint(int index, CDoublePoint p, BOOL snap) override;
    // Inside the text box hits the body; a point within 4 units wins over the body.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    // Writes the text at point 0 at the zoomed height, underlines it with the halo when
    // selected, and moves point 1 (without marking the object modified) to where the text
    // ended.
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // The box the text occupies, in the object's units: its base line runs from point 0 to
    // point 1 (the end of the written text) and it reaches the font height below that line
    // (`first` is point 0, `second` the far corner). False with fewer than two points.
    virtual BOOL GetTextBox(CDoublePoint* first, CDoublePoint* second) const;
    // Display points 0 and (when asked) 1, truncated; false without points.
    virtual BOOL GetAnchorPoints(CDoublePoint* first, CDoublePoint* second,
                                 const CZoomTransform* t) const;

    // Writes text from `at` along the escapement in the object's font settings at the given
    // height, over an opaque background of bkColor or a transparent one. Returns where the
    // text ended. The dimensions and notes write their labels with it.
    static CDoublePoint DrawTextAt(CDC* dc, CDrawText* fontSource, CDoublePoint at,
                                   const QString& text, COLORREF textColor, COLORREF bkColor,
                                   BOOL opaqueBackground, int height);

    // The same for text that keeps its font settings elsewhere (the dimensions' labels): font
    // is made anew from the settings and stays selected in nothing afterwards.
    static CDoublePoint DrawTextWithFont(CDC* dc, CFont& font, CDoublePoint at, const QString& text,
                                         const QString& face, int height, int escapement, BOOL bold,
                                         BOOL italic, BOOL underline, COLORREF textColor,
                                         COLORREF bkColor, BOOL opaqueBackground);

    void SetText(const QString& text);
    QString GetText() const { return m_text; }
    // drawOnly false (properties, loading): stores the face and the five values and makes the
    // font anew. drawOnly true (drawing at a zoomed size): stores nothing, and keeps the font
    // while its height and escapement are the ones asked for.
    void SetFont(const QString& face, int height, int escapement, BOOL bold, BOOL italic,
                 BOOL underline, BOOL drawOnly);
    void GetFont(QString* face, int* height, int* escapement, int* bold, int* italic,
                 int* underline) const;

    void CopyFrom(const CDrawText& other);
    // The font made last; not created before the first SetFont.
    const CFont& GetFontObject() const { return m_font; }

private:
    static CDoublePoint WriteText(CDC* dc, CFont& font, CDoublePoint at, const QString& text,
                                  COLORREF textColor, COLORREF bkColor, BOOL opaqueBackground);
    void CreateFontFrom(const QString& face, int height, int escapement, BOOL bold, BOOL italic,
                        BOOL underline);

    QString m_text;
    int m_height = 18;
    int m_escapement = 0;
    BOOL m_bold = 0;
    BOOL m_italic = 0;
    BOOL m_underline = 0;
    QString m_faceName = QStringLiteral("Arial");
    CFont m_font;
};
