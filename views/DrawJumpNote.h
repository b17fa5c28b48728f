#pragma once

// CDrawJumpNote: a text note tied to one frame, in window pixels, with a note icon left of
// its anchor. It is drawn on every frame, opaque on its own frame and faded on the others; a
// double-click on the icon moves the playback (the owner CMovieAdapter) to the note's frame.

#include "platform/wintypes/Rect.h"
#include "views/DrawText.h"

class CDrawJumpNote : public CDrawText {
    DECLARE_SERIAL(CDrawJumpNote)

public:
    static constexpr int kType = 12;
    static constexpr int kIconSide = 32;
    static constexpr int kIconGap = 5;

    CDrawJumpNote();

    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    void GetOffFrameOpacity(double* fraction) const {
        if (fraction)
            *fraction = m_offFrameOpacity;
    }
    void SetOffFrameOpacity(double fraction) { m_offFrameOpacity = fraction; }
    // 255 on the note's own frame, else faded by the off-frame fraction.
    int Opacity() const;
    // The icon rectangle around anchor (x, y): right edge at x - gap - 1, centred vertically;
    // right and bottom inclusive, as the note stores it.
    static CRect IconRectAt(const CDoublePoint& anchor);
    // The frame number as the user sees it (frame minus the recording's first frame number).
    int DisplayedFrame() const;
    // The shared note icon, drawn into the rectangle.
    static void DrawIcon(CDC* dc, const CRect& r);

protected:
    double m_offFrameOpacity = 127.0 / 255.0;
};
