#include "views/OverlayBitmaps.h"

#include "platform/framework/DC.h"
#include "platform/framework/ResourceChain.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <map>
#include <mutex>

namespace {

constexpr QRgb kInk = qRgb(0, 0, 0);
constexpr QRgb kPaper = qRgb(255, 255, 160);
constexpr QRgb kArrow = qRgb(0, 96, 192);
constexpr QRgb kGrey = qRgb(150, 150, 150);

// A sheet with a folded corner and three text rules.
void PaintNote(QPainter& p) {
    const QPolygon sheet({{6, 2}, {20, 2}, {26, 8}, {26, 29}, {6, 29}});
    p.setBrush(QColor(kPaper));
    p.drawPolygon(sheet);
    p.drawPolyline(QPolygon({{20, 2}, {20, 8}, {26, 8}}));
    for (int y : {13, 18, 23})
        p.drawLine(10, y, 22, y);
}

// An arrow down onto a bar: the point comes to the frame on screen.
void PaintMoveHere(QPainter& p, QRgb colour) {
    p.setBrush(QColor(colour));
    p.drawPolygon(QPolygon({{12, 3}, {19, 3}, {19, 14}, {25, 14}, {15, 23}, {6, 14}, {12, 14}}));
    p.drawRect(4, 25, 23, 3);
}

// Four arrows out of the middle: press and drag.
void PaintDragHandle(QPainter& p) {
    p.setBrush(QColor(kArrow));
    p.drawRect(14, 8, 3, 16);
    p.drawRect(8, 14, 16, 3);
    p.drawPolygon(QPolygon({{15, 2}, {20, 8}, {11, 8}}));
    p.drawPolygon(QPolygon({{15, 29}, {20, 23}, {11, 23}}));
    p.drawPolygon(QPolygon({{2, 15}, {8, 10}, {8, 20}}));
    p.drawPolygon(QPolygon({{29, 15}, {23, 10}, {23, 20}}));
}

QImage Drawn(UINT id) {
    QImage image(COverlayBitmaps::kSide, COverlayBitmaps::kSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // Edges stay hard: a blended edge pixel would be almost white and show as a fringe.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(kInk));
    switch (id) {
        case COverlayBitmaps::kNote:
            PaintNote(p);
            break;
        case COverlayBitmaps::kMoveHere:
            PaintMoveHere(p, kArrow);
            break;
        case COverlayBitmaps::kMoveHereDone:
            p.setPen(QColor(kGrey));
            PaintMoveHere(p, kGrey);
            break;
        default:
            PaintDragHandle(p);
            break;
    }
    return image;
}

}  // namespace

const CBitmap& COverlayBitmaps::Get(UINT id) {
    static std::map<UINT, CBitmap> s_bitmaps;
    static const CBitmap s_none;
    // Frames may be drawn for saving off the user-interface thread.
    static std::mutex s_lock;
    if (id != kNote && id != kMoveHereDone && id != kMoveHere && id != kDragHandle)
        return s_none;
    const std::lock_guard<std::mutex> guard(s_lock);
    auto it = s_bitmaps.find(id);
    if (it == s_bitmaps.end()) {
        const QImage loaded = CResourceChain::LoadBitmap(id);
        it = s_bitmaps.emplace(id, CBitmap()).first;
        it->second.Attach(loaded.isNull() ? Drawn(id) : loaded);
    }
    return it->second;
}

void COverlayBitmaps::Draw(CDC* dc, UINT id, const CRect& r) {
    CBitmap bitmap = Get(id);
    if (!dc || !bitmap.GetImage() || r.IsRectEmpty())
        return;
    const CSize size = bitmap.GetSize();
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(&bitmap);
    dc->TransparentBlt(r.left, r.top, r.Width(), r.Height(), &memory, 0, 0, size.cx, size.cy,
                       kTransparent);
    memory.SelectObject(old);
}
