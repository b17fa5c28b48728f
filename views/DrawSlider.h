#pragma once

// CDrawSlider: a translucent rectangle in window pixels with a track that marks where the
// current frame lies in the recording; a press on the track moves the movie there. The owner
// pointer is the movie's CMovieAdapter; without one there is no marker and no seeking.

#include "views/DrawRect.h"

class CDrawSlider : public CDrawRect {
    DECLARE_SERIAL(CDrawSlider)

public:
    static constexpr int kType = 13;
    static constexpr int kCornerSize = 15;
    static constexpr int kAlpha = 80;

    CDrawSlider();

    // Corner squares hit the whole object; a press on the track seeks (reporting no hit).
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // The marker's x for the frame; the track's left end when the movie has under two frames.
    int MarkerX(const CRect& r, int frame, int count) const;
    // The frame a press at x picks: the track's ends are the first and the last frame.
    int FrameAt(const CRect& r, int x, int count) const;

private:
    int Margin(const CRect& r) const;
};
