#pragma once

// CMeasurePointNote: a marker on one frame at one image position, for measuring distance and
// speed between frames. While selected or dragged it shows buttons beside the marker: jump to
// its frame (point 1), move it to the current frame (point 2) and a drag handle (point 3); the
// buttons are window positions laid out anew at every draw. Stored as a CDrawJumpNote.
//
// Link pair: calipers between measure points name their ends by (point id, creation serial).
// The id is the creator's; the serial is given at construction from one counter of the
// process, so two points of one video never share a pair even when their ids agree.

#include "views/DrawJumpNote.h"

#include <cstdint>

class CMeasurePointNote : public CDrawJumpNote {
public:
    static constexpr int kType = 15;
    static constexpr double kHitRadiusSquared = 256.0;
    static constexpr int kButtonSpacing = 32;
    enum Part { kMarker = 0, kJumpButton = 1, kMoveHereButton = 2, kDragHandle = 3 };

    CMeasurePointNote();

    // Moves only while the point's frame is the current frame.
    void MovePoint(int index, CDoublePoint p, BOOL snap) override;
    // A measure point keeps its place under arrow keys and body drags unless its index is 0.
    void OffsetPoints(CDoublePoint offset, BOOL snap) override;
    // Tests the marker and the buttons within 16 window pixels of the click (a tie goes to
    // the lower index) and acts on a button's single click.
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;
    // True while a point is being dragged.
    BOOL HasMarkedPoint() const override;
    // While dragging, ends the drag (the view calls it when the action ends); otherwise clears
    // the point marks.
    BOOL ClearPointMarks() override;

    void SetPointId(int id) { m_pointId = id; }
    void GetPointId(int* id) const {
        if (id)
            *id = m_pointId;
    }
    void SetOrigin(double x, double y) { m_origin = {x, y}; }
    COLORREF SetMarkerColor(COLORREF colour);
    void SetMarkerStyle(int shape, int size, int penWidth);
    CPoint GetMarkerScreenPosition() const { return m_marker; }
    // (point id, creation serial); see the class comment.
    void GetLinkPair(uint32_t* pointId, uint32_t* serial) const;
    // Whether a button of this part is shown now.
    bool ShowsPart(int part) const;
    BOOL IsDraggingPoint() const { return m_dragging; }
    void EndDrag() { m_dragging = FALSE; }
    // The "(x, y). Frame n." label.
    QString PointLabel() const;

private:
    int m_dragging = 0;
    CPoint m_marker{-1, -1};
    COLORREF m_markerColour = 0xFFFF00;
    int m_markerShape = 0;
    int m_markerSize = 5;
    int m_markerPenWidth = 3;
    CDoublePoint m_origin{-1.0, -1.0};
    int m_pointId = -1;
    uint32_t m_serial = 0;
    int m_hoverPart = -1;
};
