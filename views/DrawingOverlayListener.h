#pragma once

// CDrawingOverlayListener: the overlay listener that a tool embeds to draw over a video view.
// The tool registers its drawing interface with it; the view draws every such listener over
// the frame, and the tool asks it to redraw the view when what it marks changes.

#include "frames/IDerivedSourceOwner.h"
#include "frames/IOverlayDraw.h"
#include "views/OverlayListener.h"

class CDrawingOverlayListener : public COverlayListener, public IOverlayRedraw {
public:
    // drawing: not owned, outlives the listener (null: nothing is drawn).
    explicit CDrawingOverlayListener(IOverlayDraw* drawing) : m_drawing(drawing) {}

    // Repaints the window it is attached to, without erasing; S_OK without one too.
    HRESULT Invalidate() override { return COverlayListener::Invalidate(); }
    // The registered drawing into dc over area; S_OK without one.
    HRESULT Draw(CDC* dc, const CRect& area) {
        return m_drawing ? m_drawing->Draw(dc, area) : S_OK;
    }

private:
    IOverlayDraw* m_drawing;
};
