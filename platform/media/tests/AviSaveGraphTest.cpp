#include "platform/media/AviFile.h"
#include "platform/media/AviGetFrame.h"
#include "platform/media/AviSaveGraph.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/media/VideoCompressors.h"
#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 30;  // rows of 30 and 90 bytes need padding
constexpr int kHeight = 20;

// Colour of palette entry i: no two channels equal, so the palette is not grey.
RGBQUAD PaletteColour(int i) {
    RGBQUAD c;
    c.rgbBlue = static_cast<BYTE>(i);
    c.rgbGreen = static_cast<BYTE>(255 - i);
    c.rgbRed = static_cast<BYTE>((i * 7) & 0xFF);
    return c;
}

// Value of byte b of pixel (x, y) from the top, frame f: smooth ramps that lossy codecs keep.
BYTE Level(int f, int x, int y, int b) {
    return static_cast<BYTE>((x * 4 + y * 3 + f * 9 + b * 40) & 0xFF);
}

// Frames first..last of a pattern, bottom-up rows as the graph takes them.
class PatternProvider : public QNAVIFrameSource {
public:
    PatternProvider(int frames, int bitsPerPixel, int abortAfter = -1)
        : m_frames(frames), m_bits(bitsPerPixel), m_abortAfter(abortAfter) {}

    int GetFrame(int, BYTE* buffer, int size) override {
        if (Aborted())
            return 1;
        const int f = m_currentFrame.load();
        if (f >= m_frames) {
            m_endReached.store(true);
            return 1;
        }
        const int stride = static_cast<int>(CAviSaveGraph::FrameBytes(kWidth, 1, m_bits));
        if (size < stride * kHeight)
            return 1;
        std::memset(buffer, 0, static_cast<size_t>(size));
        const int bytes = m_bits / 8;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                for (int b = 0; b < bytes; ++b)
                    buffer[(kHeight - 1 - y) * stride + x * bytes + b] = Level(f, x, y, b);
        m_currentFrame.store(f + 1);
        if (m_abortAfter >= 0 && f + 1 >= m_abortAfter)
            Abort();
        return 0;
    }

private:
    int m_frames;
    int m_bits;
    int m_abortAfter;
};

AviImageFormat Format(int bits, bool greyPalette) {
    AviImageFormat format;
    format.width = kWidth;
    format.height = kHeight;
    format.bitsPerPixel = bits;
    format.paletteEntries = bits == 8 ? 256 : 0;
    for (int i = 0; i < 256; ++i) {
        format.palette[i] = greyPalette ? RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i),
                                                  static_cast<BYTE>(i), 0}
                                        : PaletteColour(i);
    }
    return format;
}

struct Probe {
    bool opened = false;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int width = 0;
    int height = 0;
    int packets = 0;
};

// What libavformat itself finds in the file.
Probe ProbeFile(const QString& path) {
    Probe probe;
    AVFormatContext* input = nullptr;
    if (avformat_open_input(&input, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return probe;
    if (avformat_find_stream_info(input, nullptr) >= 0 && input->nb_streams == 1) {
        probe.opened = true;
        probe.codec = input->streams[0]->codecpar->codec_id;
        probe.width = input->streams[0]->codecpar->width;
        probe.height = input->streams[0]->codecpar->height;
        AVPacket* packet = av_packet_alloc();
        while (av_read_frame(input, packet) >= 0) {
            ++probe.packets;
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
    }
    avformat_close_input(&input);
    return probe;
}

// Frames read back through our AVI reader: blue, green, red from the top of each frame.
struct ReadBack {
    int length = -1;
    int bitCount = 0;
    std::vector<std::vector<BYTE>> frames;
};

ReadBack ReadThroughReader(const QString& path) {
    ReadBack result;
    PAVIFILE file = nullptr;
    IAVIStream* stream = nullptr;
    if (AVIFileOpen(&file, path, OF_READ | OF_SHARE_DENY_NONE, nullptr) != AVIERR_OK)
        return result;
    if (AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
        result.length = AVIStreamLength(stream);
        PGETFRAME reader = AVIStreamGetFrameOpen(stream, nullptr);
        for (int n = 0; reader && n < result.length; ++n) {
            const auto* dib = static_cast<const BYTE*>(AVIStreamGetFrame(reader, n));
            if (!dib)
                break;
            BITMAPINFOHEADER h;
            std::memcpy(&h, dib, sizeof h);
            result.bitCount = h.biBitCount;
            const int height = std::abs(h.biHeight);
            const BYTE* bits = dib + h.biSize + 4 * h.biClrUsed;
            std::vector<BYTE> bgr;
            for (int y = 0; y < height; ++y) {
                const int row = h.biHeight > 0 ? height - 1 - y : y;
                for (int x = 0; x < h.biWidth; ++x) {
                    const BYTE* p =
                        bits + row * DibRowBytes(h.biWidth, h.biBitCount) + x * (h.biBitCount / 8);
                    if (h.biBitCount == 8)
                        p = dib + h.biSize + 4 * p[0];
                    bgr.insert(bgr.end(), p, p + 3);
                }
            }
            result.frames.push_back(bgr);
        }
        AVIStreamGetFrameClose(reader);
    }
    AVIStreamRelease(stream);
    AVIFileRelease(file);
    return result;
}

// The colour the pattern gives pixel (x, y) of frame f in the written format.
void Expected(const AviImageFormat& format, int f, int x, int y, BYTE bgr[3]) {
    if (format.bitsPerPixel == 8) {
        const RGBQUAD c = format.palette[Level(f, x, y, 0)];
        bgr[0] = c.rgbBlue;
        bgr[1] = c.rgbGreen;
        bgr[2] = c.rgbRed;
        return;
    }
    for (int b = 0; b < 3; ++b)
        bgr[b] = Level(f, x, y, b);
}

// The largest difference of any channel between the read frames and the pattern.
int MaxDifference(const ReadBack& read, const AviImageFormat& format) {
    int worst = 0;
    for (size_t f = 0; f < read.frames.size(); ++f) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                BYTE want[3];
                Expected(format, static_cast<int>(f), x, y, want);
                for (int b = 0; b < 3; ++b)
                    worst = std::max(worst,
                                     std::abs(read.frames[f][(y * kWidth + x) * 3 + b] - want[b]));
            }
        }
    }
    return worst;
}

class AviSaveGraphTest : public IsolatedTest {
protected:
    void TearDown() override {
        CAviSaveGraph::SetWriteLimitForTests(-1);
        IsolatedTest::TearDown();
    }

    QString Target() const { return QDir::current().filePath(QStringLiteral("out.avi")); }

    // Runs a save to the end as the save flow does; the graph's reports land in *reports.
    bool Save(QNAVIFrameSource* provider, const AviImageFormat& format, const QString& codec,
              QStringList* reports = nullptr) {
        CAviSaveGraph graph(provider);
        graph.SetErrorReporter([reports](const QString& text) {
            if (reports)
                reports->append(text);
        });
        if (!graph.SetImageFormat(format) || !graph.BuildSaveGraph(Target(), codec) || !graph.Run())
            return false;
        while (!graph.IsDone()) {
        }
        graph.Stop();
        return graph.Succeeded();
    }

    QStringList LeftoverTemporaries() const {
        return QDir::current().entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
    }
};

struct CodecCase {
    const char* name;
    const char* compressor;
    int bits;
    bool greyPalette;
    AVCodecID codec;
    int tolerance;
};

TEST_F(AviSaveGraphTest, WritesEveryFrameInTheChosenCodecAndReadsBack) {
    const CodecCase cases[] = {
        {"raw 8-bit colour palette", kNoCompression, 8, false, AV_CODEC_ID_RAWVIDEO, 0},
        {"raw 8-bit grey", kNoCompression, 8, true, AV_CODEC_ID_RAWVIDEO, 0},
        {"raw 24-bit", kNoCompression, 24, false, AV_CODEC_ID_RAWVIDEO, 0},
        {"FFV1 8-bit grey", "FFV1 Lossless", 8, true, AV_CODEC_ID_FFV1, 0},
        {"FFV1 24-bit", "FFV1 Lossless", 24, false, AV_CODEC_ID_FFV1, 0},
        {"MJPEG 8-bit grey", "Motion JPEG (MJPEG)", 8, true, AV_CODEC_ID_MJPEG, 12},
    };
    for (const CodecCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Target());
        PatternProvider provider(7, c.bits);
        const AviImageFormat format = Format(c.bits, c.greyPalette);
        ASSERT_TRUE(Save(&provider, format, QString::fromLatin1(c.compressor)));
        EXPECT_TRUE(provider.EndReached());

        const Probe probe = ProbeFile(Target());
        ASSERT_TRUE(probe.opened);
        EXPECT_EQ(probe.codec, c.codec);
        EXPECT_EQ(probe.width, kWidth);
        EXPECT_EQ(probe.height, kHeight);
        EXPECT_EQ(probe.packets, 7);

        const ReadBack read = ReadThroughReader(Target());
        ASSERT_EQ(read.length, 7);
        ASSERT_EQ(read.frames.size(), 7u);
        if (c.codec == AV_CODEC_ID_RAWVIDEO) {
            EXPECT_EQ(read.bitCount, c.bits) << "declared in another depth than it holds";
        }
        EXPECT_LE(MaxDifference(read, format), c.tolerance);
        EXPECT_TRUE(LeftoverTemporaries().isEmpty());
    }
}

// Peak signal-to-noise ratio in dB of the luma another player decodes from the file against
// the grey pattern, over every frame: a flipped, shifted or coarsely coded picture scores low.
double GreyPsnrAsDecoded(const QString& path, int frames) {
    AVFormatContext* input = nullptr;
    if (avformat_open_input(&input, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return 0.0;
    double squares = 0.0;
    long samples = 0;
    int decoded = 0;
    if (avformat_find_stream_info(input, nullptr) >= 0) {
        const AVCodecParameters* parameters = input->streams[0]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
        AVCodecContext* decoder = codec ? avcodec_alloc_context3(codec) : nullptr;
        if (decoder && avcodec_parameters_to_context(decoder, parameters) >= 0 &&
            avcodec_open2(decoder, codec, nullptr) >= 0) {
            AVPacket* packet = av_packet_alloc();
            AVFrame* frame = av_frame_alloc();
            const auto take = [&] {
                while (avcodec_receive_frame(decoder, frame) == 0) {
                    for (int y = 0; y < kHeight; ++y)
                        for (int x = 0; x < kWidth; ++x) {
                            const double d = frame->data[0][y * frame->linesize[0] + x] -
                                             static_cast<double>(Level(decoded, x, y, 0));
                            squares += d * d;
                            ++samples;
                        }
                    ++decoded;
                    av_frame_unref(frame);
                }
            };
            while (av_read_frame(input, packet) >= 0) {
                avcodec_send_packet(decoder, packet);
                av_packet_unref(packet);
                take();
            }
            avcodec_send_packet(decoder, nullptr);
            take();
            av_frame_free(&frame);
            av_packet_free(&packet);
        }
        avcodec_free_context(&decoder);
    }
    avformat_close_input(&input);
    if (decoded != frames || samples == 0)
        return 0.0;
    const double mse = squares / static_cast<double>(samples);
    return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

TEST_F(AviSaveGraphTest, MotionJpegKeepsThePictureAsOtherPlayersDecodeIt) {
    PatternProvider provider(12, 8);
    ASSERT_TRUE(Save(&provider, Format(8, true), QStringLiteral("Motion JPEG (MJPEG)")));
    EXPECT_GE(GreyPsnrAsDecoded(Target(), 12), 35.0);
}

TEST_F(AviSaveGraphTest, FileRateIsFiveFramesPerSecond) {
    PatternProvider provider(10, 8);
    ASSERT_TRUE(Save(&provider, Format(8, true), QString::fromLatin1(kNoCompression)));
    AVFormatContext* input = nullptr;
    ASSERT_GE(
        avformat_open_input(&input, QFile::encodeName(Target()).constData(), nullptr, nullptr), 0);
    ASSERT_GE(avformat_find_stream_info(input, nullptr), 0);
    const AVRational rate = input->streams[0]->avg_frame_rate;
    EXPECT_EQ(rate.num * 1.0 / rate.den, 5.0);
    EXPECT_NEAR(input->duration / double(AV_TIME_BASE), 2.0, 0.01);
    avformat_close_input(&input);
}

TEST_F(AviSaveGraphTest, AbortKeepsAValidPartialFile) {
    PatternProvider provider(50, 8, 4);
    EXPECT_TRUE(Save(&provider, Format(8, true), QString::fromLatin1(kNoCompression)));
    EXPECT_FALSE(provider.EndReached());
    const Probe probe = ProbeFile(Target());
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.packets, 4);
}

TEST_F(AviSaveGraphTest, FullDiskLeavesNoHalfFileAndKeepsTheOldOne) {
    // An older file of the target's name must survive a failed save whole.
    {
        QFile old(Target());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older file");
    }
    for (const int64_t limit : {int64_t{0}, int64_t{100}, int64_t{6000}}) {
        SCOPED_TRACE(limit);
        CAviSaveGraph::SetWriteLimitForTests(limit);
        PatternProvider provider(20, 24);
        QStringList reports;
        EXPECT_FALSE(
            Save(&provider, Format(24, false), QString::fromLatin1(kNoCompression), &reports));
        QFile old(Target());
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("older file"));
        EXPECT_TRUE(LeftoverTemporaries().isEmpty())
            << LeftoverTemporaries().join(' ').toStdString();
    }
}

TEST_F(AviSaveGraphTest, UnknownCompressorIsReportedAtTheCompressorSearch) {
    PatternProvider provider(3, 8);
    QStringList reports;
    EXPECT_FALSE(Save(&provider, Format(8, true), QStringLiteral("No Such Codec"), &reports));
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports.front(),
              QStringLiteral("FAILED(hr=0x80004005) in FindCodecFilter(szCodec, &pNullCodec)\n"));
    EXPECT_FALSE(QFile::exists(Target()));
    EXPECT_TRUE(LeftoverTemporaries().isEmpty());
}

TEST_F(AviSaveGraphTest, CompressorListStartsWithNoCompressionAndNamesKnownEncoders) {
    const QStringList names = VideoCompressorNames();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.front(), QString::fromLatin1(kNoCompression));
    EXPECT_TRUE(names.contains(QStringLiteral("Motion JPEG (MJPEG)")));
    for (const QString& name : names.mid(1))
        EXPECT_FALSE(VideoCompressorEncoder(name).isEmpty()) << name.toStdString();
    EXPECT_EQ(names, VideoCompressorNames()) << "the order changes between calls";
}

}  // namespace
