#include "views/DrawGeometry.h"

#include <algorithm>
#include <cmath>

namespace DrawGeometry {

namespace {

constexpr double kBoxWidening = 1e-8;

bool WithinBox(const CDoublePoint& p, const CDoublePoint& a, const CDoublePoint& b) {
    return p.x >= std::min(a.x, b.x) - kBoxWidening && p.x <= std::max(a.x, b.x) + kBoxWidening &&
           p.y >= std::min(a.y, b.y) - kBoxWidening && p.y <= std::max(a.y, b.y) + kBoxWidening;
}

// One quadratic B-spline basis function over [0, 3).
double Basis(double u) {
    if (u < 0.0 || u >= 3.0)
        return 0.0;
    if (u < 1.0)
        return u * u / 2.0;
    if (u < 2.0)
        return -u * u + 3.0 * u - 1.5;
    return (u - 3.0) * (u - 3.0) / 2.0;
}

CDoublePoint Evaluate(double t, const std::vector<CDoublePoint>& control) {
    CDoublePoint p;
    EvaluateBSpline(t, control, &p.x, &p.y);
    return p;
}

}  // namespace

bool HitSegment(const CDoublePoint& q, const CDoublePoint& p1, const CDoublePoint& p2,
                int thickness) {
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0.0)
        return false;
    const int tolerance = (thickness + 4) / 2;
    const double across = std::fabs((q.x - p1.x) * dy - (q.y - p1.y) * dx) / length;
    if (!(across < tolerance))
        return false;
    const double along = ((q.x - p1.x) * dx + (q.y - p1.y) * dy) / length;
    return along >= 0.0 && along <= length;
}

double ProjectOnLine(const CDoublePoint& q, const CDoublePoint& p1, const CDoublePoint& p2,
                     CDoublePoint* foot, bool* withinSegment) {
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double lengthSq = dx * dx + dy * dy;
    const double length = std::sqrt(lengthSq);
    const double dot = (q.x - p1.x) * dx + (q.y - p1.y) * dy;
    if (foot) {
        const double f = lengthSq > 0.0 ? dot / lengthSq : 0.0;
        *foot = {p1.x + f * dx, p1.y + f * dy};
    }
    if (withinSegment)
        *withinSegment = length > 0.0 && dot >= 0.0 && dot / length <= length;
    if (length == 0.0)
        return 0.0;
    return ((q.y - p1.y) * dx - (q.x - p1.x) * dy) / length;
}

bool IntersectLines(const CDoublePoint& a1, const CDoublePoint& a2, const CDoublePoint& b1,
                    const CDoublePoint& b2, bool withinSegments, CDoublePoint* at) {
    const bool aVertical = a1.x == a2.x;
    const bool bVertical = b1.x == b2.x;
    if (aVertical && bVertical)
        return false;
    CDoublePoint p;
    if (aVertical) {
        const double mb = (b2.y - b1.y) / (b2.x - b1.x);
        p = {a1.x, b1.y + mb * (a1.x - b1.x)};
    } else if (bVertical) {
        const double ma = (a2.y - a1.y) / (a2.x - a1.x);
        p = {b1.x, a1.y + ma * (b1.x - a1.x)};
    } else {
        const double ma = (a2.y - a1.y) / (a2.x - a1.x);
        const double mb = (b2.y - b1.y) / (b2.x - b1.x);
        if (ma == mb)
            return false;
        p.x = (b1.y - a1.y + ma * a1.x - mb * b1.x) / (ma - mb);
        p.y = a1.y + ma * (p.x - a1.x);
    }
    if (withinSegments && !(WithinBox(p, a1, a2) && WithinBox(p, b1, b2)))
        return false;
    if (at)
        *at = p;
    return true;
}

double ScaledDistance(const CDoublePoint* p1, const CDoublePoint* p2, double k) {
    if (!p1 || !p2)
        return 0.0;
    return std::hypot(p2->x - p1->x, p2->y - p1->y) * k;
}

CDoublePoint OffsetPoint(const CDoublePoint& p1, const CDoublePoint& p2, double f, double d1,
                         double d2, const CDoublePoint* side, int* sideOut) {
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    CDoublePoint normal;
    if (length > 0.0)
        normal = {-dy / length, dx / length};
    int s = 1;
    if (side && length > 0.0 && (dx * (side->y - p1.y) - (side->x - p1.x) * dy) / length < 0.0)
        s = -1;
    if (sideOut)
        *sideOut = s;
    const double distance = s > 0 ? d1 : d2;
    return {p1.x + std::trunc(dx * f) + std::trunc(normal.x * distance * s),
            p1.y + std::trunc(dy * f) + std::trunc(normal.y * distance * s)};
}

bool Bounds(const std::vector<CDoublePoint>* points, double* minX, double* minY, double* maxX,
            double* maxY) {
    if (!points || points->empty())
        return false;
    CDoublePoint lo = points->front();
    CDoublePoint hi = lo;
    for (const CDoublePoint& p : *points) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
    }
    if (minX)
        *minX = lo.x;
    if (minY)
        *minY = lo.y;
    if (maxX)
        *maxX = hi.x;
    if (maxY)
        *maxY = hi.y;
    return true;
}

void ShiftedCopy(const std::vector<CDoublePoint>& src, std::vector<CDoublePoint>& dst, double dx,
                 double dy) {
    dst.resize(src.size());
    for (size_t i = 0; i < src.size(); ++i)
        dst[i] = src[i].Minus(dx, dy);
}

bool PixelInsideOutline(const std::vector<CDoublePoint>& points, const CDoublePoint& p) {
    const CPoint at = p.ToPoint();
    const double cx = at.x + 0.5;
    const double cy = at.y + 0.5;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const CPoint a = points[i].ToPoint();
        const CPoint b = points[j].ToPoint();
        if ((a.y > cy) == (b.y > cy))
            continue;
        const double crossX =
            a.x + (cy - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
        if (cx < crossX)
            inside = !inside;
    }
    return inside;
}

bool OutlineCrossesItself(const std::vector<CDoublePoint>& points) {
    const size_t n = points.size();
    if (n < 4)
        return false;
    auto edgeEnd = [&](size_t i) { return points[(i + 1) % n]; };
    for (size_t i = 0; i + 2 < n; ++i) {
        if (!(points[i] != edgeEnd(i)))
            continue;
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;
            if (!(points[j] != edgeEnd(j)))
                continue;
            if (IntersectLines(points[i], edgeEnd(i), points[j], edgeEnd(j), true))
                return true;
        }
    }
    return false;
}

double AreaCentroid(const std::vector<CDoublePoint>& closedOutline, CDoublePoint* centroid) {
    double sum = 0.0;
    double sumX = 0.0;
    double sumY = 0.0;
    for (size_t i = 0; i + 1 < closedOutline.size(); ++i) {
        const CDoublePoint& a = closedOutline[i];
        const CDoublePoint& b = closedOutline[i + 1];
        const double c = a.x * b.y - b.x * a.y;
        sum += c;
        sumX += (a.x + b.x) * c;
        sumY += (a.y + b.y) * c;
    }
    const double area = 0.5 * sum;
    if (centroid)
        *centroid = sum == 0.0 ? CDoublePoint(-1.0, -1.0)
                               : CDoublePoint(sumX / (6.0 * area), sumY / (6.0 * area));
    return area;
}

void EvaluateBSpline(double t, const std::vector<CDoublePoint>& control, double* x, double* y) {
    const size_t n = control.size();
    if (n == 0)
        return;
    CDoublePoint p;
    if (n == 1) {
        p = control[0];
    } else if (t < 2.0) {
        p = {control[0].x + (control[1].x - control[0].x) * t * 0.25,
             control[0].y + (control[1].y - control[0].y) * t * 0.25};
    } else if (t <= static_cast<double>(n)) {
        const size_t first = static_cast<size_t>(std::max(0.0, std::trunc(t - 2.0)));
        const size_t end = std::min(n, static_cast<size_t>(std::trunc(t + 1.0)));
        for (size_t i = first; i < end; ++i) {
            const double w = Basis(t - static_cast<double>(i));
            p.x += w * control[i].x;
            p.y += w * control[i].y;
        }
    } else {
        const CDoublePoint& a = control[n - 2];
        const CDoublePoint& b = control[n - 1];
        const double f = (t + 2.0 - static_cast<double>(n)) * 0.25;
        p = {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
    }
    if (x)
        *x = p.x;
    if (y)
        *y = p.y;
}

std::vector<CDoublePoint> SampleBSpline(const std::vector<CDoublePoint>& control, bool closed) {
    const size_t n = control.size();
    if (n < 3)
        return control;
    const double end = static_cast<double>(n) + 2.0;
    std::vector<CDoublePoint> samples;
    if (closed) {
        std::vector<CDoublePoint> extended;
        extended.reserve(n + 4);
        extended.push_back(control[n - 2]);
        extended.push_back(control[n - 1]);
        extended.insert(extended.end(), control.begin(), control.end());
        extended.push_back(control[0]);
        extended.push_back(control[1]);
        const CDoublePoint start = Evaluate(2.01, extended);
        samples.push_back(start);
        for (double t = 2.1; t < end; t += 0.1)
            samples.push_back(Evaluate(t, extended));
        samples.push_back(start);
    } else {
        for (double t = 0.0; t < end; t += 0.1)
            samples.push_back(Evaluate(t, control));
    }
    return samples;
}

bool Invert3x3(const double m[9], double out[9]) {
    const double c00 = m[4] * m[8] - m[5] * m[7];
    const double c01 = m[5] * m[6] - m[3] * m[8];
    const double c02 = m[3] * m[7] - m[4] * m[6];
    const double det = m[0] * c00 + m[1] * c01 + m[2] * c02;
    if (det == 0.0)
        return false;
    const double adj[9] = {
        c00, m[2] * m[7] - m[1] * m[8], m[1] * m[5] - m[2] * m[4],
        c01, m[0] * m[8] - m[2] * m[6], m[2] * m[3] - m[0] * m[5],
        c02, m[1] * m[6] - m[0] * m[7], m[0] * m[4] - m[1] * m[3],
    };
    for (int i = 0; i < 9; ++i)
        out[i] = adj[i] / det;
    return true;
}

bool CircleThroughPoints(const CDoublePoint* points, int count, CDoublePoint* centre,
                         double* radius) {
    if (!points || count < 3)
        return false;
    // x^2 + y^2 + D x + E y + F = 0 through each point: [x y 1] (D E F) = -(x^2 + y^2).
    double m[9];
    double rhs[3];
    for (int i = 0; i < 3; ++i) {
        m[i * 3] = points[i].x;
        m[i * 3 + 1] = points[i].y;
        m[i * 3 + 2] = 1.0;
        rhs[i] = -(points[i].x * points[i].x + points[i].y * points[i].y);
    }
    double inv[9];
    if (!Invert3x3(m, inv))
        return false;
    double k[3];
    for (int i = 0; i < 3; ++i)
        k[i] = inv[i * 3] * rhs[0] + inv[i * 3 + 1] * rhs[1] + inv[i * 3 + 2] * rhs[2];
    const CDoublePoint c(-k[0] / 2.0, -k[1] / 2.0);
    const double rSq = c.x * c.x + c.y * c.y - k[2];
    if (!std::isfinite(rSq) || !std::isfinite(c.x) || !std::isfinite(c.y) || rSq <= 0.0)
        return false;
    if (centre)
        *centre = c;
    if (radius)
        *radius = std::sqrt(rSq);
    return true;
}

CPoint ClipRayToRect(const CPoint& p, const CRect& r, double dx, double dy) {
    if (p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom)
        return {-1, -1};
    if (dx == 0.0) {
        if (dy == 0.0)
            return p;
        return {p.x, dy < 0.0 ? r.top : r.bottom};
    }
    if (dy == 0.0)
        return {dx < 0.0 ? r.left : r.right, p.y};
    const double edgeX = dx < 0.0 ? r.left : r.right;
    const double edgeY = dy < 0.0 ? r.top : r.bottom;
    // Both parameters are >= 0 since p lies inside; the smaller crossing is the nearer one.
    const double tVertical = (edgeX - p.x) / dx;
    const double tHorizontal = (edgeY - p.y) / dy;
    if (tVertical <= tHorizontal)
        return {TruncToInt(edgeX), TruncToInt(p.y + tVertical * dy)};
    return {TruncToInt(p.x + tHorizontal * dx), TruncToInt(edgeY)};
}

}  // namespace DrawGeometry
