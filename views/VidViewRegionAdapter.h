#pragma once

// CVidViewRegionAdapter: the video view's adapter for zoom regions. It has a cropped frame
// source made over the view's source, whose region object marks the region on the view, and
// shows the cropped frames in a video window. It maps the region into the view for drawing.

#include "frames/IImageToWindowMap.h"
#include "views/VidViewSourceAdapter.h"

class IStreamDisplay;

class CVidViewRegionAdapter : public CVidViewSourceAdapter, public IImageMapHost {
public:
    // view: the video view the region is drawn on (not owned; null: the region is not drawn).
    explicit CVidViewRegionAdapter(IStreamDisplay* view) : m_view(view) {}
    ~CVidViewRegionAdapter() override;

    // A cropped source over inner whose region's outline is penWidth wide; the region object
    // is reported through *region.
    HRESULT CreateCropped(const CFrameSourcePtr& inner, int penWidth, IIdUnknown** region);
    // The asker's (a region object's) cropped frames in a video window of the host titled
    // title.
    HRESULT OpenFor(IIdUnknown* asker, const QString& title) override;
    // Writes what is asked for; E_POINTER only when both outs are null.
    HRESULT GetSource(int, CFrameSourcePtr* out, IIdUnknown** region);
    // The view's current zoom.
    HRESULT GetImageMap(IImageToWindowMap** out) override;

protected:
    // The region maps through this adapter no more.
    void ForgetChannel(IIdUnknown* object) override;

private:
    IStreamDisplay* m_view;
};
