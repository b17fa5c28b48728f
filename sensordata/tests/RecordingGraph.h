#pragma once

// A graph that writes down every call in a line of text and keeps the cursor index the way the
// real graph does (clamped to the x array last drawn), for tests of the windows that drive it.

#include "platform/controls/IGraphControl.h"

#include <QStringList>

#include <algorithm>
#include <vector>

class CRecordingGraph : public IGraphControl {
public:
    QStringList calls;
    std::vector<std::vector<float>> xs;
    std::vector<std::vector<float>> ys;
    int cursorIndex = 0;
    int lastLength = 0;
    QString xCaption = QStringLiteral("before");

    void RemoveAllPlots() override {
        calls << QStringLiteral("RemoveAllPlots");
        plots = 0;
    }
    void RemoveAllCursors() override { calls << QStringLiteral("RemoveAllCursors"); }
    int AddPlot() override {
        calls << QStringLiteral("AddPlot");
        return ++plots;
    }
    void SetPlotColor(int plot, COLORREF color) override {
        calls << QStringLiteral("PlotColor %1 %2").arg(plot).arg(color, 6, 16, QChar('0'));
    }
    void SetPlotFlag(int plot, bool on) override {
        calls << QStringLiteral("PlotFlag %1 %2").arg(plot).arg(on);
    }
    bool PlotXY(int plot, const float* x, int xCount, const float* y, int yCount) override {
        calls << QStringLiteral("PlotXY %1 %2 %3").arg(plot).arg(xCount).arg(yCount);
        xs.emplace_back(x, x + xCount);
        ys.emplace_back(y, y + yCount);
        lastLength = xCount;
        return xCount == yCount;
    }
    void SetAxisCaption(GraphAxis axis, const QString& caption) override {
        if (axis == GraphAxis::X)
            xCaption = caption;
        calls << QStringLiteral("Caption %1 %2").arg(int(axis)).arg(caption);
    }
    void SetAxisRange(GraphAxis axis, float first, float last) override {
        calls << QStringLiteral("Range %1 %2 %3").arg(int(axis)).arg(first).arg(last);
    }
    void SetGridLines(GraphAxis axis, bool major, bool minor) override {
        calls << QStringLiteral("Grid %1 %2 %3").arg(int(axis)).arg(major).arg(minor);
    }
    void SetGridColors(GraphAxis axis, COLORREF major, COLORREF minor) override {
        calls << QStringLiteral("GridColors %1 %2 %3")
                     .arg(int(axis))
                     .arg(major, 6, 16, QChar('0'))
                     .arg(minor, 6, 16, QChar('0'));
    }
    void SetPlotAreaColor(COLORREF color) override {
        calls << QStringLiteral("PlotArea %1").arg(color, 6, 16, QChar('0'));
    }
    void SetMouseMode(GraphMouseMode mode) override {
        calls << QStringLiteral("MouseMode %1").arg(int(mode));
    }
    int AddCursor() override {
        calls << QStringLiteral("AddCursor");
        return 1;
    }
    void SetCursorStyle(int cursor, int a, int b, int c) override {
        calls << QStringLiteral("CursorStyle %1 %2 %3 %4").arg(cursor).arg(a).arg(b).arg(c);
    }
    void SetCursorEnabled(int cursor, bool on) override {
        calls << QStringLiteral("CursorEnabled %1 %2").arg(cursor).arg(on);
    }
    void SetCursorPosition(int cursor, double x) override {
        calls << QStringLiteral("CursorPosition %1 %2").arg(cursor).arg(x);
    }
    int GetCursorIndex(int) const override { return cursorIndex; }
    void SetCursorIndex(int, int index) override {
        cursorIndex = std::clamp(index, 0, std::max(0, lastLength - 1));
    }
    void SetCursorMovedHandler(CursorMovedHandler) override {}

    // The calls that match a prefix.
    QStringList CallsStartingWith(const QString& prefix) const {
        QStringList found;
        for (const QString& call : calls) {
            if (call.startsWith(prefix))
                found << call;
        }
        return found;
    }

private:
    int plots = 0;
};
