#pragma once

// CDrawText: a line of text in a chosen font, anchored at its first point and turned by the
// direction of its second; drawing keeps the second point at the end of the written text.

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

    // The box the text occupies, in the object's units: its base line runs from point 0 to
    // point 1 (the end of the written text) and it reaches the font height below that line
    // (`first` is point 0, `second` the far corner). False with fewer than two points.
    virtual BOOL GetTextBox(CDoublePoint* first, CDoublePoint* second) const;

    void SetText(const QString& text);
    QString GetText() const { return m_text; }
    // Stores the face and the five values (drawOnly false, as the properties and loading do).
    void SetFont(const QString& face, int height, int escapement, BOOL bold, BOOL italic,
                 BOOL underline, BOOL drawOnly);
    void GetFont(QString* face, int* height, int* escapement, int* bold, int* italic,
                 int* underline) const;

    void CopyFrom(const CDrawText& other);

private:
    QString m_text;
    int m_height = 18;
    int m_escapement = 0;
    BOOL m_bold = 0;
    BOOL m_italic = 0;
    BOOL m_underline = 0;
    QString m_faceName = QStringLiteral("Arial");
};
