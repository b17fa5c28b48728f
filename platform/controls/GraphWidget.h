#pragma once

// CGraphWidget: the graph control of the sensor-data windows, drawn with QPainter: plots of y
// against x in a plot area framed by an x and a y axis with tick numbers, captions and grid
// lines, and vertical cursors that sit on the points of the arrays last drawn. The mouse moves
// the cursor (cursor mode), zooms to a rubber band (zoom mode) or drags the view (pan mode).
// Long plots are drawn one pixel column at a time, from the lowest to the highest point
// falling in that column, which covers the pixels the full line would. The widget keeps the
// picture of its plot area and redraws it only when the plots, the colours, the grid or the
// shown stretch change: a moving cursor costs a copy of that picture. User-interface thread
// only.

#include "platform/controls/IGraphControl.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <vector>

class CGraphWidget : public QWidget, public IGraphControl {
    Q_OBJECT

public:
    // Pixels around the plot area kept for tick numbers and captions.
    static constexpr int kLeftMargin = 56;
    static constexpr int kRightMargin = 12;
    static constexpr int kTopMargin = 8;
    static constexpr int kBottomMargin = 38;
    // A cursor is picked up by a press this close to it, in pixels.
    static constexpr int kCursorGrip = 5;

    explicit CGraphWidget(QWidget* parent = nullptr);

    void RemoveAllPlots() override;
    void RemoveAllCursors() override;
    int AddPlot() override;
    void SetPlotColor(int plot, COLORREF color) override;
    void SetPlotFlag(int plot, bool on) override;
    bool PlotXY(int plot, const float* x, int xCount, const float* y, int yCount) override;
    void SetAxisCaption(GraphAxis axis, const QString& caption) override;
    void SetAxisRange(GraphAxis axis, float first, float last) override;
    void SetGridLines(GraphAxis axis, bool major, bool minor) override;
    void SetGridColors(GraphAxis axis, COLORREF major, COLORREF minor) override;
    void SetPlotAreaColor(COLORREF color) override;
    void SetMouseMode(GraphMouseMode mode) override;
    int AddCursor() override;
    void SetCursorStyle(int cursor, int crosshair, int point, int snap) override;
    void SetCursorEnabled(int cursor, bool enabled) override;
    void SetCursorPosition(int cursor, double x) override;
    int GetCursorIndex(int cursor) const override;
    void SetCursorIndex(int cursor, int index) override;
    void SetCursorMovedHandler(CursorMovedHandler handler) override;

    int PlotCount() const { return static_cast<int>(m_plots.size()); }
    int CursorCount() const { return static_cast<int>(m_cursors.size()); }
    QString AxisCaption(GraphAxis axis) const { return AxisOf(axis).caption; }
    GraphMouseMode MouseMode() const { return m_mouseMode; }

    // The shown stretch of an axis (after zoom and pan), lower end first.
    struct Span {
        double low = 0.0;
        double high = 1.0;
    };
    Span VisibleSpan(GraphAxis axis) const;
    // The plot area inside a widget (or image) of that size.
    static QRect PlotArea(QSize size);
    // Where a graph point lands in the plot area of that size.
    QPointF ToPixel(double x, double y, QSize size) const;

    // Draws the whole graph into a painter of that size (the widget paints itself this way).
    void Render(QPainter& painter, QSize size) const;

    QSize sizeHint() const override { return {480, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Plot {
        COLORREF color = 0x00FF00;
        bool flag = false;
        std::vector<float> x;
        std::vector<float> y;
        bool ascending = true;  // x never decreases: the plot can be drawn by columns
        float yLow = 0.0f;
        float yHigh = 0.0f;
    };
    struct Axis {
        QString caption;
        bool rangeSet = false;
        float first = 0.0f;
        float last = 1.0f;
        bool major = false;
        bool minor = false;
        COLORREF majorColor = 0x808080;
        COLORREF minorColor = 0x404040;
        bool zoomed = false;  // zoom or pan replaced the range
        Span view;
    };
    struct Cursor {
        std::array<int, 3> style{};
        bool enabled = false;
        int index = 0;
    };

    const Axis& AxisOf(GraphAxis axis) const { return m_axes[axis == GraphAxis::X ? 0 : 1]; }
    Axis& AxisOf(GraphAxis axis) { return m_axes[axis == GraphAxis::X ? 0 : 1]; }
    Plot* PlotAt(int plot);
    Cursor* CursorAt(int cursor);
    const Cursor* CursorAt(int cursor) const;
    // The span of an axis before zoom and pan: its range, else the extent of the plots.
    Span FullSpan(GraphAxis axis) const;
    // The graph value under a pixel of the widget.
    double ValueAt(GraphAxis axis, double pixel) const;
    int NearestIndex(double x) const;
    // The sample x of the cursor, or false when there are no points.
    bool CursorX(const Cursor& cursor, double* x) const;

    // What Render draws below the cursors (the background, the plot area, its grid and plots)
    // and above them (the cursors, the rubber band and, with axes, the axes).
    void RenderPlotArea(QPainter& painter, QSize size) const;
    void RenderOverlay(QPainter& painter, QSize size, bool axes) const;
    // Where the cursor's line lies in the widget (empty while it shows none), and a move of it.
    QRect CursorStrip(const Cursor& cursor) const;
    void MoveCursor(Cursor& cursor, int index);
    // A change of what the plot area shows: the kept picture is drawn anew.
    void ContentChanged();

    void DrawGrid(QPainter& painter, QSize size) const;
    void DrawPlot(QPainter& painter, const Plot& plot, QSize size) const;
    void DrawAxes(QPainter& painter, QSize size) const;
    void DrawCursors(QPainter& painter, QSize size) const;

    std::vector<Plot> m_plots;
    std::vector<float> m_lastX;  // the x array last drawn: cursor indices point into it
    std::array<Axis, 2> m_axes;
    std::vector<Cursor> m_cursors;
    COLORREF m_plotAreaColor = 0x000000;
    GraphMouseMode m_mouseMode = GraphMouseMode::Cursor;
    CursorMovedHandler m_cursorMoved;

    // The plot area's picture as last drawn, and what it was drawn for.
    struct LayerKey {
        QSize size;
        qreal ratio = 1.0;
        quint64 content = 0;
        QRgb window = 0;
        Span x;
        Span y;
        bool operator==(const LayerKey& other) const;
    };
    QImage m_layer;
    LayerKey m_layerKey;
    quint64 m_content = 0;

    // Mouse gesture in progress.
    bool m_pressed = false;
    int m_draggedCursor = 0;
    QPoint m_pressAt;
    QPoint m_mouseAt;
    Span m_panStartX;
    Span m_panStartY;
};
