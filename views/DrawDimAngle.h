#pragma once

// CDrawDimAngle: the angle at vertex point 1 between the arms to points 0 and 2, drawn as the
// two arms, an arc between them and a label in degrees.

#include "platform/framework/Font.h"
#include "views/DrawObject.h"

#include <QString>

class CDrawDimAngle : public CDrawObject {
    DECLARE_SERIAL(CDrawDimAngle)

public:
    static constexpr int kType = 8;

    CDrawDimAngle();

    // The shared record, then label text, label height, text angle, bold, italic, underline
    // and face (the value is computed again).
    void Serialize(CArchive& ar) override;
    // Moving point 1 or 2 of a complete angle turns the label along the second arm.
    void MovePoint(int index, CDoublePoint p, BOOL snap) override;
    // Inside the triangle of the points hits the body; a point within 4 units wins over it.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // The angle between the arms in degrees, 0...180; 0 with fewer than three points or a
    // zero-length arm.
    static double AngleOf(const CDoublePoint& end0, const CDoublePoint& vertex,
                          const CDoublePoint& end2);
    // Value and (unless custom) the label: "%.2f" and the degree sign.
    void UpdateValue();
    void SetLabel(BOOL custom, const QString& text);
    void SetFont(const QString& face, int height, BOOL bold, BOOL italic, BOOL underline);

    void CopyFrom(const CDrawDimAngle& other);

    double GetValue() const { return m_value; }
    QString GetLabelText() const { return m_labelText; }
    int GetTextAngle() const { return m_textAngle; }
    int GetLabelHeight() const { return m_labelHeight; }
    QString GetFaceName() const { return m_faceName; }
    void GetFont(QString* face, int* height, BOOL* bold, BOOL* italic, BOOL* underline) const {
        if (face)
            *face = m_faceName;
        if (height)
            *height = m_labelHeight;
        if (bold)
            *bold = m_bold;
        if (italic)
            *italic = m_italic;
        if (underline)
            *underline = m_underline;
    }

private:
    QString m_labelText;
    CFont m_labelFont;
    int m_labelHeight = 18;
    int m_textAngle = 0;
    BOOL m_bold = 0;
    BOOL m_italic = 0;
    BOOL m_underline = 0;
    QString m_faceName = QStringLiteral("Arial");
    double m_value = 0.0;
    BOOL m_customLabel = 0;
};
