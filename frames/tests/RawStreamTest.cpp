#include "frames/RawStream.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/media/OpenFileRegistry.h"
#include "platform/wintypes/BitmapInfo.h"
#include "platform/wintypes/WinMessages.h"

#include "testsupport/IsolatedTest.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct RawSpec {
    const char* magic = "OP05";
    int32_t frames = 4;
    int32_t width = 3;
    int32_t height = 2;
    int32_t first = -2;
    int32_t offset = 100;
    int32_t bits = 8;
    int32_t rate = 500;
    int64_t dataBytes = -1;  // -1: every frame
};

void Put32(QByteArray& b, int at, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
}

QByteArray MakeRaw(const RawSpec& s) {
    const int64_t frameBytes = int64_t{s.bits / 8} * s.width * s.height;
    const int64_t data =
        s.dataBytes >= 0 ? s.dataBytes : std::max<int64_t>(0, frameBytes * s.frames);
    QByteArray b(static_cast<qsizetype>(std::max<int64_t>(72, s.offset) + data), 0);
    std::memcpy(b.data(), s.magic, 4);
    Put32(b, 8, s.frames);
    Put32(b, 12, s.width);
    Put32(b, 16, s.height);
    Put32(b, 20, s.first);
    Put32(b, 24, s.offset);
    Put32(b, 28, s.bits);
    Put32(b, 68, s.rate);
    for (int64_t i = 0; i < data; ++i)
        b[static_cast<qsizetype>(s.offset + i)] = static_cast<char>(i * 3 + i / 251);
    return b;
}

// Releases a stream at the end of a scope.
struct StreamHolder {
    explicit StreamHolder(IAVIStream* s) : stream(s) {}
    ~StreamHolder() {
        if (stream)
            AVIStreamRelease(stream);
    }
    IAVIStream* stream;
};

}  // namespace

class RawStreamTest : public IsolatedTest {
protected:
    QString Write(const QByteArray& bytes, const QString& name = "r.raw") {
        const QString path = WorkPath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }
};

TEST_F(RawStreamTest, OpenFailures) {
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const auto with = [](auto change) {
        RawSpec s;
        change(s);
        return MakeRaw(s);
    };
    const Case cases[] = {
        {"shorter than 72 bytes", MakeRaw(RawSpec()).left(71)},
        {"OP06", with([](RawSpec& s) { s.magic = "OP06"; })},
        {"zero width", with([](RawSpec& s) { s.width = 0; })},
        {"negative height", with([](RawSpec& s) { s.height = -5; })},
        {"width beyond 16 bits", with([](RawSpec& s) { s.width = 65536; })},
        {"12 bits per pixel", with([](RawSpec& s) { s.bits = 12; })},
        {"0 bits per pixel", with([](RawSpec& s) { s.bits = 0; })},
        {"negative frame count", with([](RawSpec& s) { s.frames = -1; })},
        {"negative data offset", with([](RawSpec& s) {
             s.offset = -8;
             s.dataBytes = 0;
         })},
        {"frame larger than a read can hold", with([](RawSpec& s) {
             s.width = 65535;
             s.height = 65535;
             s.bits = 32;
             s.dataBytes = 0;
         })},
    };
    for (const auto& c : cases) {
        const bool reported = std::string(c.what) == "OP06";
        if (reported)
            Prompter().ExpectMessageBox("Unexpected header found in the RAW file.  Unable to open.",
                                        IDOK);
        const size_t promptsBefore = Prompter().Prompts().size();
        EXPECT_EQ(OpenRawStream(Write(c.bytes)), nullptr) << c.what;
        ASSERT_EQ(Prompter().Prompts().size(), promptsBefore + (reported ? 1 : 0)) << c.what;
        if (reported) {
            EXPECT_EQ(Prompter().Prompts().back().caption, "File Error");
            EXPECT_EQ(Prompter().Prompts().back().type, MB_OK | MB_ICONSTOP);
        }
    }
    EXPECT_EQ(OpenRawStream(WorkPath("missing.raw")), nullptr);
    EXPECT_EQ(Prompter().Prompts().size(), 1u);
}

TEST_F(RawStreamTest, EightBitFormatAndFrames) {
    StreamHolder h(OpenRawStream(Write(MakeRaw(RawSpec()))));
    IAVIStream* s = h.stream;
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(GetRawFirstFrameNumber(s), -2);
    EXPECT_EQ(GetRawFrameRate(s), 500);
    EXPECT_EQ(AVIStreamLength(s), 4);

    AviStreamInfo info;
    EXPECT_EQ(AVIStreamInfo(s, &info, sizeof info - 1), AVIERR_BUFFERTOOSMALL);
    ASSERT_EQ(AVIStreamInfo(s, &info, sizeof info), AVIERR_OK);
    EXPECT_EQ(info.fccType, streamtypeVIDEO);
    EXPECT_EQ(info.fccHandler, MakeFourCC('R', 'A', 'W', ' '));
    EXPECT_EQ(info.scale, 1u);
    EXPECT_EQ(info.rate, 500u);
    EXPECT_EQ(info.frame, CRect(0, 0, 3, 2));
    EXPECT_EQ(std::u16string(info.name), u"RAW video");

    LONG size = 0;
    EXPECT_EQ(AVIStreamReadFormat(s, 0, nullptr, &size), AVIERR_OK);
    EXPECT_EQ(size, 1064);
    std::vector<BYTE> format(1064, 0xEE);
    LONG small = 40;  // room for the header only: the palette would not fit
    EXPECT_EQ(AVIStreamReadFormat(s, 0, format.data(), &small), AVIERR_BUFFERTOOSMALL);
    EXPECT_EQ(format[0], 0xEE);
    ASSERT_EQ(AVIStreamReadFormat(s, 4, format.data(), &size),
              AVIERR_OK);  // count itself is allowed
    BITMAPINFOHEADER header;
    std::memcpy(&header, format.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 3);
    EXPECT_EQ(header.biHeight, -2);
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_EQ(header.biSizeImage, 6u);
    EXPECT_EQ(header.biClrUsed, 256u);
    EXPECT_EQ(format[40 + 4 * 77], 77);
    EXPECT_EQ(format[40 + 4 * 77 + 2], 77);

    LONG bytes = 0, samples = 0;
    EXPECT_EQ(AVIStreamRead(s, 0, 1, nullptr, 0, &bytes, nullptr), AVIERR_OK);
    EXPECT_EQ(bytes, 6);
    std::vector<BYTE> frame(6);
    EXPECT_EQ(AVIStreamRead(s, 0, 1, frame.data(), 5, &bytes, &samples), AVIERR_BUFFERTOOSMALL);
    ASSERT_EQ(AVIStreamRead(s, 2, 5, frame.data(), 6, &bytes, &samples), AVIERR_OK);
    EXPECT_EQ(samples, 1);                           // one frame per call
    EXPECT_EQ(frame[0], static_cast<BYTE>(12 * 3));  // byte 12 of the data
}

TEST_F(RawStreamTest, EdgeCases) {
    RawSpec sixteen;
    sixteen.bits = 16;
    sixteen.width = 1024;
    sixteen.height = 512;
    sixteen.frames = 5;
    sixteen.offset = 4096;
    StreamHolder h(OpenRawStream(Write(MakeRaw(sixteen))));
    IAVIStream* s = h.stream;
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(static_cast<CRawStream*>(s)->FrameBytes(), 1048576);

    LONG size = 0;
    EXPECT_EQ(AVIStreamReadFormat(s, 0, nullptr, &size), AVIERR_OK);
    EXPECT_EQ(size, 40);  // no palette for 16 bits

    // Frame 3 starts at data offset + 3 145 728.
    std::vector<BYTE> frame(1048576);
    LONG bytes = 0;
    ASSERT_EQ(AVIStreamRead(s, 3, 1, frame.data(), 1048576, &bytes, nullptr), AVIERR_OK);
    const int64_t at = 3145728;
    EXPECT_EQ(frame[0], static_cast<BYTE>(at * 3 + at / 251));
    EXPECT_EQ(frame[1000], static_cast<BYTE>((at + 1000) * 3 + (at + 1000) / 251));

    struct Bad {
        LONG position;
        bool format;
    };
    for (const Bad b : {Bad{-1, false}, Bad{5, false}, Bad{-1, true}, Bad{6, true}}) {
        LONG n = 0;
        const HRESULT hr =
            b.format ? AVIStreamReadFormat(s, b.position, nullptr, &n)
                     : AVIStreamRead(s, b.position, 1, frame.data(), 1048576, &n, nullptr);
        EXPECT_EQ(hr, AVIERR_BADPARAM) << b.position << (b.format ? " format" : " read");
    }

    EXPECT_EQ(AVIStreamFindSample(s, 17, FIND_PREV | FIND_KEY), 17);
    EXPECT_EQ(AVIStreamFindSample(s, 5, FIND_NEXT | FIND_FORMAT), -1);

    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(s->QueryInterface(GuidLiteral("{12345678-0000-0000-C000-000000000046}"), &out),
              E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    ASSERT_EQ(s->QueryInterface(IID_IAVIStream, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(s));
    EXPECT_EQ(AVIStreamRelease(s), 1u);  // the query added one
}

TEST_F(RawStreamTest, TheFileIsInUseExactlyWhileAStreamHoldsIt) {
    const QString path = Write(MakeRaw(RawSpec()));
    {
        StreamHolder first(OpenRawStream(path));
        ASSERT_NE(first.stream, nullptr);
        EXPECT_TRUE(COpenFileRegistry::IsOpen(path));
        {
            StreamHolder second(OpenRawStream(path));
            ASSERT_NE(second.stream, nullptr);
        }
        EXPECT_TRUE(COpenFileRegistry::IsOpen(path)) << "the first stream still holds it";
    }
    EXPECT_FALSE(COpenFileRegistry::IsOpen(path));

    RawSpec bad;
    bad.bits = 12;
    const QString badPath = Write(MakeRaw(bad), "bad.raw");
    EXPECT_EQ(OpenRawStream(badPath), nullptr);
    EXPECT_FALSE(COpenFileRegistry::IsOpen(badPath)) << "a refused file is not held";
}

TEST_F(RawStreamTest, FramesBeyondTheFileFailToRead) {
    RawSpec shortData;
    shortData.dataBytes = 6 + 3;  // frame 1 is cut
    StreamHolder h(OpenRawStream(Write(MakeRaw(shortData))));
    ASSERT_NE(h.stream, nullptr);
    std::vector<BYTE> frame(6);
    EXPECT_EQ(AVIStreamRead(h.stream, 0, 1, frame.data(), 6, nullptr, nullptr), AVIERR_OK);
    EXPECT_EQ(AVIStreamRead(h.stream, 1, 1, frame.data(), 6, nullptr, nullptr), AVIERR_FILEREAD);
    EXPECT_EQ(AVIStreamRead(h.stream, 3, 1, frame.data(), 6, nullptr, nullptr), AVIERR_FILEREAD);
    EXPECT_EQ(AVIStreamRead(h.stream, 0, 1, frame.data(), 6, nullptr, nullptr), AVIERR_OK)
        << "the stream stays usable";
}

TEST_F(RawStreamTest, MutatedHeadersRunClean) {
    const QByteArray base = MakeRaw(RawSpec());
    std::mt19937 random(20240229);
    const int32_t interesting[] = {
        0,  1,      -1, 8, 16, 24, 32, 65535, 65536, 0x7FFFFFFF, static_cast<int32_t>(0x80000000u),
        72, 1 << 20};
    const QString path = WorkPath("fuzz.raw");
    int opened = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = base;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const int field = 8 + 4 * static_cast<int>(random() % 6);  // count .. bits per pixel
            if (random() % 2)
                Put32(bytes, field, interesting[random() % std::size(interesting)]);
            else
                bytes[field + static_cast<int>(random() % 4)] = static_cast<char>(random());
        }
        if (random() % 8 == 0)
            bytes.truncate(static_cast<qsizetype>(random() % bytes.size()));
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        }
        StreamHolder h(OpenRawStream(path));
        if (!h.stream)
            continue;
        ++opened;
        LONG size = 0;
        ASSERT_EQ(AVIStreamReadFormat(h.stream, 0, nullptr, &size), AVIERR_OK);
        std::vector<BYTE> format(static_cast<size_t>(size));
        EXPECT_EQ(AVIStreamReadFormat(h.stream, 0, format.data(), &size), AVIERR_OK);
        const LONG count = AVIStreamLength(h.stream);
        LONG frameBytes = 0;
        if (count == 0) {
            EXPECT_EQ(AVIStreamRead(h.stream, 0, 1, nullptr, 0, &frameBytes, nullptr),
                      AVIERR_BADPARAM);
            continue;
        }
        ASSERT_EQ(AVIStreamRead(h.stream, 0, 1, nullptr, 0, &frameBytes, nullptr), AVIERR_OK);
        ASSERT_GE(frameBytes, 1);
        if (frameBytes > (64 << 20))
            continue;  // valid but too large to be worth reading here
        std::vector<BYTE> frame(static_cast<size_t>(frameBytes));
        for (LONG n : {LONG{0}, count - 1, count / 2}) {
            const HRESULT hr =
                AVIStreamRead(h.stream, n, 1, frame.data(), frameBytes, nullptr, nullptr);
            EXPECT_TRUE(hr == AVIERR_OK || hr == AVIERR_FILEREAD || hr == AVIERR_BADPARAM) << hr;
        }
    }
    EXPECT_GT(opened, 0);
}
