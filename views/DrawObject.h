#pragma once

// CDrawObject: base of every annotation shape: type code, frame rule, the point list in double
// precision with one mark per point, colours and line style, selection and modified state, and
// the shared archive record of the annotation file.
//
// Setters that change a value return the old one and mark the object modified. Hit tests
// report -1 (miss), a point index, or kHitBody. A point is hit within 4 units (squared
// distance below 16). Snapping cuts coordinates to 0.1 by truncation.

#include "platform/framework/Object.h"
#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/Rect.h"
#include "views/DoublePoint.h"
#include "views/DrawPropertiesHandler.h"

#include <functional>
#include <memory>
#include <vector>

class CArchive;
class CDC;
class CPen;
class CZoomTransform;

class CDrawObject : public CObject {
    DECLARE_DYNAMIC(CDrawObject)

public:
    static constexpr int kHitBody = 0x7FFFFFFF;
    static constexpr int kHitNone = -1;
    // The schema of every concrete shape's record.
    static constexpr UINT kSchema = 3;
    static constexpr COLORREF kHaloColor = 0x00FEFE;
    static constexpr int kHaloExtraWidth = 5;
    static constexpr COLORREF kMarkedColor = 0x0000FF;
    static constexpr COLORREF kHandleColor = 0xFFFF00;
    static constexpr int kTranslucentMargin = 25;
    // An annotation file may hold any value; what is read is bounded at once, so that the
    // drawing arithmetic on it (zooming, pen widths, handles and halos added to points, font
    // metrics, rectangles in int) cannot overflow: coordinates lie within +-kMaxStoredCoordinate
    // (far beyond any image or window; NaN becomes 0), line thickness and font height within
    // +-kMaxStoredExtent. Shapes with values of their own bound them with these too.
    static constexpr double kMaxStoredCoordinate = 1 << 20;
    static constexpr int kMaxStoredExtent = 1000;
    static double StoredCoordinate(double v);
    static int StoredExtent(int v);

    ~CDrawObject() override;

    // Reads or writes the record shared by all shapes (frame, colours, line, filled, points).
    // Clears the modified flag either way. A record newer than kSchema is refused: the user
    // is told, then CArchiveException badSchema is thrown.
    void Serialize(CArchive& ar) override;

    virtual int GetType() const { return m_type; }
    virtual void SetFrame(int frame);
    virtual int GetFrame() const { return m_frame; }
    virtual BOOL IsAlwaysDrawn() const { return m_alwaysDrawn; }
    // Whether the frame rule shows the object on `frame`: -1 every frame, n >= 0 frame n only,
    // v <= -2 every frame from -2 - v on.
    bool ShowsOnFrame(int frame) const;

    virtual int GetPointCount() const { return static_cast<int>(m_points.size()); }
    // Grows the list with (0, 0) points when index is at or past the end. Marks modified only
    // when asked, and returns that argument. A negative index throws CInvalidArgException.
    virtual BOOL SetPoint(int index, CDoublePoint p, BOOL markModified, BOOL snap);
    // The new point count, or -1 (nothing changed) for an index at or past the end. A negative
    // index throws CInvalidArgException.
    virtual int RemovePoint(int index);
    virtual int RemoveAllPoints();
    virtual void SetIndex(int index);
    // -1 when no non-negative index was stored.
    virtual int GetIndex() const;
    virtual void MovePointInSpace(int index, CDoublePoint imagePoint, CDoublePoint windowPoint,
                                  BOOL snap);
    // Replaces a point; an index outside the list does nothing.
    virtual void MovePoint(int index, CDoublePoint p, BOOL snap);
    virtual void OffsetPointsInSpace(CDoublePoint imageOffset, CDoublePoint windowOffset,
                                     BOOL snap);
    // Moves every point by the offset truncated to whole units.
    virtual void OffsetPoints(CDoublePoint offset, BOOL snap);

    virtual COLORREF SetLineColor(COLORREF color);
    virtual COLORREF GetLineColor() const { return m_lineColor; }
    virtual COLORREF SetFillColor(COLORREF color);
    virtual COLORREF GetFillColor() const { return m_fillColor; }
    virtual COLORREF SetTextColor(COLORREF color);
    virtual COLORREF GetTextColor() const { return m_textColor; }
    virtual int SetLineThickness(int thickness);
    virtual int GetLineThickness() const { return m_lineThickness; }
    virtual int SetLineStyle(int style);
    virtual int GetLineStyle() const { return m_lineStyle; }
    virtual BOOL SetFilled(BOOL filled);
    virtual BOOL GetFilled() const { return m_filled; }

    // (-1, -1) outside the list.
    virtual CDoublePoint GetPoint(int index, BOOL snap) const;
    // The point in window coordinates: mapped through t when the points are image points,
    // truncated to whole numbers when `round`. (-1, -1) outside the list.
    virtual CDoublePoint GetDisplayPoint(int index, const CZoomTransform* t, BOOL round) const;

    // Window to image through t (a null t maps nothing); the Rounded form truncates.
    static CDoublePoint MapPointRounded(CDoublePoint p, const CZoomTransform* t);
    static CDoublePoint MapPoint(CDoublePoint p, const CZoomTransform* t);
    // Image to window in the given mode (a null t maps nothing); the Rounded form truncates.
    static CDoublePoint MapPointExRounded(CDoublePoint p, const CZoomTransform* t, int mode);
    static CDoublePoint MapPointEx(CDoublePoint p, const CZoomTransform* t, int mode);

    // Records the click, hit-tests with the point of the object's space and, on a hit with
    // openProperties and unless suppressed once, shows the properties.
    virtual BOOL HitTestEx(CDoublePoint imagePoint, CDoublePoint windowPoint, int* hitPart,
                           BOOL openProperties, int word2, int word3);
    // Clears the point marks; *hitPart (when given) gets -1, a point index (whose mark is then
    // set) or kHitBody.
    virtual BOOL HitTest(CDoublePoint p, int* hitPart) = 0;
    // Paints the shape on dc; t maps image points to the window (null maps nothing). The
    // third argument is the view's, unused by the shapes here.
    virtual void Draw(CDC* dc, const CZoomTransform* t, int viewState) = 0;

    virtual void SetPointInSpace(int index, CDoublePoint imagePoint, CDoublePoint windowPoint,
                                 BOOL markModified, BOOL snap);
    virtual void SetCurrentFrame(int frame) { m_currentFrame = frame; }
    virtual int SetOwnerPointer(void* owner);
    // Takes ownership; null leaves the object without properties editing.
    virtual int SetPropertiesHandler(CDrawPropertiesHandler* handler);
    virtual int ShowProperties();
    bool HasPropertiesHandler() const { return m_propertiesHandler != nullptr; }

    // The filled square handle of one point: red when marked, cyan otherwise; side and place
    // grow with `width` and the zoom. Points at negative display positions are not drawn.
    virtual void DrawPointHandle(CDC* dc, int index, int width, const CZoomTransform* t);
    // The plus-shaped outline handle of one point, in the same colours.
    virtual void DrawPointMarker(CDC* dc, int index, int width, const CZoomTransform* t);
    // Every point's handle (marker), unless the display flag is clear.
    virtual void DrawPointHandles(CDC* dc, int width, const CZoomTransform* t);
    virtual void DrawPointMarkers(CDC* dc, int width, const CZoomTransform* t);
    // A small cyan cross at `at` (window coordinates), or at the mean of the display points;
    // nothing when the display flag is clear.
    virtual void DrawCentreMark(CDC* dc, int unused, const CZoomTransform* t,
                                const CDoublePoint* at);
    // A colour that stands out against c: channels pushed by 128 (direction >= 0) or -128.
    static COLORREF ContrastColor(COLORREF c, int direction);
    virtual BOOL HasMarkedPoint() const;
    // Returns whether any mark was set.
    virtual BOOL ClearPointMarks();
    virtual BOOL SetSelected(BOOL selected);
    virtual BOOL IsSelected() const { return m_selected; }
    virtual BOOL SetDisplayFlag(BOOL display);
    virtual BOOL GetDisplayFlag() const { return m_displayFlag; }
    virtual void SetModified(BOOL modified) { m_modified = modified; }
    virtual BOOL IsModified() const { return m_modified; }

    // Copies the common fields and, from another object, the points and marks; then marks
    // modified.
    void CopyFrom(const CDrawObject& other);
    void SetDrawState(int word) { m_drawState = word; }
    void SetDrawState2(int word) { m_drawState2 = word; }
    void SetDrawStatePair(int first, int second);
    void SetImageSpace(BOOL imageSpace) { m_imageSpace = imageSpace; }
    BOOL IsImageSpace() const { return m_imageSpace; }
    void SetUnitScale(BOOL unitScale) { m_unitScale = unitScale; }
    BOOL IsUnitScale() const { return m_unitScale; }
    void* GetOwnerPointer() const { return m_owner; }
    int GetCurrentFrame() const { return m_currentFrame; }

    // Display points 0 and 1 truncated; false with fewer than two points.
    BOOL GetDisplayEnds(CDoublePoint* first, CDoublePoint* second, const CZoomTransform* t) const;
    // Display points 0 and 1 as left-top and right-bottom, not normalised.
    BOOL GetDisplayRect(CRect* r, const CZoomTransform* t) const;
    // Stored points 0 and 1, snapped and truncated, not normalised.
    BOOL GetPointRect(CRect* r) const;
    // out receives every stored point (GetPoints) or every display point (GetMappedPoints);
    // whether it holds more than one point.
    BOOL GetPoints(std::vector<CDoublePoint>* out) const;
    BOOL GetMappedPoints(std::vector<CDoublePoint>* out, const CZoomTransform* t) const;

    // The zoom that pen widths follow: the transform's scale when the points are image points
    // and the scale is set, else 1.0.
    double DrawScale(const CZoomTransform* t) const;
    // A geometric pen of the style and colour, at least 1 pixel wide.
    static void CreateGeometricPen(CPen& pen, int style, int width, COLORREF color);
    // Optionally filled opaquely, then outlined corner to corner.
    static void DrawRectOutline(CDC* dc, const CRect* r, BOOL filled, int style, int width,
                                COLORREF line, COLORREF fill);
    // Filled with the fill colour, or only its outline.
    static void DrawEllipseShape(CDC* dc, const CRect* r, BOOL filled, int style, int width,
                                 COLORREF line, COLORREF fill);
    // Draws through a memory copy of the pixels under `box` (widened by 25 on every side and
    // kept within the target) and blends the copy back at the constant alpha (of 255). `draw`
    // receives the memory device context and the shift from target to memory coordinates.
    static void DrawTranslucent(CDC* dc, const CRect& box, int alpha,
                                const std::function<void(CDC& memory, CPoint shift)>& draw);

    // v cut to a multiple of 0.1 toward zero.
    static double Snap(double v);
    static CDoublePoint Snap(const CDoublePoint& p) { return {Snap(p.x), Snap(p.y)}; }

protected:
    CDrawObject();

    // The zoom that handle sizes (and the sizes of objects that keep their size on the screen)
    // follow: DrawScale, but 1.0 with the unit-scale flag.
    double HandleScale(const CZoomTransform* t) const;

    // The last point, searching from the end, within 4 units of p: its index goes to *hitPart
    // and its mark is set. Searches `points` when given, else the stored points.
    bool HitVertex(const CDoublePoint& p, int* hitPart,
                   const std::vector<CDoublePoint>* points = nullptr);
    void ResetHit(int* hitPart);
    // The hit test of shapes whose own points make their outline: inside the polygon of the
    // truncated points (even-odd rule) hits the body, a point within 4 units wins over it;
    // with one point or none nothing is hit.
    BOOL HitPointOutline(const CDoublePoint& p, int* hitPart);
    // Inserts a point and its cleared mark at index (0..count).
    void InsertPointAt(int index, const CDoublePoint& p);
    const std::vector<CDoublePoint>& Points() const { return m_points; }
    // What the last HitTestEx was asked: a double-click (it may open the properties) and a
    // single click of the select tool; and where it was made in window pixels.
    BOOL WasDoubleClickTest() const { return m_lastHitWords[0]; }
    BOOL WasSingleClickTest() const { return m_lastHitWords[1]; }
    CDoublePoint LastHitWindowPoint() const { return m_lastHitWindow; }
    // Called by a hit test whose click acted on a part of the object (a button, a handle):
    // this double-click opens no properties.
    void SetClickHandled() { m_propertiesSuppressed = 1; }
    void SetAlwaysDrawn(BOOL always) { m_alwaysDrawn = always; }

    int m_type = 0;

private:
    // Sets a drawing attribute, marks the object modified and returns the old value.
    template <class T>
    T ReplaceAttribute(T& field, T value) {
        const T old = field;
        field = value;
        SetModified(TRUE);
        return old;
    }

    void* m_owner = nullptr;
    std::unique_ptr<CDrawPropertiesHandler> m_propertiesHandler;
    int m_frame = -1;
    std::vector<CDoublePoint> m_points;
    std::vector<DWORD> m_marks;
    BOOL m_selected = 0;
    COLORREF m_lineColor = 0x0000FF;
    COLORREF m_fillColor = 0x00FF00;
    COLORREF m_textColor = 0xFFFFFF;
    int m_lineThickness = 3;
    int m_lineStyle = 0;
    BOOL m_filled = 1;
    int m_index = -1;
    BOOL m_indexValid = 0;
    BOOL m_displayFlag = 1;
    BOOL m_modified = 1;
    int m_drawState = 0;
    int m_drawState2 = 0;
    int m_drawStatePair[2] = {0, 0};
    BOOL m_imageSpace = 1;
    BOOL m_unitScale = 0;
    int m_currentFrame = -1;
    int m_lastHitWords[3] = {0, 0, 0};
    int m_propertiesSuppressed = 0;
    BOOL m_alwaysDrawn = 0;
    CDoublePoint m_lastHitImage;
    CDoublePoint m_lastHitWindow;
};
