#pragma once

// CMovieAdapter: hands a movie (a frame source, optionally the video view that shows it, its
// current frame and its display parameter sets) to tools that work on a movie, such as
// annotation and tracking. Made by CMovieRef; the tool owns it.
//
// With "sync with source" the adapter follows the view: the current frame is the view's, and
// moving it moves the view. With "use view LUT" the parameter sets are the view's.

#include "frames/FrameSourcePtr.h"
#include "frames/IMovieView.h"
#include "frames/lutparams/LutParamSet.h"
#include "platform/wintypes/WinError.h"

#include <QString>

#include <memory>

class CMovieAdapter {
public:
    // The result of ReadFrame, whatever the read gave.
    static constexpr HRESULT kReadFrameResult = 120;

    // An empty frame source and no view.
    CMovieAdapter();
    CMovieAdapter(const CFrameSourcePtr& source, IMovieView* view, bool syncWithSource,
                  bool useViewLut);
    virtual ~CMovieAdapter() = default;
    CMovieAdapter(const CMovieAdapter&) = delete;
    CMovieAdapter& operator=(const CMovieAdapter&) = delete;

    // A plain value kept for the tool.
    virtual HRESULT SetTag(int tag);
    virtual HRESULT GetTag(int* tag);
    // The source's recorded rate in frames per second.
    virtual HRESULT GetFrameRate(double* rate);
    virtual HRESULT GetImageSize(int* width, int* height);
    // The source's bit depth, a plain value for the tool.
    virtual HRESULT GetSourceValue(int* value);
    virtual HRESULT GetFrameCount(int* count);
    // The stored frame; when synchronised with a view, the view's current frame.
    virtual HRESULT GetCurrentFrame(int* frame);
    // Stores frame; when synchronised with a view, moves the view there too (its own set-frame
    // operation while "move the view itself" is on, else its set-current-frame without force).
    virtual HRESULT SetCurrentFrame(int frame);
    // Stores frame; when synchronised, moves the frame source there (without telling its
    // listeners).
    virtual HRESULT SetFrame(int frame);
    virtual HRESULT GetFirstFrameNumber(int* first);
    // The view's in and out points: E_FAIL unless synchronised with a view; a point that is
    // not enabled gives first 0 or last -1.
    virtual HRESULT GetViewFrameRange(int* first, int* last);
    // Copies of the colour and black-and-white sets, owned by the caller; with "use view LUT"
    // and a view, the view's sets are taken first.
    virtual HRESULT GetLutSets(std::unique_ptr<CLutParamSet>* colour,
                               std::unique_ptr<CLutParamSet>* bw);
    // Copies both in; with "use view LUT" and a view, the view shows the frame through them.
    virtual HRESULT SetLutSets(const CLutParamSet* colour, const CLutParamSet* bw);
    // A plain flag kept for the tool.
    virtual HRESULT SetByteFlag(bool flag);
    virtual HRESULT GetByteFlag(bool* flag);
    // Reads frame from the source through the stored sets; kReadFrameResult.
    virtual HRESULT ReadFrame(int frame);
    // E_FAIL without a view; true when the view's source kind is 0.
    virtual HRESULT IsLiveSource(bool* live);
    // The source's path; E_FAIL when synchronised but without a view.
    virtual HRESULT GetFilePath(QString* path);
    // The source's start time and the time of frame as date and time texts; E_FAIL when the
    // source has no time stamp.
    virtual HRESULT GetStartTimeText(QString* date, QString* time);
    virtual HRESULT GetFrameTimeText(int frame, QString* date, QString* time);

    // The exposure of a frame in nanoseconds; E_FAIL (and 0) when the source does not say.
    virtual HRESULT GetShutterNs(int* shutterNs);
    // The IRIG time codes of the trigger and of a frame as two texts (day, time); E_FAIL for a
    // recording without time codes.
    virtual HRESULT GetTriggerTimeCode(QString* a, QString* b);
    virtual HRESULT GetFrameTimeCode(int frame, double rate, QString* a, QString* b);

    // Whether SetCurrentFrame uses the view's own set-frame operation (on by default).
    void SetMoveViewItself(bool on) { m_moveViewItself = on; }

private:
    bool SyncedView() const { return m_syncWithSource && m_view; }

    CFrameSourcePtr m_source;
    IMovieView* m_view = nullptr;
    int m_tag = -1;
    bool m_byteFlag = false;
    int m_currentFrame = -1;
    CLutParamSet m_colourSet;
    CLutParamSet m_bwSet;
    bool m_syncWithSource = false;
    bool m_useViewLut = false;
    bool m_moveViewItself = true;
};
