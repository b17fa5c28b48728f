#pragma once

// CDC: a device context over QPainter. It draws into a QImage (a memory DC with a selected
// bitmap, or any image handed in) or into a widget during its paint event, and keeps the
// pixel rules that the drawing code depends on: LineTo leaves its end pixel out, rectangles
// and regions leave their right and bottom edges out, R2_XORPEN drawing twice restores an
// image, font heights follow the LOGFONT sign rule, and text escapement is in tenths of a
// degree counter-clockwise. Sizes are whole pixels (96 DPI), the same on every machine.
// A device context is used by one thread; one on an image may live on any thread, one on a
// widget only on the UI thread.

#include "platform/framework/Bitmap.h"
#include "platform/framework/Brush.h"
#include "platform/framework/Font.h"
#include "platform/framework/GdiConstants.h"
#include "platform/framework/GdiTypes.h"
#include "platform/framework/Object.h"
#include "platform/framework/Pen.h"
#include "platform/framework/Rgn.h"
#include "platform/wintypes/BitmapInfo.h"
#include "platform/wintypes/Point.h"
#include "platform/wintypes/Rect.h"
#include "platform/wintypes/Size.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QString>

#include <functional>
#include <list>
#include <vector>

class QWidget;

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)

public:
    // No target until CreateCompatibleDC.
    CDC();
    // Draws into the image, which must outlive the device context.
    explicit CDC(QImage* target);
    // Draws on the widget; only valid inside the widget's paint event. Pixels of a widget
    // cannot be read back, so it is never the source of a block transfer.
    explicit CDC(QWidget* widget);
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Makes this an empty memory device context holding a 1 x 1 bitmap; draw into a bitmap
    // by selecting it. The reference context may be null. FALSE when this already has a
    // target.
    BOOL CreateCompatibleDC(CDC* dc);
    // Ends drawing and drops the target; FALSE when there was none.
    BOOL DeleteDC();

    // The painter for drawing done in Qt terms (images drawn by other layers); null without
    // a target. Its pen, brush and composition are reset by every call of this class.
    QPainter* GetPainter();
    // The pixels drawn into; null for a widget target or without a target.
    QImage* GetImage() const { return m_image; }

    // Selection: the device context keeps a copy of the object (a bitmap shares its pixels).
    // The previous object comes back as a pointer owned by this device context, valid until
    // it is destroyed, to be selected again afterwards. A null or uncreated object changes
    // nothing and gives null.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    // Only a memory device context accepts a bitmap; null otherwise.
    CBitmap* SelectObject(CBitmap* bitmap);
    // Selects a copy of the region as the clip (SelectClipRgn).
    int SelectObject(CRgn* region) { return SelectClipRgn(region); }
    CPen* GetCurrentPen() { return &m_state.pen; }
    CBrush* GetCurrentBrush() { return &m_state.brush; }
    CFont* GetCurrentFont() { return &m_state.font; }
    CBitmap* GetCurrentBitmap() { return m_isMemory ? &m_bitmap : nullptr; }

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_state.textColor; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_state.bkColor; }
    // TRANSPARENT or OPAQUE; returns the previous mode, 0 for any other value.
    int SetBkMode(int mode);
    int GetBkMode() const { return m_state.bkMode; }
    // R2_COPYPEN or R2_XORPEN; returns the previous mode, 0 for any other value.
    int SetROP2(int mode);
    int GetROP2() const { return m_state.rop2; }
    UINT SetTextAlign(UINT flags);
    UINT GetTextAlign() const { return m_state.textAlign; }
    // ALTERNATE or WINDING for Polygon; returns the previous mode, 0 for any other value.
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const { return m_state.polyFillMode; }

    // Lines: a pen of width 1 (or 0) steps pixel by pixel and leaves the end point out, so
    // connected lines meet without painting a pixel twice; wider pens are stroked with the
    // pen's end caps and joins (round unless asked otherwise).
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(const CPoint& p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(const CPoint& p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return m_state.position; }
    BOOL Polyline(const CPoint* points, int count);

    // Filled shapes: the interior with the brush, the outline with the pen. The bounding
    // rectangle's right and bottom edges are outside the shape.
    BOOL Polygon(const CPoint* points, int count);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(const CRect& rect) {
        return Rectangle(rect.left, rect.top, rect.right, rect.bottom);
    }
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(const CRect& rect) {
        return Ellipse(rect.left, rect.top, rect.right, rect.bottom);
    }
    // The elliptic arc counter-clockwise from the ray through (x3, y3) to the ray through
    // (x4, y4); equal rays draw the whole ellipse. No fill.
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Arc(const CRect& rect, const CPoint& start, const CPoint& end) {
        return Arc(rect.left, rect.top, rect.right, rect.bottom, start.x, start.y, end.x, end.y);
    }

    // Rectangle fills, unaffected by the raster operation. FillSolidRect leaves the colour
    // as the background colour, as the system's own routine does.
    void FillSolidRect(const CRect& rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FillRect(const CRect& rect, CBrush* brush);
    // A one-pixel frame just inside the rectangle.
    void FrameRect(const CRect& rect, CBrush* brush);
    // Top and left edges in topLeft, right and bottom edges in bottomRight.
    void Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    // A dotted frame drawn by inverting every other pixel: drawing it twice removes it.
    void DrawFocusRect(const CRect& rect);

    // Text at a reference point placed by the text alignment; with TA_UPDATECP the current
    // position is used instead and moved along the escapement past the text.
    BOOL TextOut(int x, int y, const QString& text);
    // ETO_OPAQUE fills the rectangle with the background colour, ETO_CLIPPED clips to it.
    BOOL ExtTextOut(int x, int y, UINT options, const CRect* rect, const QString& text);
    // Formatted text in a rectangle (DT_ flags); lines are one cell height apart. An '&'
    // underlines the next character unless DT_NOPREFIX ("&&" is one '&'). DT_CALCRECT
    // draws nothing and sets the rectangle's right and bottom to fit the text. Returns the
    // height of the text.
    int DrawText(const QString& text, CRect* rect, UINT format);
    // Width and cell height of one line.
    CSize GetTextExtent(const QString& text) const;
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

    // An icon (an image with alpha) at its own size.
    BOOL DrawIcon(int x, int y, const QImage& icon);
    BOOL DrawIcon(const CPoint& p, const QImage& icon) { return DrawIcon(p.x, p.y, icon); }
    // DST_ICON or DST_BITMAP at the point, cut to the size (0, 0 = the image's size);
    // DSS_DISABLED draws the embossed look: the image's shape (non-transparent icon pixels,
    // non-white bitmap pixels) in COLOR_3DHILIGHT one pixel right and down, then in
    // COLOR_3DSHADOW in place.
    BOOL DrawState(const CPoint& p, const CSize& size, const QImage& icon, UINT flags);
    BOOL DrawState(const CPoint& p, const CSize& size, CBitmap* bitmap, UINT flags);

    // Single pixels of an image target; CLR_INVALID outside the image or the clip, and for a
    // widget target. SetPixel answers the colour it set.
    COLORREF GetPixel(int x, int y) const;
    COLORREF SetPixel(int x, int y, COLORREF color);

    // Block transfers from another device context's image (SRCCOPY, SRCAND, SRCPAINT).
    // FALSE for other operations or a source without readable pixels.
    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    // The source rectangle stretched to the target, pixels of the key colour left out.
    BOOL TransparentBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                        int srcWidth, int srcHeight, UINT transparent);
    // result = (src * alpha + dst * (255 - alpha)) / 255 per channel with the blend's constant
    // alpha; per-pixel source alpha (AC_SRC_ALPHA) is not supported and fails.
    BOOL AlphaBlend(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, BLENDFUNCTION blend);

    // Device-independent bitmaps: header with its colour table directly behind it (biSize
    // bytes on), 8-bit with a palette, 24-bit or 32-bit, uncompressed, bottom-up (positive
    // height) or top-down. Source y counts from the bottom row of a bottom-up bitmap. Nearest
    // pixel stretching; negative target sizes mirror. SRCCOPY only. Returns the number of
    // source rows drawn, 0 on failure.
    int StretchDIBits(int xDst, int yDst, int dstWidth, int dstHeight, int xSrc, int ySrc,
                      int srcWidth, int srcHeight, const void* bits, const BITMAPINFOHEADER* header,
                      UINT usage, DWORD rop);
    // Unstretched; bits holds scanCount rows starting at row startScan in storage order
    // (from the bottom for a bottom-up bitmap). Rows outside that band are not drawn.
    int SetDIBitsToDevice(int xDst, int yDst, int width, int height, int xSrc, int ySrc,
                          UINT startScan, UINT scanCount, const void* bits,
                          const BITMAPINFOHEADER* header, UINT usage);

    // Clipping in device coordinates; a null region removes the clip. Returns the kind of
    // the new clip region, RGN_ERROR for an uncreated region.
    int SelectClipRgn(CRgn* region);
    // The clip's bounding box (the whole target without clip); returns the region kind.
    int GetClipBox(CRect* rect) const;

    // Saves pen, brush, font, colours, modes, alignment, current position and clip; returns
    // the new depth (1 for the first save). RestoreDC(-1) restores the latest, RestoreDC(n)
    // the state of SaveDC's answer n and drops the later ones.
    int SaveDC();
    BOOL RestoreDC(int savedDC);

private:
    struct State {
        CPen pen;
        CBrush brush;
        CFont font;
        COLORREF textColor = 0;
        COLORREF bkColor = 0x00FFFFFF;
        int bkMode = OPAQUE;
        int rop2 = R2_COPYPEN;
        int polyFillMode = ALTERNATE;
        UINT textAlign = TA_TOP | TA_LEFT | TA_NOUPDATECP;
        CPoint position;
        bool clipped = false;
        QRegion clip;
    };

    void InitState();
    bool Begin(QPaintDevice* device);
    void ApplyClip();
    bool HasTarget() const { return m_painter.isActive(); }
    // The target's own area in device pixels.
    QRect DeviceRect() const;
    // Runs one primitive through the raster operation: plain painting for R2_COPYPEN, a
    // pixel XOR of whatever the primitive paints for R2_XORPEN (or when forced).
    void Render(const QRect& bounds, const std::function<void(QPainter&)>& draw,
                bool forceXor = false);
    void StrokeThin(const std::vector<QPoint>& vertices, bool closed);
    void StrokePath(const std::vector<QPoint>& vertices, bool closed);
    void FillPolygon(const std::vector<QPoint>& vertices);
    QBrush QtBrush(const CBrush& brush) const;
    void DrawTextRun(QPointF origin, const QString& text, int underlineIndex);
    int TextWidth(const QString& text) const;
    // Draws pixels of an image with the composition; the image is already cut and scaled.
    void Blit(const QPoint& at, const QImage& piece, QPainter::CompositionMode mode);
    QImage SourcePiece(CDC* src, int xSrc, int ySrc, int width, int height, int dstWidth,
                       int dstHeight) const;
    int DrawDib(const QRect& dst, const QRect& srcUpright, const void* bits,
                const BITMAPINFOHEADER* header, int firstRow, int rowCount);

    QPainter m_painter;
    QImage* m_image = nullptr;
    QWidget* m_widget = nullptr;
    bool m_isMemory = false;
    CBitmap m_bitmap;
    State m_state;
    std::vector<State> m_saved;
    // What SelectObject handed back stays where it is while more is selected; lists, as most
    // paints select nothing and an empty list takes no memory.
    std::list<CPen> m_oldPens;
    std::list<CBrush> m_oldBrushes;
    std::list<CFont> m_oldFonts;
    std::list<CBitmap> m_oldBitmaps;
};
