#pragma once

// CPlaybackView: the view of every member of a play group (video, sensor data, notes, camera).
// It carries the member's identity in its group and the playback facts that the group, the
// play controls and the readouts ask of any member alike; the virtual operations are the
// contract through which the group drives a member. Subclasses read and show frames.

#include "views/MView.h"

#include "platform/wintypes/Point.h"

#include <QString>

class CDocument;

class CPlaybackView : public CMView {
    DECLARE_DYNCREATE(CPlaybackView)
    DECLARE_MESSAGE_MAP()

public:
    // Kinds of member (GetSourceType).
    static constexpr int kDataMember = 2;
    static constexpr int kVideoMember = 3;
    // Source kind of a device's latest recording (GetSourceKind).
    static constexpr int kDeviceRecording = 1;

    // Called with the context and the current frame when the view's frame changes or the view
    // becomes active, so that the play controls follow the member.
    using FrameChangedCallback = void (*)(void* context, int frame);

    CPlaybackView();
    ~CPlaybackView() override;

    // Stores max(frame, 0); force matters only to views that read frames.
    virtual void SetCurrentFrame(int frame, int force);
    virtual int GetCurrentFrame() const;
    // A value of the member's own; data views use it, the base ignores it and answers 0.
    virtual void SetValue(int value);
    virtual int GetValue() const;
    // The base knows no source: 0, nothing written.
    virtual int GetFirstFrameNumber(int* first) const;
    // Saves the member's source; the base has none and answers 0.
    virtual int SaveSource(int option);
    // The enabled flag; the frame goes to *frame when frame is not null.
    virtual int GetInPoint(int* frame) const;
    virtual int GetOutPoint(int* frame) const;
    // The flag; the first frame number goes to *first when first is not null.
    virtual int GetFrameNumberOrigin(int* first) const;
    // Recorded rate in frames per second; 1.0 also stands for an unknown rate.
    virtual double GetFrameRate() const;
    // Whether times count from the member's second origin rather than its zero frame (a data
    // view can do so); the base answers FALSE.
    virtual BOOL IsTimeFromSecondOrigin() const { return FALSE; }
    virtual int GetFrameCount() const;
    // How the member's graph numbers its scans: 0 from the video's frames (video-centric), 1
    // from the data's own origin (data-centric). The base keeps the value for views without a
    // graph.
    virtual void SetGraphNumberingMode(int mode) { m_graphNumberingMode = mode; }
    virtual int GetGraphNumberingMode() const { return m_graphNumberingMode; }
    // Makes frame the member's zero point (its trigger frame); the base has no source to keep
    // it in and answers FALSE.
    virtual BOOL SetZeroFrame(int) { return FALSE; }

    void SetGroupDocument(CDocument* pDocument) { m_pGroupDocument = pDocument; }
    CDocument* GetGroupDocument() const { return m_pGroupDocument; }
    void SetGroupMember(int type, int index, int kind, int param);
    int GetSourceType() const { return m_memberType; }
    int GetMemberIndex() const { return m_memberIndex; }
    int GetSourceKind() const { return m_sourceKind; }
    int GetMemberParam() const { return m_memberParam; }
    void SetInPoint(int enabled, int frame);
    void SetOutPoint(int enabled, int frame);
    void SetFrameNumberOrigin(int flag, int first);
    // A rate that is not above 0 (or not a number) is stored as 1.0.
    void SetFrameRate(double rate);
    void SetFrameCount(int count) { m_frameCount = count; }
    void SetSkipFrames(int skip) { m_skip = skip; }
    int GetSkipFrames() const { return m_skip; }
    void SetImageSize(int width, int height);
    // Width in x, height in y; nothing for a null pointer.
    void GetImageSize(CPoint* size) const;
    void SetShutter(int ns) { m_shutterNs = ns; }
    int GetShutter() const { return m_shutterNs; }
    void SetBitDepth(int bits) { m_bitDepth = bits; }
    int GetBitDepth() const { return m_bitDepth; }
    void SetChannelCount(int count) { m_channelCount = count; }
    int GetChannelCount() const { return m_channelCount; }
    void SetBaseSync(int on) { m_baseSync = on; }
    int GetBaseSync() const { return m_baseSync; }
    void SetContinuous(int on) { m_continuous = on; }
    int GetContinuous() const { return m_continuous; }
    QString GetSourceName() const { return m_displayName; }
    void SetSourcePath(const QString& path) { m_path = path; }
    QString GetSourcePath() const { return m_path; }
    void SetFrameChangedCallback(FrameChangedCallback callback, void* context);
    // Calls the frame-changed callback with the current frame when function and context are
    // both set.
    void NotifyFrameChanged();
    // The title of the view's document; empty without a document.
    QString GetDocumentTitle() const;
    // Builds the display name from a member's path: the last folder, "\" and the file name
    // shortened (see ShortenFileName). An empty path empties the name.
    void SetSourceName(const QString& path);
    // The file name as titles show it: without the "{v3}"-style tag that a play group's
    // re-save puts in front of member file names and without the extension; an image
    // sequence without a tag is named by the base of its numbered files.
    static QString ShortenFileName(const QString& path);

    // Maps the frames first..last of a member recorded at rateB onto a member recorded at
    // rateA that has countB frames, moved by offset: *outFirst is not below 0 and *outLast
    // not above countB - 1. A rate that is not above 0 counts as 1.0. 0 without writing
    // anything when either pointer is null, else 1.
    static int MapFrameRangeByRate(double rateA, int offset, int countB, double rateB, int last,
                                   int first, int* outFirst, int* outLast);

    // Brings the parent frame to the top and, on activation, lets the play controls follow.
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

protected:
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);

    int m_memberIndex = 0;
    int m_memberType = 0;
    int m_sourceKind = 0;
    int m_memberParam = 0;
    int m_currentFrame = 0;
    int m_inEnabled = 0;
    int m_inFrame = -1;
    int m_outEnabled = 0;
    int m_outFrame = -1;
    int m_originFlag = 0;
    int m_originFirst = -1;
    double m_frameRate = 1.0;
    int m_frameCount = 0;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_shutterNs = 0;
    int m_bitDepth = 0;
    int m_channelCount = 0;
    FrameChangedCallback m_frameChanged = nullptr;
    void* m_frameChangedContext = nullptr;
    CDocument* m_pGroupDocument = nullptr;
    int m_baseSync = 0;
    int m_continuous = 0;
    QString m_displayName;
    QString m_path;
    int m_skip = 0;
    int m_graphNumberingMode = 0;
};
