#pragma once

// CFrameSource: the one object through which the program reads a recording. It opens a file by
// its extension as a single stream of equally sized frames, keeps the recording's timing (rate,
// exposure, first frame number, batch layout, start time), decodes frame n into its frame image,
// hands frames to views (plain or through the display look-up tables), and tells its frame-change
// listeners which frame is current. Shared between owners through CFrameSourcePtr.
//
// Threads: the user-interface thread and a save thread may read the same source; reads are
// serialised by the source's read lock. The listener list has its own lock: notification only
// tries it and skips when it is busy, so readers never starve it.

#include "frames/Dib.h"
#include "frames/DisplayLut.h"
#include "frames/FrameImage.h"
#include "frames/IColorAdjustment.h"
#include "frames/Notifier.h"
#include "platform/framework/Object.h"
#include "platform/media/AviFile.h"
#include "platform/media/AviGetFrame.h"
#include "platform/wintypes/FileTime.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class CBayerColorFilter;
class CCfgFileInfo;
class CSaveControllerBase;
class CSaveVideoParams;

class CFrameSource : public CObject {
public:
    // The recording-information block that the recorder writes into its AVI files.
    struct AvifBlock {
        int rate = 0;
        int exposureDivisor = 0;
        int year = 0;
        int month = 0;
        int day = 0;
        int msOfDay = 0;
        int preTriggerFrames = 0;
        int hasTimeStamp = 0;
    };
    // Kinds of recording.
    static constexpr int kSingleStream = 1;
    static constexpr int kSequence = 2;
    static constexpr int kSeries = 3;

    CFrameSource();
    ~CFrameSource() override;
    CFrameSource(const CFrameSource&) = delete;
    CFrameSource& operator=(const CFrameSource&) = delete;

    // Opens path by its extension (raw, avi, bmp, tif, jpg in any case), closing any stream
    // held before: 1, or 0 with the source closed. No message of its own.
    virtual int Open(const QString& path);
    // Opens a stream another layer made (a device's held recording or its live video) as a
    // single stream named name, closing any stream held before; the source takes its own
    // reference. No side file is read for it. 1, or 0 with the source closed.
    int OpenStream(IAVIStream* stream, const QString& name);
    // Frames of the open stream, -1 when closed.
    virtual int GetFrameCount() const;
    // Releases the stream (the AVI file handle stays until the next Open or destruction).
    virtual int Close();
    // Decodes frame n into the source's frame image: 1, or 0 when closed or unreadable.
    virtual int ReadFrame(int n);
    // How often the frame reader of the open stream grew its frame buffer (0 before the first
    // read): reading frames of one size allocates it once.
    int FrameBufferAllocations() const { return m_reader ? m_reader->BufferAllocations() : 0; }
    // Makes image a copy of the source's frame image: 1, or 0 for a null image.
    virtual int CopyFrameImage(int n, CFrameImage* image);
    // Removes a listener: 0, or E_FAIL when the listener list cannot be had within 3 s.
    virtual HRESULT Unadvise(int cookie);
    virtual int GetFirstFrameNumber() const;
    // The integer-id interface of derived sources; null here.
    virtual IIdUnknown* GetIdInterface() { return nullptr; }

    // Adds a frame-change listener under *cookie (waits up to 3 s for the listener list).
    HRESULT Advise(IIdUnknown* listener, int* cookie);
    INotifier* GetNotifier() const { return m_notifier.get(); }
    // Reads frame n unless it is already current (and force is 0); with notify, tells the
    // listeners. The result of the read, 1 without one.
    int MoveToFrame(int n, int notify, int force);
    // MoveToFrame, then a copy of the frame into image.
    int GetFrame(int n, CFrameImage* image, int notify);
    // Frame n with the display tables of the two parameter sets applied (colour set, black-and-
    // white set), copied into image. A frame already read and sets already used are not read or
    // built again. 1, or 0 when the frame cannot be read.
    int GetFrameDib(int n, CFrameImage* image, const CLutParamSet& colourSet,
                    const CLutParamSet& bwSet, int flag);
    // GetFrame, or with useLut GetFrameDib with the source's own parameter sets.
    int GetDisplayFrame(int n, CFrameImage* image, int useLut, int flag);
    // Tells every listener that frame is current: 1, or 0 when the listener list is busy.
    int NotifyFrameChange(int frame, int flag);

    int GetSourceId(unsigned* id) const;
    int IsOpen() const { return m_open; }
    int IsFromDevice() const { return m_fromDevice; }
    void SetFromDevice(int fromDevice) { m_fromDevice = fromDevice; }
    void GetImageSize(int* width, int* height) const;
    const QString& GetFilePath() const { return m_path; }
    const QString& GetDisplayPath() const { return m_displayPath; }
    int GetKind() const { return m_kind; }
    int GetBitCount() const { return m_bitCount; }
    int IsColor() const { return m_colour; }
    int GetRecordedRate() const { return m_rate; }
    int GetExposure() const { return m_exposureNs; }
    int IsBayerColor() const { return m_colourFilter != nullptr; }
    // The colour filter of a Bayer recording, null for any other.
    CBayerColorFilter* GetColourFilter() const;
    // Shows the colour adjustment window of a Bayer recording for view with the caption of
    // captionKind (0 file, 1 camera): 1, or 0 when the recording has no colour filter or no
    // window can be made.
    int ShowColorAdjustment(int captionKind, CWnd* view);
    // Where Bayer recordings get their colour adjustment window (set once by the views layer).
    static void SetColorAdjustmentFactory(ColorAdjustmentFactory factory);
    CLutParamSet& ColourLutParams() { return m_ownSets[0]; }
    CLutParamSet& BwLutParams() { return m_ownSets[1]; }

    int HasSegments() const;
    // The neighbouring segment start in a direction (< 0 back, else forward), -1 without
    // segments.
    int GetSegmentBoundary(int frame, int direction) const;
    int IsBatch() const { return m_framesPerBatch > 0; }
    // The next batch start (direction <= 0) or the start of this or the previous batch
    // (direction >= 1), kept inside the recording; -1 when the recording has no batches.
    int GetBatchBoundary(int frame, int direction) const;

    void SetCfgFileInfo(const CCfgFileInfo& info);
    void GetCfgFileInfo(CCfgFileInfo* info) const;
    // Writes the configuration side file beside the recording: 1, or 0 after the side file's
    // own message.
    int SaveCfgFile() const;
    // Sets the start time: 1, or 0 (nothing stored) for a date or time of day that does not
    // exist.
    int SetTimeStamp(int year, int month, int day, int msOfDay, int refFrame);
    int GetTimeStamp(int* year, int* month, int* day, int* msOfDay, int* refFrame) const;
    // "2024-03-05" and "14:02:09.250000": 1, or 0 without a time stamp (or, for a frame,
    // without a positive rate).
    int GetStartTimeText(QString* date, QString* time) const;
    int GetFrameTimeText(int frame, double rate, QString* date, QString* time) const;

    // Makes the save controller of a source (set by the layer that holds the save dialogs; a
    // source without one cannot save). An empty function takes it away again.
    using SaveControllerFactory =
        std::function<std::unique_ptr<CSaveControllerBase>(CFrameSource*)>;
    static void SetSaveControllerFactory(SaveControllerFactory factory);
    // A new controller for this source from the factory; null without one.
    virtual std::unique_ptr<CSaveControllerBase> CreateSaveController();
    // The source's controller, made on first use and kept for the source's life.
    CSaveControllerBase* GetSaveController();
    // Fills the request's zero offset and asks where and how to save: 1 when confirmed.
    int PrepareSave(CSaveVideoParams* params);
    // Runs a prepared request: 1 on success (failures are reported by the save itself).
    int Save(CSaveVideoParams* params);
    // Asks for and saves the whole source in one step: 1 on success. Without a controller the
    // user is told that saving is not available.
    int SaveAs(int kind);
    // Raised while a save of this source runs.
    int IsSaving() const { return m_saving.load(); }
    void SetSaving(int saving) { m_saving.store(saving); }

    // Bytes a save of frameCount frames is expected to take, -1 when unknown.
    static int64_t EstimateSaveSize(int64_t frameBytes, int paletteEntries, int frameCount,
                                    int kind);
    // Reads the recording-information block from the first 3000 bytes of path; false when the
    // file cannot be read, has no marker there or ends inside the block.
    static bool ReadAvifBlock(const QString& path, AvifBlock* block);
    // Raised while a display frame is being built, and how many are under way.
    static bool IsLutWorking() { return s_lutWorkCount.load() > 0; }

protected:
    // Dispatch points of the stream kinds that other readers provide. Each returns the stream
    // with one reference for the caller, or null when the file cannot be opened so.
    // An AVI series: path has siblings named like it with "_01", "_02", ...
    virtual IAVIStream* OpenSeriesStream(const QString& path);
    // Numbered images (batch: a batch-named set); *startNumber is the number of the first
    // image and *segmentStarts the frames at which each batch starts, in order.
    virtual IAVIStream* OpenSequenceStream(const QString& path, bool batch, int* startNumber,
                                           std::vector<int>* segmentStarts);
    // The colour filter over a mono Bayer AVI stream (the filter takes its own reference).
    virtual IAVIStream* OpenBayerFilter(IAVIStream* stream, int width, int height,
                                        const QString& path);
    // The file boundary of an AVI series next to frame in a direction.
    virtual int GetSeriesBoundary(int frame, int direction) const;
    // For a source that reads its frames through inner (overriding ReadFrame and
    // CopyFrameImage): it counts as open with inner's path, timing and pixel layout, and frames
    // of width x height.
    void OpenLinked(const CFrameSource& inner, int width, int height);
    // A linked source whose frame size follows a region it cuts out.
    void SetLinkedImageSize(int width, int height);

private:
    int OpenAvi(const QString& path);
    int OpenSequence(const QString& path, bool batch);
    void ResetRecordingInfo();
    void FinishOpen(bool readSideFile = true);
    // The configuration side file beside the recording (a sequence's display name has no
    // folder, and the current folder is not the recording's).
    QString ConfigFilePath() const;
    void ReleaseStream();
    bool ReadCachedFrame(int n, int flag);
    // Decodes frame n of the open stream into image: 1, or 0.
    int ReadInto(CFrameImage* image, int n);

    static std::atomic<unsigned> s_nextId;
    static std::atomic<int> s_lutWorkCount;

    unsigned m_id;
    std::recursive_timed_mutex m_listenerMutex;
    std::recursive_mutex m_readMutex;
    std::unique_ptr<CNotifier> m_notifier;
    int m_open = 0;
    int m_kind = 0;
    QString m_path;
    QString m_displayPath;
    PAVIFILE m_aviFile = nullptr;
    IAVIStream* m_stream = nullptr;          // holds one reference
    IAVIStream* m_sequenceStream = nullptr;  // these three name m_stream when it is theirs
    IAVIStream* m_seriesStream = nullptr;
    IAVIStream* m_colourFilter = nullptr;
    std::unique_ptr<CAviGetFrame> m_reader;            // over m_stream, opened on the first read
    std::unique_ptr<IColorAdjustment> m_colourDialog;  // bound to m_colourFilter
    std::unique_ptr<CFrameImage> m_frameImage;
    // While GetFrame reads: the caller's image, which the read fills instead of m_frameImage,
    // and whether it did.
    CFrameImage* m_readTarget = nullptr;
    bool m_readTargetFilled = false;
    // m_frameImage does not hold the current frame, which went into a caller's image.
    bool m_frameImageStale = false;
    // Raised by MoveToFrame while it forces a read, and the frame such a read put into
    // m_readImage (-1: none, or m_readImage changed since).
    bool m_forcedRead = false;
    int m_readImageFrame = -1;
    int m_currentFrame = -1;
    int m_frameCount = 0;
    int m_width = 0;
    int m_height = 0;
    int m_colour = 0;
    int m_bitCount = 8;
    int m_sequenceFlag = 0;
    int m_segmentFlag = 0;
    int m_batchFlag = 0;
    int m_framesPerBatch = -1;
    int m_batchOffset = 0;
    int m_cycle = 0;
    int m_firstFrame = 0;
    int m_rate = -1;
    int m_exposureNs = -1;
    std::vector<int> m_segmentStarts;
    int m_fromDevice = 0;
    std::unique_ptr<CSaveControllerBase> m_saveController;
    std::atomic<int> m_saving{0};

    // Display cache: the frame last read for display (8-bit frames as read into m_readImage
    // with their colours in m_cachedColours, others as 24-bit m_cachedFrame), the sets its
    // tables come from, and the mapped result. 8-bit pixels shown as read are handed on to the
    // caller's image, which leaves the cache empty.
    int m_lutFrame = -1;
    CFrameImage m_readImage;
    bool m_cacheIndexed = false;
    RGBQUAD m_cachedColours[256] = {};
    // The grey level of each cached colour through m_luts[0], and the colours they were for.
    BYTE m_greyLevels[256] = {};
    RGBQUAD m_greyColours[256] = {};
    bool m_greyLevelsValid = false;
    CDib m_cachedFrame;
    CLutParamSet m_usedSets[2];
    bool m_setBuilt[2] = {false, false};
    CDisplayLut m_luts[2];
    CDib m_displayFrame;
    // The mapped colours of an 8-bit cached frame, shown with the read pixels themselves
    // (m_displayFromCache) instead of a mapped copy.
    RGBQUAD m_displayColours[256] = {};
    bool m_displayFromCache = false;
    bool m_displayValid = false;
    bool m_displayColourMode = false;
    CLutParamSet m_ownSets[2];

    int m_hasTimeStamp = 0;
    FILETIME m_startTime;
    int m_stampYear = 0;
    int m_stampMonth = 0;
    int m_stampDay = 0;
    int m_stampMs = 0;
    int m_stampRefFrame = 0;
};
