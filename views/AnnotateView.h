#pragma once

// CAnnotateView: the annotation editor over a playing video. It creates drawing objects with
// the drawing tools, selects, moves, edits, restacks, restricts to frames, deletes, saves and
// loads the objects of one annotation document, and draws those that belong to the frame on
// screen. It lives as the invisible companion of a stream window: the owner hands it the zoom
// transform and the frame on screen before each mouse call, calls its handlers directly, names
// itself as the redraw target and calls DrawObjects from its paint.
//
// Every object gets the view's movie adapter as its owner pointer. Messages go through the
// prompter; without a document the view does nothing of its own.

#include "platform/wintypes/ColorRef.h"
#include "views/AnnotateDoc.h"
#include "views/DoublePoint.h"
#include "views/DrawCalipers.h"
#include "views/PZView.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CCalibrationData;
class CCmdUI;
class CDrawObject;
class CMovieAdapter;
class CTrackFeature;

class CAnnotateView : public CPZView {
    DECLARE_DYNCREATE(CAnnotateView)
    DECLARE_MESSAGE_MAP()

public:
    // The tool codes; 15 to 22 are chosen through SetTool by the video view's measurement
    // commands.
    enum Tool : int {
        kNoTool = -1,
        kSelect = 0,
        kLine = 1,
        kRect = 2,
        kFilledRect = 3,
        kEllipse = 4,
        kFilledEllipse = 5,
        kPolygon = 6,
        kFilledPolygon = 7,
        kCurve = 8,
        kClosedCurve = 9,
        kText = 10,
        kFilledText = 11,
        kLengthDimension = 12,
        kAngleDimension = 13,
        kArc = 14,
        kLengthCalibration = 15,
        kCaliper = 16,
        kVelocityCaliper = 17,
        kJumpNote = 18,
        kSlider = 19,
        kInformation = 20,
        kMeasurePoint = 21,
        kTrackCaliper = 22,
    };

    // The command ids: kCommandBase plus the editor's command number.
    enum Command : UINT {
        kCommandBase = 33300,
        kCmdLine = kCommandBase + 0,
        kCmdArc = kCommandBase + 1,
        kCmdSelect = kCommandBase + 12,
        kCmdDuplicate = kCommandBase + 13,
        kCmdBringForward = kCommandBase + 17,
        kCmdBringToFront = kCommandBase + 18,
        kCmdSendBackward = kCommandBase + 19,
        kCmdSendToBack = kCommandBase + 20,
        kCmdThisFrameOnly = kCommandBase + 21,
        kCmdFromThisFrameOn = kCommandBase + 22,
        kCmdAllFrames = kCommandBase + 23,
        kCmdOpen = kCommandBase + 24,
        kCmdSaveAs = kCommandBase + 25,
        kCmdDeleteFrame = kCommandBase + 26,
        kCmdDeleteAll = kCommandBase + 27,
        kCmdShowHandles = kCommandBase + 28,
        kCmdShowAnnotations = kCommandBase + 29,
        kCmdLengthDimension = kCommandBase + 30,
        kCmdAngleDimension = kCommandBase + 31,
        kCmdSave = kCommandBase + 32,
        kCmdNoTool = kCommandBase + 34,
        kCommandLast = kCmdNoTool,
    };

    // Colour messages: 105 carries the colour and its kind (14 line, 15 fill, 16 text), 103 the
    // colour for the kind of the colour target. 101, 102 and 104 are answered and ignored.
    static constexpr UINT kFirstColourMessage = 101;
    static constexpr UINT kSetTargetColourMessage = 103;
    static constexpr UINT kSetColourMessage = 105;
    static constexpr UINT kLastColourMessage = 105;
    enum ColourKind { kLineColour = 14, kFillColour = 15, kTextColour = 16 };

    // Where the default styles are read from (HKEY_LOCAL_MACHINE); the view never writes them.
    static constexpr const char* kStylesSubKey = "\\Annotations";

    // Reads the default styles from the registry.
    CAnnotateView();
    ~CAnnotateView() override;

    void OnDraw(CDC* pDC) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Gives the recording's own calibration (false when it has none). Length calibrations read
    // from a file take their distance and units from it; without one they keep their defaults.
    using CalibrationSource = std::function<bool(CCalibrationData*)>;
    void SetRecordingCalibrationSource(CalibrationSource source) {
        m_recordingCalibration = std::move(source);
    }

    // Binds the document whose list the view edits; the caller keeps it.
    void SetDocument(CAnnotateDoc* document);
    // The owner's mouse-to-image mapping (window pixels to image pixels, held to the image),
    // so that objects land on the pixel the owner's reticle names; without one the zoom
    // transform maps.
    using ImageMapping = std::function<CPoint(CPoint)>;
    void SetImageMapping(ImageMapping mapping) { m_imageMapping = std::move(mapping); }
    CAnnotateDoc* GetAnnotateDocument() const { return m_annotateDoc; }
    // Takes the adapter (null for none), deletes the previous one and makes the new one the
    // owner pointer of every object.
    void SetMovieAdapter(std::unique_ptr<CMovieAdapter> adapter);
    CMovieAdapter* GetMovieAdapter() const { return m_adapter.get(); }

    // A new object of the tool's kind, styled and added to the list (the document owns it) as
    // the only selected object, for `frame`; null without a list, for an unknown tool (after
    // telling the user) or a kind this program cannot make.
    CDrawObject* CreateObjectOfType(int tool, int frame);
    // Draws the objects shown on `frame` (and those always drawn), head to tail. Nothing
    // without a list, while annotations are hidden, or without a device context.
    void DrawObjects(CDC* dc, int frame, const CZoomTransform* transform);

    // Chooses a tool and ends what the mouse was doing. The length calibration tool with a
    // calibration present selects that one instead and returns to the select tool.
    void SetTool(int tool);
    int GetTool() const { return m_tool; }
    void SetCurrentFrame(int frame) { m_currentFrame = frame; }
    int GetCurrentFrame() const { return m_currentFrame; }
    CDrawObject* GetCurrentObject() const { return m_current; }
    BOOL IsDragging() const { return m_dragging; }
    BOOL AreAnnotationsShown() const { return m_annotationsShown; }

    // Hands the calibration of the first length calibration to every caliper and information
    // box; without one nothing changes.
    void ApplyCalibration();
    // Hands the first two measure points (position and frame; (0, 0) and -1 for a missing
    // one) to every information box.
    void SyncInfoPoints();
    // Moves the ends of every caliper between measure points (type 16) to the measure points
    // its links name (position and frame); an end whose point is gone stays where it is.
    void SyncCaliperEnds();
    // A new measure point on `frame` at the image position with the given id, added to the
    // list, not selected; with a feature record it is drawn in the feature's marker style, as
    // the tracking overlay draws the feature. Null without a list.
    CDrawObject* AddMeasurePoint(int frame, CDoublePoint image, int pointId,
                                 const CTrackFeature* feature = nullptr);
    // Also hands the reticle point (image pixels) to every information box.
    void SetReticlePoint(int x, int y) override;
    // Every object of type 15 in list order (the array is emptied first).
    void GetMeasurePoints(std::vector<CDrawObject*>* points) const;

    // The mouse and keys, called by the owner for the companion (window pixels).
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    // The colour messages: 1 for 101 to 105, else 0 (not handled).
    LRESULT OnColourMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The default styles new objects get.
    struct Styles {
        COLORREF lineColour = 0x00FF00;
        COLORREF fillColour = 0x00FFFF;
        COLORREF textColour = 0x0000FF;
        int lineThickness = 3;
        int lineStyle = 0;
        BOOL arrowHead = 1;
        BOOL arrowTail = 0;
        QString fontFace = QStringLiteral("Arial");
        int fontSize = 18;
        BOOL bold = 0;
        BOOL italic = 0;
        BOOL underline = 0;
    };
    const Styles& GetStyles() const { return m_styles; }
    // The built-in styles overridden by the values present under the registry key; values
    // of the wrong size are ignored.
    static Styles ReadStyles();

protected:
    void OnToolCommand(UINT nID);
    void OnUpdateToolCommand(CCmdUI* pCmdUI);
    void OnDuplicate();
    void OnUpdateDuplicate(CCmdUI* pCmdUI);
    void OnRestack(UINT nID);
    void OnFrameRule(UINT nID);
    void OnUpdateFrameRule(CCmdUI* pCmdUI);
    void OnOpenAnnotations();
    void OnSaveAnnotationsAs();
    void OnUpdateSaveAnnotationsAs(CCmdUI* pCmdUI);
    void OnSaveAnnotations();
    void OnDeleteFrameAnnotations();
    void OnDeleteAllAnnotations();
    void OnToggleDisplayFlags();
    void OnUpdateToggleDisplayFlags(CCmdUI* pCmdUI);
    void OnToggleAnnotations();
    void OnUpdateToggleAnnotations(CCmdUI* pCmdUI);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The press with a creation tool; a caliper between measure points gets link and endFrame
    // for its first end.
    void BeginCreate(CDoublePoint window, CDoublePoint image,
                     const CDrawCalipers::LinkPair* link = nullptr, int endFrame = -1);
    // Makes a new object for the current frame with points 0 and 1 at the click and drags
    // point 1.
    void StartObject(CDoublePoint window, CDoublePoint image,
                     const CDrawCalipers::LinkPair* link = nullptr, int endFrame = -1);
    // The release of a caliper started from a measure point's drag handle: its second end goes
    // to the measure point under the release, or the caliper is deleted when there is none.
    void EndTrackCaliper(CDoublePoint window, CDoublePoint image);
    CDoublePoint ToImage(CPoint window) const;
    void ResetMouse();
    // The first object of `type` in list order.
    CDrawObject* FindOfType(int type) const;
    CDrawObject* FirstSelected(int* position) const;
    // The object under the point from tail to head, among those shown on the current frame.
    CDrawObject* HitVisible(CDoublePoint window, CDoublePoint image, int* part, BOOL dblClick,
                            BOOL select);
    void SetOwnerOfAll();
    // The length calibrations from index `first` on were read from a file: they take the
    // distance and units of the recording's calibration when it has one.
    void CalibrateLoaded(size_t first);
    int AskYesNo(const QString& text) const;

    CAnnotateDoc* m_annotateDoc = nullptr;
    CDrawObjectList* m_list = nullptr;
    CDrawObject* m_current = nullptr;
    // Where the drag was last seen, in image and window pixels: a whole-object drag moves by
    // the difference.
    CDoublePoint m_lastImage;
    CDoublePoint m_lastWindow;
    BOOL m_dragging = FALSE;
    // The point of the current object that the mouse drags: an index, kHitBody or -1.
    int m_activePoint = -1;
    int m_tool = kSelect;
    int m_colourTarget = kLineColour;
    BOOL m_displayAll = TRUE;
    BOOL m_annotationsShown = TRUE;
    Styles m_styles;
    std::unique_ptr<CMovieAdapter> m_adapter;
    CalibrationSource m_recordingCalibration;
    ImageMapping m_imageMapping;
    int m_currentFrame = 0;
    // Where the mouse was last seen (window pixels): the place of Insert and Delete.
    CPoint m_mouse;
};
