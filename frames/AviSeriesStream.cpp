#include "frames/AviSeriesStream.h"

#include "frames/FileNames.h"
#include "platform/framework/IPrompter.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/wintypes/BitmapInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr DWORD kSeriesScale = 1;
constexpr DWORD kSeriesRate = 25;

void Tell(const QString& text, UINT icon) {
    AfxPrompter().MessageBox({text, QStringLiteral("Error"), MB_OK | icon, nullptr});
}

// The frame format of frame 0, its header only; false when the stream gives none.
bool HeaderOf(IAVIStream* stream, BITMAPINFOHEADER* header) {
    LONG size = 0;
    if (AVIStreamReadFormat(stream, 0, nullptr, &size) != AVIERR_OK ||
        size < kBitmapInfoHeaderBytes)
        return false;
    std::vector<BYTE> format(static_cast<size_t>(size));
    if (AVIStreamReadFormat(stream, 0, format.data(), &size) != AVIERR_OK)
        return false;
    std::memcpy(header, format.data(), sizeof *header);
    return true;
}

}  // namespace

std::vector<QString> FindAviSeriesMembers(const QString& path) {
    const QFileInfo opened(path);
    const QString stem = opened.completeBaseName();
    const QString extension = GetFileExtension(path);
    // The folder is listed once; members are then looked up by their name in lower case.
    QHash<QString, QString> byLowerName;
    const QDir folder = opened.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        byLowerName.insert(name.toLower(), name);
    std::vector<QString> members{path};
    for (int n = 1;; ++n) {
        const QString wanted =
            (stem + QStringLiteral("_%1.").arg(n, 2, 10, QChar('0')) + extension).toLower();
        const auto it = byLowerName.constFind(wanted);
        if (it == byLowerName.constEnd())
            break;
        members.push_back(folder.filePath(*it));
    }
    return members;
}

bool IsAviSeriesStart(const QString& path) {
    return FindAviSeriesMembers(path).size() > 1;
}

CAviSeriesStream::~CAviSeriesStream() {
    for (Member& member : m_members) {
        AVIStreamRelease(member.stream);
        AVIFileRelease(member.file);
    }
}

HRESULT CAviSeriesStream::Create(LPARAM frameCount, LPARAM size) {
    m_frameCount = static_cast<int>(frameCount);
    m_width = static_cast<int>(size & 0xFFFF);
    m_height = static_cast<int>((size >> 16) & 0xFFFF);
    m_refCount = 1;
    return AVIERR_OK;
}

HRESULT CAviSeriesStream::Info(AviStreamInfo* info, LONG size) {
    if (!info || size < static_cast<LONG>(sizeof(AviStreamInfo)))
        return AVIERR_BUFFERTOOSMALL;
    *info = {};
    info->fccType = streamtypeVIDEO;
    info->fccHandler = MakeFourCC('D', 'I', 'B', ' ');
    info->scale = kSeriesScale;
    info->rate = kSeriesRate;
    info->length = static_cast<DWORD>(m_frameCount);
    info->frame = CRect(0, 0, m_width, m_height);
    const char16_t name[] = u"Partial Video";
    std::memcpy(info->name, name, sizeof name);
    return AVIERR_OK;
}

const CAviSeriesStream::Member& CAviSeriesStream::MemberOf(LONG frame, LONG* inFile) const {
    const auto it = std::upper_bound(
        m_members.begin(), m_members.end(), int64_t{frame},
        [](int64_t wanted, const Member& member) { return wanted < member.firstFrame; });
    const Member& member = *(it - 1);
    *inFile = static_cast<LONG>(frame - member.firstFrame);
    return member;
}

HRESULT CAviSeriesStream::ReadFormat(LONG position, void* format, LONG* size) {
    if (position < 0 || position >= m_frameCount)
        return AVIERR_BADPARAM;
    LONG inFile = 0;
    const Member& member = MemberOf(position, &inFile);
    return AVIStreamReadFormat(member.stream, inFile, format, size);
}

HRESULT CAviSeriesStream::Read(LONG start, LONG samples, void* buffer, LONG bufferSize,
                               LONG* bytesRead, LONG* samplesRead) {
    if (start < 0 || start >= m_frameCount)
        return AVIERR_BADPARAM;
    LONG inFile = 0;
    const Member& member = MemberOf(start, &inFile);
    return AVIStreamRead(member.stream, inFile, samples, buffer, bufferSize, bytesRead,
                         samplesRead);
}

int CAviSeriesStream::SegmentBoundary(int frame, int direction) const {
    if (m_frameCount <= 0)
        return 0;
    const LONG clamped = std::clamp(frame, 0, m_frameCount - 1);
    LONG inFile = 0;
    const Member& member = MemberOf(clamped, &inFile);
    int64_t result = member.firstFrame;
    if (direction >= 1)
        result = member.firstFrame + member.frames;
    else if (direction < 0 && inFile == 0 && clamped > 0)
        result = MemberOf(clamped - 1, &inFile).firstFrame;
    return static_cast<int>(std::clamp<int64_t>(result, 0, m_frameCount - 1));
}

IAVIStream* OpenAviSeries(const QString& path) {
    auto* series = new CAviSeriesStream;
    auto fail = [series]() -> IAVIStream* {
        delete series;
        return nullptr;
    };
    BITMAPINFOHEADER first;
    int64_t total = 0;
    for (const QString& memberPath : FindAviSeriesMembers(path)) {
        CAviSeriesStream::Member member;
        member.path = memberPath;
        if (AVIFileOpen(&member.file, memberPath, OF_READ | OF_SHARE_DENY_NONE, nullptr) !=
            AVIERR_OK) {
            Tell(QStringLiteral("File in series is missing or improperly formatted, displaying "
                                "partial series."),
                 MB_ICONEXCLAMATION);
            continue;
        }
        series->m_members.push_back(member);  // released with the series from here on
        CAviSeriesStream::Member& kept = series->m_members.back();
        BITMAPINFOHEADER header;
        if (AVIFileGetStream(kept.file, &kept.stream, streamtypeVIDEO, 0) != AVIERR_OK ||
            !HeaderOf(kept.stream, &header)) {
            Tell(QStringLiteral("Error getting video stream from file in series."),
                 MB_ICONINFORMATION);
            return fail();
        }
        if (series->m_members.size() == 1) {
            first = header;
        } else if (header.biBitCount != first.biBitCount || header.biWidth != first.biWidth ||
                   std::abs(header.biHeight) != std::abs(first.biHeight) ||
                   header.biCompression != first.biCompression) {
            Tell(QStringLiteral("Error loading series.  Video files do not have identical "
                                "formats."),
                 MB_ICONEXCLAMATION);
            return fail();
        }
        kept.firstFrame = total;
        kept.frames = std::max<LONG>(AVIStreamLength(kept.stream), 0);
        total += kept.frames;
    }
    // Nothing to show, or more frames than a stream can count.
    if (total <= 0 || total > std::numeric_limits<LONG>::max() || first.biWidth <= 0 ||
        first.biWidth > 0xFFFF || std::abs(first.biHeight) > 0xFFFF)
        return fail();
    // Members without frames take no part in finding the file of a frame.
    std::erase_if(series->m_members, [](CAviSeriesStream::Member& member) {
        if (member.frames > 0)
            return false;
        AVIStreamRelease(member.stream);
        AVIFileRelease(member.file);
        return true;
    });
    series->Create(static_cast<LPARAM>(total),
                   (LPARAM{std::abs(first.biHeight)} << 16) | first.biWidth);
    return series;
}

int GetSeriesSegmentBoundary(IAVIStream* stream, int frame, int direction) {
    auto* series = dynamic_cast<CAviSeriesStream*>(stream);
    return series ? series->SegmentBoundary(frame, direction) : -1;
}
