#pragma once

// IGraphControl: what the sensor-data windows ask of a graph: plots of y against x, two axes
// with caption, range and grid, a plot-area colour, a mouse mode and cursors that sit on the
// points last drawn. Plots and cursors are numbered from 1 in the order they were added.
// Calls naming a plot or cursor that does not exist do nothing (getters answer 0).

#include "platform/wintypes/ColorRef.h"

#include <QString>

#include <functional>

enum class GraphAxis { X = 1, Y = 2 };

// The mouse modes by the values callers store.
enum class GraphMouseMode { Cursor = 1, Pan = 3, Zoom = 6 };

class IGraphControl {
public:
    virtual ~IGraphControl() = default;

    virtual void RemoveAllPlots() = 0;
    virtual void RemoveAllCursors() = 0;

    // Adds an empty plot; returns its number.
    virtual int AddPlot() = 0;
    virtual void SetPlotColor(int plot, COLORREF color) = 0;
    // The plot's drawing flag (every new plot gets it set).
    virtual void SetPlotFlag(int plot, bool on) = 0;
    // Draws y against x, replacing what the plot showed. The graph keeps its own copy. FALSE,
    // leaving the plot as it was, when the arrays differ in length or the plot does not exist.
    virtual bool PlotXY(int plot, const float* x, int xCount, const float* y, int yCount) = 0;

    virtual void SetAxisCaption(GraphAxis axis, const QString& caption) = 0;
    // The axis runs from first to last (first may be larger; equal ends are allowed).
    virtual void SetAxisRange(GraphAxis axis, float first, float last) = 0;
    // Major and minor grid lines on or off, and their colours.
    virtual void SetGridLines(GraphAxis axis, bool major, bool minor) = 0;
    virtual void SetGridColors(GraphAxis axis, COLORREF major, COLORREF minor) = 0;
    virtual void SetPlotAreaColor(COLORREF color) = 0;
    virtual void SetMouseMode(GraphMouseMode mode) = 0;

    // Adds a cursor; returns its number.
    virtual int AddCursor() = 0;
    // The cursor's three style values (crosshair, point and snap styles).
    virtual void SetCursorStyle(int cursor, int crosshair, int point, int snap) = 0;
    virtual void SetCursorEnabled(int cursor, bool enabled) = 0;
    // Puts the cursor at the point nearest to x of the arrays last drawn.
    virtual void SetCursorPosition(int cursor, double x) = 0;
    // The sample index under the cursor, into the arrays last drawn.
    virtual int GetCursorIndex(int cursor) const = 0;
    // Moves the cursor to that sample index, clamped to the arrays last drawn.
    virtual void SetCursorIndex(int cursor, int index) = 0;

    // Called with (cursor, x value) when the user drags a cursor with the mouse.
    using CursorMovedHandler = std::function<void(int cursor, double x)>;
    virtual void SetCursorMovedHandler(CursorMovedHandler handler) = 0;
};
