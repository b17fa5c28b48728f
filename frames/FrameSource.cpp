#include "frames/FrameSource.h"

#include "frames/AviSeriesStream.h"
#include "frames/BayerColorFilter.h"
#include "frames/CfgFileInfo.h"
#include "frames/ClampedInt.h"
#include "frames/ColorCoefficientFile.h"
#include "frames/FileNames.h"
#include "frames/ImageSequenceStream.h"
#include "frames/RawStream.h"
#include "frames/SaveControllerBase.h"
#include "frames/SaveVideoParams.h"
#include "frames/TiffCameraHeader.h"
#include "platform/framework/IPrompter.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/wintypes/CLocale.h"

#include <QDate>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <utility>

using namespace imaging;

std::atomic<unsigned> CFrameSource::s_nextId{0};
std::atomic<int> CFrameSource::s_lutWorkCount{0};

namespace {

// Makes dib an owned bottom-up bitmap of that size and depth, keeping the memory of one that
// already is: frame after frame of one recording needs no new buffers.
bool ReuseOrCreateDib(CDib* dib, int width, int height, int bitCount) {
    const BITMAPINFOHEADER* header = dib->GetHeader();
    if (header && dib->GetBits() && header->biWidth == width && header->biHeight == height &&
        header->biBitCount == bitCount && dib->GetColourCount() == (bitCount == 8 ? 256 : 0) &&
        dib->GetImageSize() == DibRowBytes(width, static_cast<WORD>(bitCount)) * height)
        return true;
    return dib->Create(nullptr, width, height, bitCount);
}

ColorAdjustmentFactory& ColourDialogFactory() {
    static ColorAdjustmentFactory factory;
    return factory;
}

constexpr auto kListWait = std::chrono::milliseconds(3000);
constexpr int kAvifSearchBytes = 3000;
constexpr int kAvifBlockBytes = 72;
constexpr int64_t kTicksPerDay = 864000000000LL;

int32_t Le32At(const QByteArray& data, int offset) {
    const auto* p = reinterpret_cast<const BYTE*>(data.constData()) + offset;
    return static_cast<int32_t>(uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                                (uint32_t{p[3]} << 24));
}

// A batch-named image file: the text from its last '[' up to the extension is made only of
// "[]ofOF0123456789_".
bool IsBatchName(const QString& path, QString* prefix) {
    const int open = path.lastIndexOf('[');
    if (open < 0)
        return false;
    int end = path.lastIndexOf('.');
    if (end < open)
        end = path.size();
    static const QString kAllowed = "[]ofOF0123456789_";
    for (int i = open; i < end; ++i)
        if (!kAllowed.contains(path[i]))
            return false;
    *prefix = path.left(open + 1);
    return true;
}

int64_t DayNumber(const QDate& date) {
    return date.toJulianDay() - QDate(1601, 1, 1).toJulianDay();
}

// Date and time texts of a FILETIME count, the time to the rounded microsecond.
void TimeTexts(int64_t ticks, QString* date, QString* time) {
    const int64_t us = (std::max<int64_t>(ticks, 0) + 5) / 10;
    const int64_t usPerDay = kTicksPerDay / 10;
    const QDate day = QDate(1601, 1, 1).addDays(us / usPerDay);
    int64_t rest = us % usPerDay;
    const int micro = static_cast<int>(rest % 1000000);
    rest /= 1000000;
    if (date)
        *date = QFormatC("%d-%02d-%02d", day.year(), day.month(), day.day());
    if (time)
        *time = QFormatC("%02d:%02d:%02d.%06d", static_cast<int>(rest / 3600),
                         static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60), micro);
}

// The read lock of a source. A frame change found while this thread holds it goes to the
// listeners once the thread's outermost hold has ended: a listener that reads another source
// (a derived one, reading this one) never waits for it with this source locked, so the two
// read locks are only ever taken derived source first.
class ReadLock {
public:
    ReadLock(CFrameSource* source, std::recursive_mutex& mutex) : m_source(source), m_mutex(mutex) {
        m_mutex.lock();
        Hold().depth++;
    }
    ~ReadLock() {
        std::vector<std::pair<int, int>> notices;
        auto& holds = Holds();
        const auto it = Find();
        if (--it->depth == 0) {
            notices.swap(it->notices);
            holds.erase(it);
        }
        m_mutex.unlock();
        for (const auto& [frame, flag] : notices)
            m_source->NotifyFrameChange(frame, flag);
    }
    ReadLock(const ReadLock&) = delete;
    ReadLock& operator=(const ReadLock&) = delete;

    // Keeps a frame change for the end of the outermost hold.
    static void Defer(const CFrameSource* source, int frame, int flag) {
        for (HoldState& hold : Holds()) {
            if (hold.source == source) {
                hold.notices.emplace_back(frame, flag);
                return;
            }
        }
    }

private:
    struct HoldState {
        const CFrameSource* source;
        int depth;
        std::vector<std::pair<int, int>> notices;
    };
    // The sources this thread holds the read lock of; a thread holds few at a time.
    static std::vector<HoldState>& Holds() {
        thread_local std::vector<HoldState> holds;
        return holds;
    }
    std::vector<HoldState>::iterator Find() {
        auto& holds = Holds();
        return std::find_if(holds.begin(), holds.end(),
                            [this](const HoldState& h) { return h.source == m_source; });
    }
    HoldState& Hold() {
        const auto it = Find();
        if (it != Holds().end())
            return *it;
        Holds().push_back({m_source, 0, {}});
        return Holds().back();
    }

    CFrameSource* m_source;
    std::recursive_mutex& m_mutex;
};

}  // namespace

CFrameSource::CFrameSource()
    : m_id(++s_nextId),
      m_notifier(std::make_unique<CNotifier>()),
      m_frameImage(std::make_unique<CFrameImage>()) {
    ResetLutParams(&m_ownSets[0]);
    ResetLutParams(&m_ownSets[1]);
}

CFrameSource::~CFrameSource() {
    // A save of this source is told to stop, and a read under way on its streaming thread ends
    // before the reader goes.
    if (m_saveController)
        m_saveController->CancelSave();
    {
        std::lock_guard read(m_readMutex);
        ReleaseStream();
        AVIFileRelease(m_aviFile);
        m_aviFile = nullptr;
        m_frameImage.reset();
    }
    std::unique_lock lock(m_listenerMutex, std::defer_lock);
    const bool locked = lock.try_lock_for(kListWait);
    (void)locked;  // the notifier goes with the source either way
    m_notifier.reset();
}

void CFrameSource::ReleaseStream() {
    m_colourDialog.reset();  // bound to the filter released below
    m_reader.reset();
    AVIStreamRelease(m_stream);
    m_stream = nullptr;
    m_sequenceStream = nullptr;
    m_seriesStream = nullptr;
    m_colourFilter = nullptr;
}

void CFrameSource::ResetRecordingInfo() {
    m_kind = 0;
    m_sequenceFlag = 0;
    m_batchFlag = 0;
    m_framesPerBatch = -1;
    m_batchOffset = 0;
    m_cycle = 0;
    m_firstFrame = 0;
    m_rate = -1;
    m_exposureNs = -1;
    m_hasTimeStamp = 0;
    m_segmentStarts.clear();
    m_currentFrame = -1;
    m_frameCount = 0;
    m_width = m_height = 0;
    m_colour = 0;
    m_bitCount = 8;
    m_lutFrame = -1;
    m_readImageFrame = -1;
    m_displayValid = false;
}

int CFrameSource::Open(const QString& path) {
    ReadLock read(this, m_readMutex);
    if (m_open || m_stream)
        Close();
    ResetRecordingInfo();
    m_path = path;
    m_displayPath = path;
    const QString extension = GetFileExtension(path).toLower();
    if (extension == "raw") {
        IAVIStream* stream = OpenRawStream(path);
        if (!stream)
            return 0;
        m_stream = stream;
        m_firstFrame = GetRawFirstFrameNumber(stream);
        m_rate = GetRawFrameRate(stream);
        m_kind = kSingleStream;
    } else if (extension == "avi") {
        if (!OpenAvi(path))
            return 0;
    } else if (extension == "bmp" || extension == "tif" || extension == "jpg") {
        QString prefix;
        if (!OpenSequence(path, IsBatchName(path, &prefix)))
            return 0;
    } else {
        return 0;
    }
    FinishOpen();
    return 1;
}

int CFrameSource::OpenStream(IAVIStream* stream, const QString& name) {
    ReadLock read(this, m_readMutex);
    if (m_open || m_stream)
        Close();
    ResetRecordingInfo();
    m_path = name;
    m_displayPath = name;
    if (!stream)
        return 0;
    AVIStreamAddRef(stream);
    m_stream = stream;
    m_kind = kSingleStream;
    AviStreamInfo info;
    if (AVIStreamInfo(stream, &info, sizeof info) == AVIERR_OK && info.rate > 0 && info.scale > 0)
        m_rate = ClampedInt(static_cast<double>(info.rate) / info.scale);
    FinishOpen(false);
    return 1;
}

int CFrameSource::OpenAvi(const QString& path) {
    AvifBlock block;
    const bool haveBlock = ReadAvifBlock(path, &block);
    if (IsAviSeriesStart(path)) {
        m_stream = OpenSeriesStream(path);
        if (!m_stream)
            return 0;
        m_seriesStream = m_stream;
        m_kind = kSeries;
    } else {
        AVIFileRelease(m_aviFile);
        m_aviFile = nullptr;
        if (AVIFileOpen(&m_aviFile, path, OF_READ | OF_SHARE_DENY_NONE, nullptr) != AVIERR_OK)
            return 0;
        IAVIStream* stream = nullptr;
        if (AVIFileGetStream(m_aviFile, &stream, streamtypeVIDEO, 0) != AVIERR_OK)
            return 0;
        m_kind = kSingleStream;
        const QString title = GetFileTitle(path, false);
        bool bayer = title.startsWith("RAW");
        for (int i = 3; bayer && i < title.size(); ++i)
            bayer = QStringLiteral("0123456789_").contains(title[i]);
        if (bayer) {
            BITMAPINFOHEADER format;
            LONG size = sizeof format;
            std::vector<BYTE> buffer;
            LONG needed = 0;
            int width = 0, height = 0;
            if (AVIStreamReadFormat(stream, 0, nullptr, &needed) == AVIERR_OK &&
                needed >= kBitmapInfoHeaderBytes) {
                buffer.resize(static_cast<size_t>(needed));
                size = needed;
                if (AVIStreamReadFormat(stream, 0, buffer.data(), &size) == AVIERR_OK) {
                    std::memcpy(&format, buffer.data(), sizeof format);
                    width = format.biWidth;
                    height = std::abs(format.biHeight);
                }
            }
            // Only an uncompressed 8-bit mosaic can be demosaiced; anything else named so is
            // shown as the plain recording it is.
            if (format.biBitCount == 8 && format.biCompression == BI_RGB) {
                IAVIStream* filter = OpenBayerFilter(stream, width, height, path);
                AVIStreamRelease(stream);
                if (!filter)
                    return 0;
                m_stream = m_colourFilter = filter;
                if (const ColorAdjustmentFactory& factory = ColourDialogFactory())
                    m_colourDialog = factory(GetColourFilter(), path);
            } else {
                m_stream = stream;
            }
        } else {
            m_stream = stream;
        }
    }
    if (haveBlock) {
        m_rate = block.rate > 0 ? block.rate : -1;
        m_firstFrame = -block.preTriggerFrames;
        // A divisor of 0 gives no exposure instead of a division by zero.
        if (block.exposureDivisor != 0) {
            const double divisor = block.exposureDivisor < 0 ? 1.0 : block.exposureDivisor;
            const double rate = m_rate > 0 ? m_rate : 1.0;
            m_exposureNs = static_cast<int>(1e9 / (divisor * rate));
        }
        if (block.hasTimeStamp)
            SetTimeStamp(block.year, block.month, block.day, block.msOfDay, m_firstFrame);
    }
    return 1;
}

int CFrameSource::OpenSequence(const QString& path, bool batch) {
    int startNumber = 0;
    m_stream = OpenSequenceStream(path, batch, &startNumber, &m_segmentStarts);
    if (!m_stream)
        return 0;
    std::sort(m_segmentStarts.begin(), m_segmentStarts.end());
    m_sequenceStream = m_stream;
    (batch ? m_batchFlag : m_sequenceFlag) = 1;
    m_firstFrame = -startNumber;
    // A camera that writes its own header into its TIFF files dates the recording there; its
    // two-digit years are taken as 1970 to 2069.
    TiffCameraHeader camera;
    if (GetImageSequenceCameraHeader(m_stream, &camera) && camera.hour < 24 && camera.minute < 60 &&
        camera.second < 60)
        SetTimeStamp(camera.year < 70 ? 2000 + camera.year : 1900 + camera.year, camera.month,
                     camera.day, ((camera.hour * 60 + camera.minute) * 60 + camera.second) * 1000,
                     m_firstFrame);
    const QString extension = GetFileExtension(path);
    QString prefix;
    if (batch && IsBatchName(path, &prefix))
        m_displayPath = GetFileNameFromPath(prefix) + "*]_*." + extension;
    else if (GetFileNameFromPath(path).contains('_'))  // the folder's names are not the set's
        m_displayPath = GetFileNameFromPath(GetNumberlessBaseName(path)) + "_*." + extension;
    else
        m_displayPath = GetFileNameFromPath(GetDigitlessBaseName(path)) + "*." + extension;
    m_kind = kSequence;
    return 1;
}

QString CFrameSource::ConfigFilePath() const {
    QString stem = GetConfigStem(m_displayPath);
    const QString folder = GetFolderFromPath(m_path);
    if (GetFolderFromPath(m_displayPath).isEmpty() && !folder.isEmpty())
        stem = folder + '/' + stem;
    return stem + ".cfg";
}

void CFrameSource::FinishOpen(bool readSideFile) {
    m_frameCount = std::max<LONG>(AVIStreamLength(m_stream), 0);
    LONG size = 0;
    std::vector<BYTE> format;
    if (AVIStreamReadFormat(m_stream, 0, nullptr, &size) == AVIERR_OK &&
        size >= kBitmapInfoHeaderBytes) {
        format.resize(static_cast<size_t>(size));
        if (AVIStreamReadFormat(m_stream, 0, format.data(), &size) != AVIERR_OK)
            format.clear();
    }
    if (!format.empty()) {
        BITMAPINFOHEADER header;
        std::memcpy(&header, format.data(), sizeof header);
        m_width = header.biWidth;
        m_height = std::abs(header.biHeight);
        m_bitCount = header.biBitCount;
        // 16-bit streams of this program carry grey samples (RAW files, grey image sequences);
        // 16-bit colour AVI files reach us decoded to 24 bits.
        m_colour = m_bitCount > 8 && m_bitCount != 16 ? 1 : 0;
        if (m_bitCount >= 8 && m_bitCount <= 15) {
            const size_t inFormat =
                (format.size() - std::min<size_t>(header.biSize, format.size())) / 4;
            const size_t used = std::min<size_t>(header.biClrUsed, inFormat);
            const BYTE* table = format.data() + header.biSize;
            for (size_t i = 0; i < used && !m_colour; ++i) {
                const BYTE* entry = table + 4 * i;
                m_colour = entry[0] != entry[1] || entry[1] != entry[2];
            }
        }
    }
    if (!readSideFile) {
        m_open = 1;
        return;
    }
    CCfgFileInfo info;
    const bool hadStamp = m_hasTimeStamp != 0;
    if (info.Load(ConfigFilePath())) {
        m_framesPerBatch = info.m_framesPerBatch;
        m_batchOffset = info.m_batchOffset;
        m_cycle = info.m_cycle;
        m_firstFrame = info.m_firstFrame;
        m_rate = ClampedInt(info.m_rateHz);
        m_exposureNs = info.m_exposureNs;
        if (!hadStamp && info.m_hasTimeStamp)
            SetTimeStamp(info.m_year, info.m_month, info.m_day, info.m_msOfDay, info.m_refFrame);
    }
    m_open = 1;
}

int CFrameSource::GetFrameCount() const {
    return m_stream ? m_frameCount : -1;
}

int CFrameSource::GetFirstFrameNumber() const {
    return m_stream ? m_firstFrame : -1;
}

int CFrameSource::Close() {
    ReadLock read(this, m_readMutex);
    ReleaseStream();
    m_open = 0;
    m_currentFrame = -1;
    m_lutFrame = -1;
    m_readImageFrame = -1;
    m_displayValid = false;
    return 1;
}

int CFrameSource::ReadInto(CFrameImage* image, int n) {
    if (!m_open || !m_stream)
        return 0;
    if (!m_reader)
        m_reader = std::make_unique<CAviGetFrame>(m_stream);
    // Frames read for display are shown from the file's pages where the stream allows it: a
    // step then touches only what the window shows. Copies for callers stay copies.
    return image->FillFromReader(m_reader.get(), m_stream, n, true, image == &m_readImage);
}

int CFrameSource::ReadFrame(int n) {
    ReadLock read(this, m_readMutex);
    // GetFrame's caller gets the frame read straight into its image; the source's own image
    // then no longer holds the current frame.
    if (m_readTarget) {
        m_readTargetFilled = ReadInto(m_readTarget, n) != 0;
        m_frameImageStale = m_frameImageStale || m_readTargetFilled;
        return m_readTargetFilled ? 1 : 0;
    }
    // A forced read (live video, read again for every step) goes where the display takes its
    // frames from, and the source's image shows the same pixels: the frame is then neither
    // copied for display nor read twice. While those rows are still shared from the last such
    // read (the display kept them), the frame is read as usual.
    if (m_forcedRead && m_readImage.GetBitmap() && !m_readImage.GetBitmap()->RowsShared()) {
        if (!ReadInto(&m_readImage, n))
            return 0;
        if (m_frameImage->ShareFrom(m_readImage) || m_frameImage->CopyFrom(m_readImage)) {
            m_readImageFrame = n;
            m_frameImageStale = false;
            return 1;
        }
    }
    const int result = ReadInto(m_frameImage.get(), n);
    m_frameImageStale = m_frameImageStale && !result;
    return result;
}

int CFrameSource::CopyFrameImage(int, CFrameImage* image) {
    ReadLock read(this, m_readMutex);
    if (!image)
        return 0;
    // The current frame went straight into another caller's image: it is read again for this
    // one, into the source's image, which serves every later copy.
    if (m_frameImageStale && m_currentFrame >= 0 && ReadInto(m_frameImage.get(), m_currentFrame))
        m_frameImageStale = false;
    return image->CopyFrom(*m_frameImage);
}

HRESULT CFrameSource::Advise(IIdUnknown* listener, int* cookie) {
    std::unique_lock lock(m_listenerMutex, std::defer_lock);
    if (!m_notifier || !lock.try_lock_for(kListWait))
        return E_FAIL;
    return m_notifier->Advise(listener, cookie);
}

HRESULT CFrameSource::Unadvise(int cookie) {
    std::unique_lock lock(m_listenerMutex, std::defer_lock);
    if (!m_notifier || !lock.try_lock_for(kListWait))
        return E_FAIL;
    m_notifier->Unadvise(cookie);
    return S_OK;
}

int CFrameSource::NotifyFrameChange(int frame, int flag) {
    std::unique_lock lock(m_listenerMutex, std::try_to_lock);
    if (!m_notifier || !lock.owns_lock())
        return 0;
    NotifyFrameChanged(m_notifier.get(), frame, flag);
    return 1;
}

int CFrameSource::MoveToFrame(int n, int notify, int force) {
    ReadLock read(this, m_readMutex);
    if (!m_open)
        return 0;
    if (n == m_currentFrame && !force)
        return 1;
    m_forcedRead = force != 0;
    const int result = ReadFrame(n);
    m_forcedRead = false;
    // A failed read leaves no current frame, so the next request for n reads again instead of
    // handing out the previous frame's picture.
    m_currentFrame = result ? n : -1;
    // A forced read is for a frame whose picture may have changed (live video): the display
    // copy is made again from it too.
    if (force)
        m_lutFrame = -1;
    if (notify)
        ReadLock::Defer(this, n, force);
    return result;
}

int CFrameSource::GetFrame(int n, CFrameImage* image, int notify) {
    ReadLock read(this, m_readMutex);
    // New colour settings show on the next read, even of the frame already current.
    int force = 0;
    if (CBayerColorFilter* filter = AsBayerColorFilter(m_colourFilter);
        filter && filter->IsSettingsChanged()) {
        filter->SetSettingsChanged(false);
        force = 1;
    }
    m_readTarget = image;
    m_readTargetFilled = false;
    const int moved = MoveToFrame(n, notify, force);
    m_readTarget = nullptr;
    if (!moved)
        return 0;
    return m_readTargetFilled ? 1 : CopyFrameImage(n, image);
}

bool CFrameSource::ReadCachedFrame(int n, int flag) {
    m_lutFrame = -1;
    // The frame a forced read just put there needs no copy from the source's image, which shows
    // the same pixels (unless new colour settings call for reading it again).
    const CBayerColorFilter* filter = AsBayerColorFilter(m_colourFilter);
    const bool readHere = m_readImageFrame == n && n == m_currentFrame && !m_frameImageStale &&
                          !(filter && filter->IsSettingsChanged());
    m_readImageFrame = -1;
    if (!readHere && !GetFrame(n, &m_readImage, flag))
        return false;
    const Bitmap* bitmap = m_readImage.GetBitmap();
    // 8-bit frames stay where they were read, with their colours beside them: the display
    // tables then map 256 colours instead of every pixel.
    m_cacheIndexed = bitmap && bitmap->GetPixelFormat() == PixelFormat8bppIndexed;
    if (m_cacheIndexed) {
        ColorPalette palette;
        bitmap->GetPalette(&palette);
        for (UINT i = 0; i < kMaxPaletteEntries; ++i) {
            // Values beyond the palette's count are black, as when the frame is expanded.
            const ARGB c = i < palette.Count ? palette.Entries[i] : 0;
            m_cachedColours[i] = {static_cast<BYTE>(c), static_cast<BYTE>(c >> 8),
                                  static_cast<BYTE>(c >> 16), 0};
        }
        m_lutFrame = n;
        return true;
    }
    BitmapData data;
    if (!m_readImage.LockBits(nullptr, ImageLockModeRead, PixelFormat24bppRGB, &data))
        return false;
    const int width = static_cast<int>(data.Width);
    const int height = static_cast<int>(data.Height);
    if (!ReuseOrCreateDib(&m_cachedFrame, width, height, 24)) {
        m_readImage.UnlockBits(&data);
        return false;
    }
    // Bottom row first: the cached bitmap is bottom-up.
    const size_t row = 3 * static_cast<size_t>(data.Width);
    const size_t stride = DibRowBytes(width, 24);
    for (UINT y = 0; y < data.Height; ++y)
        std::memcpy(m_cachedFrame.GetBits() + stride * (data.Height - 1 - y),
                    static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                    row);
    m_readImage.UnlockBits(&data);
    m_lutFrame = n;
    return true;
}

int CFrameSource::GetFrameDib(int n, CFrameImage* image, const CLutParamSet& colourSet,
                              const CLutParamSet& bwSet, int flag) {
    ReadLock read(this, m_readMutex);
    ++s_lutWorkCount;
    struct Done {
        ~Done() { --s_lutWorkCount; }
    } done;
    bool reread = false;
    const bool cached =
        m_cacheIndexed ? m_readImage.GetBitmap() != nullptr : m_cachedFrame.GetHeader() != nullptr;
    const CBayerColorFilter* filter = AsBayerColorFilter(m_colourFilter);
    if (m_lutFrame != n || !cached || (filter && filter->IsSettingsChanged())) {
        if (!ReadCachedFrame(n, flag))
            return 0;
        reread = true;
    }
    LONG colourMode = 0;
    CLutParamSet(colourSet).GetColor2BW(&colourMode);
    bool rebuilt = false;
    const CLutParamSet* sets[2] = {&colourSet, &bwSet};
    for (int i = 0; i < (colourMode ? 2 : 1); ++i) {
        if (m_setBuilt[i] && m_usedSets[i] == *sets[i])
            continue;
        m_usedSets[i] = *sets[i];
        m_luts[i].Build(m_usedSets[i], i);
        m_setBuilt[i] = true;
        m_greyLevelsValid = m_greyLevelsValid && i != 0;
        rebuilt = true;
    }
    if (reread || rebuilt || !m_displayValid || m_displayColourMode != (colourMode != 0)) {
        if (colourMode && m_cacheIndexed) {
            const int width = static_cast<int>(m_readImage.GetWidth());
            const int height = static_cast<int>(m_readImage.GetHeight());
            BitmapData data;
            if (!ReuseOrCreateDib(&m_displayFrame, width, height, 8) ||
                !m_readImage.LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &data))
                return 0;
            // One grey level per colour, derived again only when the colours or the table
            // change; the read rows run top to bottom, the grey bitmap's bottom to top.
            if (!m_greyLevelsValid ||
                std::memcmp(m_greyColours, m_cachedColours, sizeof m_greyColours) != 0) {
                m_luts[0].GreyLevels(m_cachedColours, 256, m_greyLevels);
                std::copy_n(m_cachedColours, 256, m_greyColours);
                m_greyLevelsValid = true;
            }
            const size_t stride = DibRowBytes(width, 8);
            for (int y = 0; y < height; ++y)
                CDisplayLut::LookUpRow(
                    static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                    m_displayFrame.GetBits() + stride * (height - 1 - y), m_greyLevels, width);
            m_readImage.UnlockBits(&data);
            std::memcpy(m_displayFrame.GetColourTable(), m_luts[1].Palette(),
                        256 * sizeof(RGBQUAD));
        } else if (colourMode) {
            const BITMAPINFOHEADER& header = *m_cachedFrame.GetHeader();
            if (!ReuseOrCreateDib(&m_displayFrame, header.biWidth, header.biHeight, 8))
                return 0;
            m_luts[0].ConvertToGrey(m_cachedFrame.GetBits(), m_displayFrame.GetBits(), 24, true,
                                    header.biWidth, header.biHeight, nullptr);
            std::memcpy(m_displayFrame.GetColourTable(), m_luts[1].Palette(),
                        256 * sizeof(RGBQUAD));
        } else if (m_cacheIndexed) {
            // The read pixels stay as they are; only their colours go through the table.
            std::copy_n(m_cachedColours, 256, m_displayColours);
            if (!m_luts[0].IsIdentity())
                m_luts[0].MapColourTable(m_displayColours, m_displayColours, 256);
        } else {
            const BITMAPINFOHEADER& header = *m_cachedFrame.GetHeader();
            const int width = header.biWidth;
            const int height = header.biHeight;
            if (!ReuseOrCreateDib(&m_displayFrame, width, height, 24))
                return 0;
            if (m_luts[0].IsIdentity())
                std::memcpy(m_displayFrame.GetBits(), m_cachedFrame.GetBits(),
                            m_cachedFrame.GetImageSize());
            else
                m_luts[0].MapPixels(m_cachedFrame.GetBits(), m_displayFrame.GetBits(), 24, true,
                                    width, height);
        }
        m_displayFromCache = !colourMode && m_cacheIndexed;
        m_displayValid = true;
        m_displayColourMode = colourMode != 0;
    }
    if (!image)
        return 0;
    if (m_displayFromCache) {
        // The read pixels go to the caller as they are, and its former bitmap takes the next
        // read; this frame is read again should it be wanted again.
        m_lutFrame = -1;
        m_readImageFrame = -1;
        return image->TakeFrom(m_readImage, m_displayColours);
    }
    return image->FillFromDib(&m_displayFrame) ? 1 : 0;
}

int CFrameSource::GetDisplayFrame(int n, CFrameImage* image, int useLut, int flag) {
    if (!useLut)
        return GetFrame(n, image, flag);
    return GetFrameDib(n, image, m_ownSets[0], m_ownSets[1], flag);
}

int CFrameSource::GetSourceId(unsigned* id) const {
    if (id)
        *id = m_id;
    return 1;
}

void CFrameSource::OpenLinked(const CFrameSource& inner, int width, int height) {
    ReadLock read(this, m_readMutex);
    ResetRecordingInfo();
    m_path = inner.m_path;
    m_displayPath = inner.m_displayPath;
    m_kind = inner.m_kind;
    m_rate = inner.m_rate;
    m_exposureNs = inner.m_exposureNs;
    m_firstFrame = inner.m_firstFrame;
    m_bitCount = inner.m_bitCount;
    m_colour = inner.m_colour;
    m_width = width;
    m_height = height;
    m_open = inner.m_open;
}

void CFrameSource::SetLinkedImageSize(int width, int height) {
    ReadLock read(this, m_readMutex);
    m_width = width;
    m_height = height;
}

void CFrameSource::GetImageSize(int* width, int* height) const {
    if (width)
        *width = m_width;
    if (height)
        *height = m_height;
}

int CFrameSource::HasSegments() const {
    return m_segmentFlag || m_batchFlag || m_kind == kSeries;
}

int CFrameSource::GetSegmentBoundary(int frame, int direction) const {
    if (m_kind == kSeries)
        return GetSeriesBoundary(frame, direction);
    if (!m_sequenceStream)
        return -1;
    if (direction < 0) {
        const auto it = std::lower_bound(m_segmentStarts.begin(), m_segmentStarts.end(), frame);
        return it == m_segmentStarts.begin() ? 0 : *(it - 1);
    }
    const auto it = std::upper_bound(m_segmentStarts.begin(), m_segmentStarts.end(), frame);
    return it == m_segmentStarts.end() ? m_frameCount - 1 : *it;
}

int CFrameSource::GetBatchBoundary(int frame, int direction) const {
    const int64_t batch = m_framesPerBatch;
    if (batch <= 0)
        return -1;
    const int64_t r = ((int64_t{frame} + m_batchOffset) % batch + batch) % batch;
    int64_t result = direction <= 0 ? frame - r + batch : frame + (r != 0 ? batch - r : 0) - batch;
    if (result > m_frameCount - 1)
        result = m_frameCount - 1;
    if (result < 0)
        result = m_frameCount > 0 ? 0 : m_frameCount - 1;
    return static_cast<int>(result);
}

void CFrameSource::SetCfgFileInfo(const CCfgFileInfo& info) {
    m_framesPerBatch = info.m_framesPerBatch;
    m_batchOffset = info.m_batchOffset;
    m_cycle = info.m_cycle;
    m_firstFrame = info.m_firstFrame;
    m_rate = ClampedInt(info.m_rateHz);
    m_exposureNs = info.m_exposureNs;
    m_hasTimeStamp = 0;
    if (info.m_hasTimeStamp)
        SetTimeStamp(info.m_year, info.m_month, info.m_day, info.m_msOfDay, info.m_refFrame);
}

void CFrameSource::GetCfgFileInfo(CCfgFileInfo* info) const {
    if (!info)
        return;
    info->m_framesPerBatch = m_framesPerBatch;
    info->m_batchOffset = m_batchOffset;
    info->m_cycle = m_cycle;
    info->m_firstFrame = m_firstFrame;
    info->m_rate = m_rate;
    info->m_rateHz = m_rate;
    info->m_exposureNs = m_exposureNs;
    info->m_hasTimeStamp = m_hasTimeStamp;
    info->m_year = m_stampYear;
    info->m_month = m_stampMonth;
    info->m_day = m_stampDay;
    info->m_msOfDay = m_stampMs;
    info->m_refFrame = m_stampRefFrame;
}

int CFrameSource::SaveCfgFile() const {
    CCfgFileInfo info;
    GetCfgFileInfo(&info);
    return info.Save(ConfigFilePath());
}

int CFrameSource::SetTimeStamp(int year, int month, int day, int msOfDay, int refFrame) {
    const QDate date(year, month, day);
    // FILETIME counts reach the year 30827; a stored year beyond it would overflow the ticks.
    if (!date.isValid() || date.year() < 1601 || date.year() > 30827 || msOfDay < 0 ||
        msOfDay >= 86400000)
        return 0;
    m_startTime = FILETIME::FromTicks(
        static_cast<uint64_t>(DayNumber(date) * kTicksPerDay + int64_t{msOfDay} * 10000));
    m_hasTimeStamp = 1;
    m_stampYear = year;
    m_stampMonth = month;
    m_stampDay = day;
    m_stampMs = msOfDay;
    m_stampRefFrame = refFrame;
    return 1;
}

int CFrameSource::GetTimeStamp(int* year, int* month, int* day, int* msOfDay, int* refFrame) const {
    if (!m_hasTimeStamp)
        return 0;
    if (year)
        *year = m_stampYear;
    if (month)
        *month = m_stampMonth;
    if (day)
        *day = m_stampDay;
    if (msOfDay)
        *msOfDay = m_stampMs;
    if (refFrame)
        *refFrame = m_stampRefFrame;
    return 1;
}

int CFrameSource::GetStartTimeText(QString* date, QString* time) const {
    if (!m_hasTimeStamp)
        return 0;
    TimeTexts(static_cast<int64_t>(m_startTime.Ticks()), date, time);
    return 1;
}

int CFrameSource::GetFrameTimeText(int frame, double rate, QString* date, QString* time) const {
    if (!m_hasTimeStamp || !(rate > 0) || !std::isfinite(rate))
        return 0;
    // In doubles and clamped to the FILETIME range, so that no stored frame number or rate
    // overflows the ticks.
    constexpr double kMaxTicks = 9.0e18;
    const double ticks = static_cast<double>(m_startTime.Ticks()) +
                         (static_cast<double>(frame) - m_stampRefFrame) / rate * 1e7;
    TimeTexts(std::llround(std::clamp(ticks, 0.0, kMaxTicks)), date, time);
    return 1;
}

namespace {

CFrameSource::SaveControllerFactory& SaveFactory() {
    static CFrameSource::SaveControllerFactory factory;
    return factory;
}

}  // namespace

void CFrameSource::SetSaveControllerFactory(SaveControllerFactory factory) {
    SaveFactory() = std::move(factory);
}

std::unique_ptr<CSaveControllerBase> CFrameSource::CreateSaveController() {
    return SaveFactory() ? SaveFactory()(this) : nullptr;
}

CSaveControllerBase* CFrameSource::GetSaveController() {
    // Made on first use rather than in the constructor, so that a derived source's
    // CreateSaveController is the one that runs.
    if (!m_saveController)
        m_saveController = CreateSaveController();
    return m_saveController.get();
}

int CFrameSource::PrepareSave(CSaveVideoParams* params) {
    CSaveControllerBase* controller = GetSaveController();
    if (!params || !controller)
        return 0;
    params->m_zeroOffset = -GetFirstFrameNumber();
    return controller->Prompt(params) == S_OK ? 1 : 0;
}

int CFrameSource::Save(CSaveVideoParams* params) {
    CSaveControllerBase* controller = GetSaveController();
    return controller && controller->Save(params) == S_OK ? 1 : 0;
}

int CFrameSource::SaveAs(int) {
    CSaveControllerBase* controller = GetSaveController();
    if (!controller) {
        AfxMessageBox(QStringLiteral("Sorry, this feature is not available."), MB_ICONINFORMATION);
        return 0;
    }
    CSaveVideoParams params;
    params.m_sourcePath = m_path;
    params.m_zeroOffset = -GetFirstFrameNumber();
    return controller->PromptAndSave(&params) == S_OK ? 1 : 0;
}

int64_t CFrameSource::EstimateSaveSize(int64_t frameBytes, int paletteEntries, int frameCount,
                                       int kind) {
    if (frameBytes < 1 || frameCount < 1)
        return -1;
    const int64_t base = frameBytes * frameCount;
    switch (kind) {
        case 0:
            return base + 4 * int64_t{paletteEntries} + 212;
        case 1:
            return base + (int64_t{paletteEntries} + 10) * frameCount * 4;
        case 2:
            return base + (int64_t{paletteEntries} + 512) * frameCount * 4;
        case 3:
            return -1;
        default:
            return base;
    }
}

bool CFrameSource::ReadAvifBlock(const QString& path, AvifBlock* block) {
    QFile file(path);
    if (!block || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(kAvifSearchBytes + 4);
    const int at = head.indexOf("AVIF");
    if (at < 0 || at > kAvifSearchBytes)
        return false;
    if (!file.seek(at + 4))
        return false;
    const QByteArray data = file.read(kAvifBlockBytes);
    if (data.size() < kAvifBlockBytes)
        return false;
    block->rate = Le32At(data, 0);
    block->exposureDivisor = Le32At(data, 8);
    block->year = Le32At(data, 48);
    block->month = Le32At(data, 52);
    block->day = Le32At(data, 56);
    block->msOfDay = Le32At(data, 60);
    block->preTriggerFrames = Le32At(data, 64);
    block->hasTimeStamp = Le32At(data, 68);
    return true;
}

IAVIStream* CFrameSource::OpenSeriesStream(const QString& path) {
    return OpenAviSeries(path);
}

IAVIStream* CFrameSource::OpenSequenceStream(const QString& path, bool batch, int* startNumber,
                                             std::vector<int>* segmentStarts) {
    segmentStarts->clear();
    IAVIStream* stream =
        batch ? OpenBatchSequence(path, segmentStarts) : OpenImageSequence(path, 1, -1, -1, 0);
    if (stream)
        *startNumber = static_cast<int>(GetImageSequenceFirstNumber(stream));
    return stream;
}

CBayerColorFilter* CFrameSource::GetColourFilter() const {
    return AsBayerColorFilter(m_colourFilter);
}

int CFrameSource::ShowColorAdjustment(int captionKind, CWnd* view) {
    CBayerColorFilter* filter = GetColourFilter();
    if (!filter)
        return 0;
    // A recording opened before the window's layer was there gets its window now.
    if (!m_colourDialog && ColourDialogFactory())
        m_colourDialog = ColourDialogFactory()(filter, m_path);
    if (!m_colourDialog)
        return 0;
    m_colourDialog->ShowFor(captionKind, view);
    return 1;
}

void CFrameSource::SetColorAdjustmentFactory(ColorAdjustmentFactory factory) {
    ColourDialogFactory() = std::move(factory);
}

IAVIStream* CFrameSource::OpenBayerFilter(IAVIStream* stream, int width, int height,
                                          const QString& path) {
    ColorCoefficients file;
    const bool loaded = ReadColorCoefficients(ReplaceExtension(path, "clr"), &file);
    return CreateBayerColorFilter(stream, width, height, loaded ? file.rows[0] : nullptr,
                                  loaded ? file.rows[1] : nullptr, loaded ? file.rows[2] : nullptr);
}

int CFrameSource::GetSeriesBoundary(int frame, int direction) const {
    return GetSeriesSegmentBoundary(m_seriesStream, frame, direction);
}
