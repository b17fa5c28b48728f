#pragma once

// CDrawDimLength: a measured distance between points 0 and 1, drawn as an engineering
// dimension: two extension lines, a dimension line with arrows at both ends and a label with
// the value, offset to the side of point 2 (the offset handle). The value is the pixel
// distance times a scale factor set by the calibration; the class knows no units. Calipers and
// the length calibration build on its geometry, record and hit test.

#include "platform/framework/Font.h"
#include "views/DrawObject.h"

#include <QString>

#include <array>

class CDrawDimLength : public CDrawObject {
    DECLARE_SERIAL(CDrawDimLength)

public:
    static constexpr int kType = 7;
    static constexpr int kConstructionPoints = 9;
    // The offset argument that means "the stored offset".
    static constexpr double kStoredOffset = -9999.9999;

    using Construction = std::array<CDoublePoint, kConstructionPoints>;

    CDrawDimLength();

    // The shared record, then label text, label height, text angle, bold, italic, underline,
    // face, label position and offset. Value, scale, custom and plain-line flags are the
    // owner's to set again after loading.
    void Serialize(CArchive& ar) override;
    // Keeps the text angle on the direction of points 0-1; moving point 2 sets the offset to
    // its distance from point 0.
    void MovePoint(int index, CDoublePoint p, BOOL snap) override;
    // Inside the outline hits the body; a point within 4 units wins over the body.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    // The halo when selected, extension and dimension lines (or the plain line), the label at
    // construction point 4, then the handles; point 2 is put back on the dimension line.
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // The closed outline (construction points 1, 3, 5, 7 of the stored points, unzoomed) used
    // for hit testing; false with fewer than one point.
    virtual BOOL GetOutline(std::vector<CDoublePoint>* out, double offset, BOOL flag) const;
    // The nine construction points of the display points at the transform's zoom; offset
    // kStoredOffset means the stored offset. False with fewer than one point.
    virtual BOOL GetGeometry(Construction* out, const CZoomTransform* t, double offset,
                             BOOL flag) const;

    // custom 0: the value becomes scale x |point 1 - point 0| and the label its "%.4g" form;
    // otherwise the label becomes text and is never reformatted.
    void SetLabel(BOOL custom, const QString& text);
    // Computes value and label and measures the label (for the label position) in a small
    // memory picture, painting nothing on dc.
    void RenderLabel(CDC* dc, const CZoomTransform* t, BOOL flag);

    void CopyFrom(const CDrawDimLength& other);

    QString GetLabelText() const { return m_labelText; }
    double GetValue() const { return m_value; }
    double GetOffset() const { return m_offset; }
    double GetLabelPosition() const { return m_labelPosition; }
    int GetTextAngle() const { return m_textAngle; }
    int GetLabelHeight() const { return m_labelHeight; }
    QString GetFaceName() const { return m_faceName; }
    void SetScaleFactor(double scale) { m_scaleFactor = scale; }
    double GetScaleFactor() const { return m_scaleFactor; }
    void SetPlainLine(BOOL plain) { m_plainLine = plain; }
    BOOL GetPlainLine() const { return m_plainLine; }
    BOOL IsCustomLabel() const { return m_customLabel; }
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
    // The label's face, height and flags (the text angle follows the points).
    void SetFont(const QString& face, int height, BOOL bold, BOOL italic, BOOL underline);

protected:
    // Value and (unless custom) label text from the current points.
    void UpdateValue();
    // Writes the label at `at`; returns the length of the written text along its base line.
    double DrawLabel(CDC* dc, const CDoublePoint& at, double zoom);
    // The construction from the given points (p2 only with hasThird) at zoom z.
    Construction Construct(const CDoublePoint& p0, const CDoublePoint& p1, const CDoublePoint& p2,
                           bool hasThird, double z, double offset, BOOL flag) const;

    QString m_labelText;
    CFont m_labelFont;
    int m_labelHeight = 18;
    int m_textAngle = 0;
    BOOL m_bold = 0;
    BOOL m_italic = 0;
    BOOL m_underline = 0;
    QString m_faceName = QStringLiteral("Arial");
    double m_value = 0.0;
    double m_labelPosition = 0.1;
    double m_offset = 15.0;
    double m_scaleFactor = 1.0;
    BOOL m_customLabel = 0;
    BOOL m_plainLine = 0;
};
