#include "platform/media/FfmpegAviStream.h"

#include "platform/media/AviStreamBase.h"
#include "platform/media/OpenFileRegistry.h"
#include "platform/wintypes/BitmapInfo.h"

#include <QFile>
#include <QFileInfo>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

constexpr int kMaxColours = 256;
constexpr LONG kFormatBytes8 = kBitmapInfoHeaderBytes + 4 * kMaxColours;

uint32_t Le32(const BYTE* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

bool IsTag(const BYTE* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

// The "strf" chunk of the index-th video stream, read from the file's header list: the bitmap
// header and colour table as the writer stored them. Empty when the file is no RIFF AVI file.
struct HeaderScan {
    bool isAvi = false;
    std::vector<BYTE> videoFormat;
};

HeaderScan ScanHeader(const QString& path, LONG index) {
    HeaderScan scan;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return scan;
    const QByteArray head = file.read(12);
    if (head.size() < 12 || !IsTag(reinterpret_cast<const BYTE*>(head.data()), "RIFF") ||
        !IsTag(reinterpret_cast<const BYTE*>(head.data()) + 8, "AVI "))
        return scan;
    scan.isAvi = true;
    // The header list comes first and is small; a bound keeps a damaged size from running away.
    constexpr qint64 kMaxHeaderList = 16 << 20;
    const QByteArray listHead = file.read(12);
    if (listHead.size() < 12)
        return scan;
    const auto* lh = reinterpret_cast<const BYTE*>(listHead.data());
    if (!IsTag(lh, "LIST") || !IsTag(lh + 8, "hdrl"))
        return scan;
    const qint64 listBytes = std::min<qint64>(Le32(lh + 4), kMaxHeaderList);
    const QByteArray list = file.read(std::max<qint64>(listBytes - 4, 0));
    const auto* data = reinterpret_cast<const BYTE*>(list.data());
    const qint64 size = list.size();
    LONG videoSeen = 0;
    for (qint64 pos = 0; pos + 12 <= size;) {
        const qint64 chunkBytes = Le32(data + pos + 4);
        const qint64 end = std::min(size, pos + 8 + chunkBytes);
        if (IsTag(data + pos, "LIST") && IsTag(data + pos + 8, "strl")) {
            bool video = false;
            for (qint64 sub = pos + 12; sub + 8 <= end;) {
                const qint64 subBytes = Le32(data + sub + 4);
                const qint64 subEnd = std::min(end, sub + 8 + subBytes);
                if (IsTag(data + sub, "strh") && subEnd - sub >= 12)
                    video = IsTag(data + sub + 8, "vids");
                else if (IsTag(data + sub, "strf") && video && videoSeen++ == index) {
                    scan.videoFormat.assign(data + sub + 8, data + subEnd);
                    return scan;
                }
                sub += 8 + subBytes + (subBytes & 1);
            }
        }
        pos += 8 + chunkBytes + (chunkBytes & 1);
    }
    return scan;
}

void QuietLibraryLog() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

class CFfmpegAviStream : public CAviStreamBase {
public:
    explicit CFfmpegAviStream(const QString& path) : m_entry(path) {}

    HRESULT Open(const QString& path, LONG index);

    HRESULT Create(LPARAM, LPARAM) override { return AVIERR_UNSUPPORTED; }
    HRESULT Info(AviStreamInfo* info, LONG size) override;
    LONG FindSample(LONG position, LONG flags) override;
    HRESULT ReadFormat(LONG position, void* format, LONG* size) override;
    HRESULT Read(LONG start, LONG samples, void* buffer, LONG bufferSize, LONG* bytesRead,
                 LONG* samplesRead) override;
    HRESULT ReadRows(LONG start, BYTE* first, ptrdiff_t step) override;

private:
    ~CFfmpegAviStream() override;

    LONG Length() const { return static_cast<LONG>(m_timestamps.size()); }
    LONG FrameBytes() const { return m_rowBytes * m_height; }
    LONG PacketIndex(const AVPacket& packet) const;
    bool ReadOwnPacket();
    bool Seek(LONG frame);
    // Row i of the frame goes to first + i * step, rowBytes of it.
    HRESULT ReadStored(LONG frame, BYTE* first, ptrdiff_t step, size_t rowBytes);
    HRESULT Decode(LONG frame, BYTE* first, ptrdiff_t step);
    HRESULT Convert(const AVFrame& frame, BYTE* first, ptrdiff_t step);

    COpenFileEntry m_entry;
    AVFormatContext* m_format = nullptr;
    AVStream* m_stream = nullptr;
    AVCodecContext* m_decoder = nullptr;
    SwsContext* m_scaler = nullptr;
    AVPixelFormat m_scalerFormat = AV_PIX_FMT_NONE;  // The decoded format m_scaler was made for.
    // Whether m_scaler was seen to write nothing past a frame's rows, so that it may write
    // straight into the caller's rows; unknown until its first frame.
    enum class ScalerReach { kUnknown, kWithinRows, kBeyond };
    ScalerReach m_scalerReach = ScalerReach::kUnknown;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    std::vector<int64_t> m_timestamps;  // per frame, in decoding order
    std::vector<bool> m_keyFrames;
    std::vector<bool> m_damaged;       // frames whose data the file holds only in part
    std::vector<BYTE> m_bitmapFormat;  // header and colour table that Read's rows go with
    std::vector<BYTE> m_scaled;        // the scaler's output, with room for its overrun
    bool m_stored = false;             // rows are passed on as the file stores them
    int m_width = 0;
    int m_height = 0;
    int m_bits = 0;
    LONG m_rowBytes = 0;
    LONG m_nextPacket = -1;  // frame of the packet the demuxer gives next; -1: unknown
    LONG m_lastOutput = -1;  // display position of the decoder's last picture
    bool m_drained = false;
    AviStreamInfo m_info;
};

CFfmpegAviStream::~CFfmpegAviStream() {
    sws_freeContext(m_scaler);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_decoder);
    avformat_close_input(&m_format);
}

HRESULT CFfmpegAviStream::Open(const QString& path, LONG index) {
    QuietLibraryLog();
    if (!QFileInfo(path).isFile())
        return AVIERR_FILEOPEN;
    const HeaderScan scan = ScanHeader(path, index);
    if (!scan.isAvi)
        return QFile(path).open(QIODevice::ReadOnly) ? AVIERR_BADFORMAT : AVIERR_FILEOPEN;
    if (avformat_open_input(&m_format, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return AVIERR_BADFORMAT;
    if (avformat_find_stream_info(m_format, nullptr) < 0)
        return AVIERR_BADFORMAT;
    LONG seen = 0;
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        AVStream* stream = m_format->streams[i];
        if (!m_stream && stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && seen++ == index)
            m_stream = stream;
        else
            stream->discard = AVDISCARD_ALL;
    }
    if (!m_stream)
        return AVIERR_NODATA;
    const AVCodecParameters* par = m_stream->codecpar;
    m_width = par->width;
    m_height = std::abs(par->height);
    if (m_width <= 0 || m_height <= 0)
        return AVIERR_BADFORMAT;
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_packet || !m_frame)
        return AVIERR_MEMORY;

    const int entries = avformat_index_get_entries_count(m_stream);
    for (int i = 0; i < entries; ++i) {
        const AVIndexEntry* entry = avformat_index_get_entry(m_stream, i);
        m_timestamps.push_back(entry->timestamp);
        m_keyFrames.push_back((entry->flags & AVINDEX_KEYFRAME) != 0);
    }
    // A file cut short has lost the index at its end: the library then knows only the packets
    // it read while probing, fewer than the header counts. Its packets are walked once.
    if (m_timestamps.empty() || static_cast<int64_t>(m_timestamps.size()) < m_stream->nb_frames) {
        m_timestamps.clear();
        m_keyFrames.clear();
        while (av_read_frame(m_format, m_packet) >= 0) {
            if (m_packet->stream_index == m_stream->index) {
                m_timestamps.push_back(m_packet->dts != AV_NOPTS_VALUE
                                           ? m_packet->dts
                                           : static_cast<int64_t>(m_timestamps.size()));
                m_keyFrames.push_back((m_packet->flags & AV_PKT_FLAG_KEY) != 0);
            }
            av_packet_unref(m_packet);
        }
    }
    if (!m_keyFrames.empty())
        m_keyFrames[0] = true;
    m_damaged.assign(m_timestamps.size(), false);

    // The file's own bitmap header decides whether its rows can be passed on unchanged.
    const std::vector<BYTE>& strf = scan.videoFormat;
    if (par->codec_id == AV_CODEC_ID_RAWVIDEO && strf.size() >= kBitmapInfoHeaderBytes &&
        Le32(strf.data() + 16) == BI_RGB) {
        const int bits = strf[14] | (strf[15] << 8);
        if (bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32) {
            m_stored = true;
            m_bits = bits;
            const auto storedHeight = static_cast<LONG>(Le32(strf.data() + 8));
            BITMAPINFOHEADER header;
            header.biWidth = m_width;
            header.biHeight = storedHeight < 0 ? -m_height : m_height;
            header.biBitCount = static_cast<WORD>(bits);
            header.biCompression = BI_RGB;
            m_rowBytes = static_cast<LONG>(DibRowBytes(m_width, header.biBitCount));
            header.biSizeImage = static_cast<DWORD>(FrameBytes());
            int colours = 0;
            if (bits <= 8) {
                const DWORD used = Le32(strf.data() + 32);
                colours = used > 0 && used <= (1u << bits) ? static_cast<int>(used) : 1 << bits;
            }
            header.biClrUsed = static_cast<DWORD>(colours);
            m_bitmapFormat.resize(kBitmapInfoHeaderBytes + 4 * colours);
            std::memcpy(m_bitmapFormat.data(), &header, sizeof header);
            const size_t tableAt = Le32(strf.data());  // the header's own size
            for (int i = 0; i < colours; ++i) {
                BYTE* entry = m_bitmapFormat.data() + kBitmapInfoHeaderBytes + 4 * i;
                const size_t from = tableAt + 4 * static_cast<size_t>(i);
                if (tableAt >= kBitmapInfoHeaderBytes && from + 4 <= strf.size()) {
                    std::memcpy(entry, strf.data() + from, 3);
                } else {
                    // A table the writer left out: the levels of a grey image.
                    const int level = colours > 1 ? i * 255 / (colours - 1) : 0;
                    entry[0] = entry[1] = entry[2] = static_cast<BYTE>(level);
                }
                entry[3] = 0;
            }
        }
    }
    if (!m_stored) {
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        if (!codec)
            return AVIERR_NOCOMPRESSOR;
        m_decoder = avcodec_alloc_context3(codec);
        if (!m_decoder || avcodec_parameters_to_context(m_decoder, par) < 0)
            return AVIERR_MEMORY;
        if (avcodec_open2(m_decoder, codec, nullptr) < 0)
            return AVIERR_NOCOMPRESSOR;
        const bool grey = par->format == AV_PIX_FMT_GRAY8;
        m_bits = grey ? 8 : 24;
        m_rowBytes = static_cast<LONG>(DibRowBytes(m_width, static_cast<WORD>(m_bits)));
        BITMAPINFOHEADER header;
        header.biWidth = m_width;
        header.biHeight = -m_height;
        header.biBitCount = static_cast<WORD>(m_bits);
        header.biSizeImage = static_cast<DWORD>(FrameBytes());
        header.biClrUsed = grey ? kMaxColours : 0;
        m_bitmapFormat.resize(grey ? kFormatBytes8 : kBitmapInfoHeaderBytes);
        std::memcpy(m_bitmapFormat.data(), &header, sizeof header);
        for (int i = 0; grey && i < kMaxColours; ++i) {
            BYTE* entry = m_bitmapFormat.data() + kBitmapInfoHeaderBytes + 4 * i;
            entry[0] = entry[1] = entry[2] = static_cast<BYTE>(i);
        }
    }

    m_info.fccType = streamtypeVIDEO;
    m_info.fccHandler = par->codec_tag;
    m_info.scale = static_cast<DWORD>(std::max(m_stream->time_base.num, 1));
    m_info.rate = static_cast<DWORD>(std::max(m_stream->time_base.den, 1));
    m_info.length = static_cast<DWORD>(Length());
    m_info.suggestedBufferSize = static_cast<DWORD>(FrameBytes());
    m_info.frame = CRect(0, 0, m_width, m_height);
    return AVIERR_OK;
}

HRESULT CFfmpegAviStream::Info(AviStreamInfo* info, LONG size) {
    if (!info)
        return AVIERR_BADPARAM;
    if (size < static_cast<LONG>(sizeof(AviStreamInfo)))
        return AVIERR_BUFFERTOOSMALL;
    *info = m_info;
    return AVIERR_OK;
}

LONG CFfmpegAviStream::FindSample(LONG position, LONG flags) {
    if ((flags & FIND_TYPE) != FIND_KEY)
        return CAviStreamBase::FindSample(position, flags);
    const LONG length = Length();
    if ((flags & FIND_DIR) == FIND_NEXT) {
        for (LONG i = std::max<LONG>(position, 0); i < length; ++i)
            if (m_keyFrames[i])
                return i;
        return -1;
    }
    for (LONG i = std::min(position, length - 1); i >= 0; --i)
        if (m_keyFrames[i])
            return i;
    return -1;
}

HRESULT CFfmpegAviStream::ReadFormat(LONG position, void* format, LONG* size) {
    if (!size || position < 0 || position > Length())
        return AVIERR_BADPARAM;
    const auto needed = static_cast<LONG>(m_bitmapFormat.size());
    if (!format || *size == 0) {
        *size = needed;
        return AVIERR_OK;
    }
    if (*size < needed)
        return AVIERR_BUFFERTOOSMALL;
    std::memcpy(format, m_bitmapFormat.data(), m_bitmapFormat.size());
    *size = needed;
    return AVIERR_OK;
}

HRESULT CFfmpegAviStream::Read(LONG start, LONG, void* buffer, LONG bufferSize, LONG* bytesRead,
                               LONG* samplesRead) {
    if (start < 0 || start >= Length())
        return AVIERR_BADPARAM;
    if (!buffer || bufferSize == 0) {
        if (bytesRead)
            *bytesRead = FrameBytes();
        return AVIERR_OK;
    }
    if (bufferSize < FrameBytes())
        return AVIERR_BUFFERTOOSMALL;
    auto* rows = static_cast<BYTE*>(buffer);
    const HRESULT result = m_stored ? ReadStored(start, rows, m_rowBytes, m_rowBytes)
                                    : Decode(start, rows, m_rowBytes);
    if (result != AVIERR_OK)
        return result;
    if (bytesRead)
        *bytesRead = FrameBytes();
    if (samplesRead)
        *samplesRead = 1;
    return AVIERR_OK;
}

HRESULT CFfmpegAviStream::ReadRows(LONG start, BYTE* first, ptrdiff_t step) {
    if (start < 0 || start >= Length() || !first)
        return AVIERR_BADPARAM;
    return m_stored ? ReadStored(start, first, step, static_cast<size_t>(m_width * m_bits + 7) / 8)
                    : Decode(start, first, step);
}

LONG CFfmpegAviStream::PacketIndex(const AVPacket& packet) const {
    if (packet.dts != AV_NOPTS_VALUE) {
        const auto it = std::lower_bound(m_timestamps.begin(), m_timestamps.end(), packet.dts);
        if (it != m_timestamps.end() && *it == packet.dts)
            return static_cast<LONG>(it - m_timestamps.begin());
    }
    return m_nextPacket;
}

bool CFfmpegAviStream::ReadOwnPacket() {
    for (;;) {
        av_packet_unref(m_packet);
        if (av_read_frame(m_format, m_packet) < 0)
            return false;
        if (m_packet->stream_index != m_stream->index)
            continue;
        // A packet read short (the file ends inside it) would decode to a part picture or
        // leave the decoder's previous one in place.
        const LONG at = PacketIndex(*m_packet);
        if ((m_packet->flags & AV_PKT_FLAG_CORRUPT) != 0 && at >= 0 && at < Length())
            m_damaged[static_cast<size_t>(at)] = true;
        return true;
    }
}

bool CFfmpegAviStream::Seek(LONG frame) {
    m_nextPacket = -1;
    if (av_seek_frame(m_format, m_stream->index, m_timestamps[frame], AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    m_nextPacket = frame;
    return true;
}

HRESULT CFfmpegAviStream::ReadStored(LONG frame, BYTE* first, ptrdiff_t step, size_t rowBytes) {
    if (m_nextPacket != frame && !Seek(frame))
        return AVIERR_FILEREAD;
    for (;;) {
        if (!ReadOwnPacket()) {
            m_nextPacket = -1;
            return AVIERR_FILEREAD;
        }
        const LONG at = PacketIndex(*m_packet);
        m_nextPacket = at + 1;
        if (at < frame)
            continue;
        if (at > frame) {
            m_nextPacket = -1;
            return AVIERR_FILEREAD;
        }
        break;
    }
    if (m_damaged[static_cast<size_t>(frame)])
        return AVIERR_FILEREAD;
    const LONG packedRow = (m_width * m_bits + 7) / 8;
    const LONG size = m_packet->size;
    // Rows stored with their padding, or written without it.
    LONG storedRow = 0;
    if (size >= FrameBytes())
        storedRow = m_rowBytes;
    else if (size >= packedRow * m_height)
        storedRow = packedRow;
    else
        return AVIERR_FILEREAD;
    if (storedRow == step && rowBytes == static_cast<size_t>(step)) {
        std::memcpy(first, m_packet->data, static_cast<size_t>(step) * m_height);
    } else {
        rowBytes = std::min(rowBytes, static_cast<size_t>(storedRow));
        for (int y = 0; y < m_height; ++y)
            std::memcpy(first + y * step, m_packet->data + static_cast<size_t>(y) * storedRow,
                        rowBytes);
    }
    av_packet_unref(m_packet);
    return AVIERR_OK;
}

HRESULT CFfmpegAviStream::Decode(LONG frame, BYTE* first, ptrdiff_t step) {
    LONG key = frame;
    while (key > 0 && !m_keyFrames[key])
        --key;
    const bool goOn =
        m_nextPacket >= 0 && !m_drained && m_lastOutput < frame && m_nextPacket >= key;
    if (!goOn) {
        if (!Seek(key))
            return AVIERR_FILEREAD;
        avcodec_flush_buffers(m_decoder);
        m_lastOutput = key - 1;
        m_drained = false;
    }
    for (;;) {
        const int received = avcodec_receive_frame(m_decoder, m_frame);
        if (received == 0) {
            LONG shown = m_lastOutput + 1;
            const int64_t stamp = m_frame->best_effort_timestamp;
            if (stamp != AV_NOPTS_VALUE) {
                const auto it = std::lower_bound(m_timestamps.begin(), m_timestamps.end(), stamp);
                if (it != m_timestamps.end() && *it == stamp)
                    shown = static_cast<LONG>(it - m_timestamps.begin());
            }
            m_lastOutput = shown;
            HRESULT result = AVIERR_OK;
            const bool whole =
                (m_frame->flags & AV_FRAME_FLAG_CORRUPT) == 0 && m_frame->decode_error_flags == 0 &&
                !(shown >= 0 && shown < Length() && m_damaged[static_cast<size_t>(shown)]);
            if (shown == frame)
                result = whole ? Convert(*m_frame, first, step) : AVIERR_FILEREAD;
            av_frame_unref(m_frame);
            if (shown < frame)
                continue;
            if (shown > frame) {
                m_nextPacket = -1;
                return AVIERR_FILEREAD;
            }
            return result;
        }
        if (received != AVERROR(EAGAIN)) {
            m_nextPacket = -1;
            return AVIERR_FILEREAD;
        }
        if (!ReadOwnPacket()) {
            avcodec_send_packet(m_decoder, nullptr);  // let the last pictures out
            m_drained = true;
            continue;
        }
        m_nextPacket = PacketIndex(*m_packet) + 1;
        // A damaged packet is skipped; the pictures after it still decode where they can.
        avcodec_send_packet(m_decoder, m_packet);
        av_packet_unref(m_packet);
    }
}

HRESULT CFfmpegAviStream::Convert(const AVFrame& frame, BYTE* first, ptrdiff_t step) {
    if (frame.width != m_width || frame.height != m_height)
        return AVIERR_BADFORMAT;
    const AVPixelFormat target = m_bits == 8 ? AV_PIX_FMT_GRAY8 : AV_PIX_FMT_BGR24;
    if (frame.format == target) {
        av_image_copy_plane(first, static_cast<int>(step), frame.data[0], frame.linesize[0],
                            m_width * m_bits / 8, m_height);
        return AVIERR_OK;
    }
    // Made once per decoded format: sws_getCachedContext would make it again for every frame of
    // the full-range formats JPEG decodes to, which it stores under their plain names.
    const auto format = static_cast<AVPixelFormat>(frame.format);
    if (!m_scaler || format != m_scalerFormat) {
        sws_freeContext(m_scaler);
        m_scaler = sws_getContext(m_width, m_height, format, m_width, m_height, target,
                                  SWS_BILINEAR, nullptr, nullptr, nullptr);
        m_scalerFormat = format;
        m_scalerReach = ScalerReach::kUnknown;
    }
    if (!m_scaler)
        return AVIERR_BADFORMAT;
    // The scaler's vector code may write whole blocks of pixels, up to a few dozen bytes past
    // the last row it is given. Its first frame goes into a buffer with room for that, filled
    // twice with different bytes; where nothing past the rows changed, the scaler keeps within
    // its rows for every frame of this size (the blocks depend on the width alone), and later
    // frames go straight into the caller's rows when they lie as the buffer's do: top down,
    // on the same 16-byte alignment.
    constexpr size_t kScalerOverrun = 256;
    constexpr uintptr_t kAlignment = 16;
    const auto scale = [this, &frame](uint8_t* to, ptrdiff_t stride) {
        uint8_t* planes[4] = {to, nullptr, nullptr, nullptr};
        const int strides[4] = {static_cast<int>(stride), 0, 0, 0};
        sws_scale(m_scaler, frame.data, frame.linesize, 0, m_height, planes, strides);
    };
    if (m_scalerReach == ScalerReach::kWithinRows && step >= m_rowBytes && step <= INT_MAX &&
        step % kAlignment == 0 && reinterpret_cast<uintptr_t>(first) % kAlignment == 0) {
        scale(first, step);
        return AVIERR_OK;
    }
    const auto bytes = static_cast<size_t>(FrameBytes());
    m_scaled.resize(bytes + kScalerOverrun);
    if (m_scalerReach == ScalerReach::kUnknown) {
        bool within = reinterpret_cast<uintptr_t>(m_scaled.data()) % kAlignment == 0 &&
                      m_rowBytes % static_cast<LONG>(kAlignment) == 0;
        for (const uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}}) {
            std::fill(m_scaled.begin() + static_cast<ptrdiff_t>(bytes), m_scaled.end(), fill);
            scale(m_scaled.data(), m_rowBytes);
            within = within && std::all_of(m_scaled.begin() + static_cast<ptrdiff_t>(bytes),
                                           m_scaled.end(), [fill](uint8_t b) { return b == fill; });
        }
        m_scalerReach = within ? ScalerReach::kWithinRows : ScalerReach::kBeyond;
    } else {
        scale(m_scaled.data(), m_rowBytes);
    }
    av_image_copy_plane(first, static_cast<int>(step), m_scaled.data(),
                        static_cast<int>(m_rowBytes), m_width * m_bits / 8, m_height);
    return AVIERR_OK;
}

}  // namespace

IAVIStream* OpenFfmpegAviStream(const QString& path, LONG index, HRESULT* result) {
    auto* stream = new CFfmpegAviStream(path);
    stream->AddRef();
    const HRESULT opened = stream->Open(path, index);
    if (result)
        *result = opened;
    if (opened != AVIERR_OK) {
        stream->Release();
        return nullptr;
    }
    return stream;
}
