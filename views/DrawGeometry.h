#pragma once

// Plane geometry shared by the drawing objects: segment hits, projections, line crossings,
// polygon outlines, B-spline curves, point-list bounds, circles through points and rays
// clipped to rectangles.

#include "platform/wintypes/Point.h"
#include "platform/wintypes/Rect.h"
#include "views/DoublePoint.h"

#include <vector>

namespace DrawGeometry {

// Tenths of a degree per radian with the sign turned for a y axis that points down
// (1800 / 3.14159, as stored files were made with it).
inline constexpr double kTenthDegreesPerRadianDown = -572.9582790879778;

// Whether q lies within (thickness + 4) / 2 (integer division) of the segment p1-p2 and its
// projection falls between the ends; a zero-length segment never hits.
bool HitSegment(const CDoublePoint& q, const CDoublePoint& p1, const CDoublePoint& p2,
                int thickness);

// The signed distance of q from the line p1-p2 (0.0 for a zero-length line); on request the
// foot of the perpendicular and whether it falls within the segment.
double ProjectOnLine(const CDoublePoint& q, const CDoublePoint& p1, const CDoublePoint& p2,
                     CDoublePoint* foot = nullptr, bool* withinSegment = nullptr);

// Where the lines a1-a2 and b1-b2 meet; false for parallel lines and, when withinSegments,
// for a meeting point outside either segment's bounding box (widened by 1e-8).
bool IntersectLines(const CDoublePoint& a1, const CDoublePoint& a2, const CDoublePoint& b1,
                    const CDoublePoint& b2, bool withinSegments, CDoublePoint* at = nullptr);

// |p2 - p1| x k; 0.0 when either point is missing.
double ScaledDistance(const CDoublePoint* p1, const CDoublePoint* p2, double k);

// The point at fraction f along p1-p2, moved sideways by d1 (or by d2 on the other side, when
// `side` lies on the negative side of the line); each part is truncated separately. The side
// used (+1 or -1) goes to *sideOut when given.
CDoublePoint OffsetPoint(const CDoublePoint& p1, const CDoublePoint& p2, double f, double d1,
                         double d2, const CDoublePoint* side = nullptr, int* sideOut = nullptr);

// The smallest and largest x and y of the list, started from its first point. False, with the
// outputs untouched, for a missing or empty list.
bool Bounds(const std::vector<CDoublePoint>* points, double* minX, double* minY, double* maxX,
            double* maxY);

// dst receives every point of src moved back by (dx, dy).
void ShiftedCopy(const std::vector<CDoublePoint>& src, std::vector<CDoublePoint>& dst, double dx,
                 double dy);

// Whether the pixel at p (its coordinates truncated) lies inside the closed outline of the
// truncated points by the even-odd rule: its centre must be, so that, as in a polygon region,
// the left and top edges belong to the outline and the right and bottom ones do not. Works on
// the points alone, with no memory for a region however far they reach.
bool PixelInsideOutline(const std::vector<CDoublePoint>& points, const CDoublePoint& p);

// Whether two non-adjacent edges of the closed outline cross; under four points never.
bool OutlineCrossesItself(const std::vector<CDoublePoint>& points);

// The area centroid of an outline whose last point repeats the first; (-1, -1) when it
// encloses no area. Returns the signed area.
double AreaCentroid(const std::vector<CDoublePoint>& closedOutline, CDoublePoint* centroid);

// The quadratic B-spline of the control points at parameter t, with straight pieces before
// t = 2 and after t = n. Nothing is written for an empty list.
void EvaluateBSpline(double t, const std::vector<CDoublePoint>& control, double* x, double* y);

// The sampled curve of the control points in steps of 0.1; under three control points the
// control points themselves. A closed curve ends where it began.
std::vector<CDoublePoint> SampleBSpline(const std::vector<CDoublePoint>& control, bool closed);

// The inverse of the row-major 3x3 matrix m: the adjugate over the determinant. False, with
// out untouched, when the determinant is exactly 0.
bool Invert3x3(const double m[9], double out[9]);

// The circle through the first three of `count` points: false (outputs untouched) with fewer
// than three points, for points on one line or coincident ones, or when the fit does not
// give a finite, real radius.
bool CircleThroughPoints(const CDoublePoint* points, int count, CDoublePoint* centre,
                         double* radius);

// Where the ray from p along (dx, dy) leaves r, in whole pixels; (-1, -1) when p lies outside r
// (its right and bottom edges count as inside). A zero direction leaves p where it is.
CPoint ClipRayToRect(const CPoint& p, const CRect& r, double dx, double dy);

}  // namespace DrawGeometry
