#pragma once

// CStreamWnd: the pan-zoom view that shows the frames of one recording. It reads the frame to
// show from its frame source into its own image (plain, or through two display look-up-table
// parameter sets), paints it zoomed with the pan-zoom overlays and the frame information box,
// and paints the annotations of its annotation document over the frame. Its owner (a video
// view) creates it as a child window, deletes it, and may hear its mouse input and paints.
//
// A window is painted on directly (its backing store keeps the XOR overlays from flickering);
// other targets, and annotations that read back what they blend with, get the picture composed
// in a memory image that is copied to the target at the end, so an owner can paint the same
// picture elsewhere (Paint).

#include "frames/FrameImage.h"
#include "frames/FrameSourcePtr.h"
#include "platform/framework/Bitmap.h"
#include "views/PanZoomView.h"
#include "views/ZoomTransform.h"

#include <QString>

#include <memory>
#include <optional>

class CAnnotateDoc;
class CAnnotateView;
class CLutParamSet;
class IMovieView;

class CStreamWnd : public CPanZoomView {
    DECLARE_DYNCREATE(CStreamWnd)
    DECLARE_MESSAGE_MAP()

public:
    // Called at the end of every paint with the owner's window and the memory device
    // context that holds the picture about to be shown.
    using PaintCallback = void (*)(CWnd* context, CDC* pDC);
    // Called with every mouse message the window handled (x and y in client pixels), except
    // while zoom or pan mode is on.
    using MouseCallback = void (*)(CWnd* context, UINT message, WPARAM wParam, int x, int y);

    CStreamWnd();
    ~CStreamWnd() override;

    // Shows frame n of the source and stores n: 1; 0 without an open source or when the
    // frame cannot be read, in which case the previous picture stays.
    int ShowFrame(int frame);
    // The same through the two display parameter sets (colour set, black-and-white set).
    int ShowFrameWithLuts(int frame, const CLutParamSet& lutA, const CLutParamSet& lutB);
    // Reads frame n through the two sets into the caller's image: S_OK, or E_FAIL when
    // reserved is not 0, the image is null, there is no open source or the read fails.
    HRESULT ReadFrameWithLuts(int frame, int reserved, const CLutParamSet& lutA,
                              const CLutParamSet& lutB, CFrameImage* image);
    // The held source's path (empty without a source): S_OK, or E_FAIL when reserved is not 0
    // or path is null.
    HRESULT GetSourcePath(int reserved, QString* path) const;
    // Takes the counted pointer and shows the stored frame when a source is held.
    void SetFrameSource(const CFrameSourcePtr& source);
    // The video view that shows this window (it owns the window and outlives it): the
    // annotations read its frame and move it (a jump note's jump) through their movie adapter.
    // Set before the source; null keeps the adapter on the source alone.
    void SetMovieView(IMovieView* view) { m_movieView = view; }
    // Also hands the point to the annotations (the information box shows it).
    void SetReticlePosition(int x, int y) override;
    void SetMouseCallback(CWnd* context, MouseCallback callback);
    // Asked on each frame step with the paint callback's context: true while the owner's
    // drawing stays the same from frame to frame (it draws nothing that depends on the frame),
    // so that a step repaints only the picture. Without it, every step repaints the window.
    using StillCheck = bool (*)(CWnd* context);
    void SetPaintCallback(PaintCallback callback, CWnd* context, StillCheck still = nullptr);

    int GetCurrentFrame() const { return m_currentFrame; }
    // The annotation tool the owner chose (15 scale calibration, 16 caliper, 17 velocity
    // caliper, 18 goto note, 19 frame slider, 20 video information, 21 measurement point);
    // kept here for the annotation editor, -1 while none was chosen.
    // The editor takes the tool too.
    void SetTool(int tool);
    int GetTool() const { return m_tool; }
    const CFrameImage& GetImage() const { return m_image; }
    // The annotations painted over the frames; they belong to this window.
    CAnnotateDoc* GetAnnotateDoc() const { return m_annotateDoc.get(); }
    // The editor of those annotations, which hears the window's mouse and keys first and
    // takes the commands of the annotation menu.
    CAnnotateView* GetAnnotateView() const { return m_annotateView.get(); }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // The image-to-window mapping of the last paint.
    const CZoomTransform& GetZoomTransform() const { return m_transform; }

    // The text of the information box for the current frame (see InfoBoxText).
    QString GetInfoText() const;
    // " mm:ss.ffff" for t >= 0 seconds, "-mm:ss.ffff" for t < 0 (of -t).
    static QString FormatTime(double seconds);

    // Paints the picture into pDC at pRect (the client rectangle when null).
    void Paint(CDC* pDC, const CRect* pRect = nullptr);
    void OnDraw(CDC* pDC) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // The owner deletes the window object.
    void PostNcDestroy() override;

private:
    // Holds the shown frame inside the open source's frames.
    void ClampCurrentFrame();
    bool HasFrame() const;
    // Frame-number and timing facts of the current frame for the information box.
    void DrawInfoBox(CDC* pDC, const CRect& client);
    // Refills the transform from the current zoom state.
    void UpdateTransform();
    // Hands the editor the mouse or key message with the window's zoom state and frame.
    void ForwardToEditor(UINT message, WPARAM wParam, LPARAM lParam);
    void FrameShown();
    // Repaints only the picture after a frame step when nothing else in the window can differ
    // from the last paint; false (nothing done) otherwise.
    bool RedrawPictureOnly();
    // Records what a paint of the window into pDC left on screen.
    void NotePainted(CDC* pDC, const CRect& client);
    // The picture's layers into area of pDC: the fill around the frame, the frame, the pan-zoom
    // overlays and information box, the owner's drawing and the annotations.
    void PaintLayers(CDC* pDC, const CRect& area);

    CFrameImage m_image;
    // The off-screen picture Paint composes in, kept from paint to paint while the size holds.
    CBitmap m_paintBitmap;
    CFrameSourcePtr m_source;
    IMovieView* m_movieView = nullptr;
    CZoomTransform m_transform;
    int m_currentFrame = 0;
    int m_tool = -1;
    PaintCallback m_paintCallback = nullptr;
    CWnd* m_paintContext = nullptr;
    StillCheck m_stillCheck = nullptr;
    // What the layers around and over the picture were painted from the last time the window
    // painted itself; a frame step that finds them unchanged repaints only the picture.
    struct LayerState {
        CRect client;
        CRect picture;
        BOOL fitMode = FALSE;
        int zoomBoxCorner = 0;
        int infoCorner = 0;
        BOOL reticleShown = FALSE;
        CPoint reticle;
        BOOL selectionMode = FALSE;
        int selectionState = 0;
        CRect selection;
        BOOL rulersShown = FALSE;
        bool operator==(const LayerState&) const = default;
    };
    LayerState CurrentLayerState(const CRect& client, const CRect& picture) const;
    std::optional<LayerState> m_painted;
    CWnd* m_mouseContext = nullptr;
    MouseCallback m_mouseCallback = nullptr;
    std::unique_ptr<CAnnotateDoc> m_annotateDoc;
    // Declared after the document it edits, so that it goes first.
    std::unique_ptr<CAnnotateView> m_annotateView;
};
