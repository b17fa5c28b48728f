#include "tracking/FrameSourceAdapter.h"

#include "tracking/tests/TrackingImages.h"

#include "frames/IFrameChangeListener.h"
#include "frames/IdObjectBase.h"

#include "testsupport/IsolatedTest.h"

#include <QFile>

#include <vector>

namespace {

// Counts the frame changes a frame source announces.
class FrameChangeCounter : public CIdObjectBase, public IFrameChangeListener {
public:
    HRESULT QueryInterfaceById(int id, void** out) override {
        if (!out)
            return E_POINTER;
        if (id != kIdFrameChangeListener && id != kIdUnknown)
            return E_FAIL;
        *out = static_cast<IFrameChangeListener*>(this);
        return S_OK;
    }
    HRESULT OnFrameChanged(int, int) override {
        ++changes;
        return S_OK;
    }
    int changes = 0;
};

// Frame n of a test recording: byte i of the frame is (n * 50 + i * 7 + salt) modulo 256,
// so every frame, row and channel differs.
QByteArray PatternFrame(int n, int bytes, int salt) {
    QByteArray frame(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        frame[i] = static_cast<char>((n * 50 + i * 7 + salt) & 0xFF);
    return frame;
}

class FrameSourceAdapterTest : public IsolatedTest {
protected:
    // A width x height recording of frameCount pattern frames.
    QString WriteRecording(const QString& name, int width, int height, int bitsPerPixel,
                           int frameCount, int salt = 0) {
        const QString path = WorkPath(name);
        const int bytes = bitsPerPixel / 8 * width * height;
        EXPECT_TRUE(WriteRawRecording(path, width, height, bitsPerPixel, frameCount,
                                      [&](int n) { return PatternFrame(n, bytes, salt); }));
        return path;
    }

    // Whether dib holds frame n of a pattern recording: the file's top row is the DIB's last.
    static void ExpectPatternFrame(const CDib* dib, int n, int width, int height, int bytesPerPixel,
                                   int salt = 0) {
        ASSERT_NE(dib, nullptr);
        ASSERT_EQ(dib->GetHeader()->biWidth, width);
        ASSERT_EQ(dib->GetHeader()->biHeight, height);
        ASSERT_EQ(dib->GetHeader()->biBitCount, 8 * bytesPerPixel);
        const int rowBytes = width * bytesPerPixel;
        const int stride = (rowBytes + 3) & ~3;
        const QByteArray expected = PatternFrame(n, rowBytes * height, salt);
        for (int y = 0; y < height; ++y)
            for (int i = 0; i < rowBytes; ++i)
                ASSERT_EQ(dib->GetBits()[(height - 1 - y) * stride + i],
                          static_cast<BYTE>(expected[y * rowBytes + i]))
                    << "frame " << n << " row " << y << " byte " << i;
    }
};

TEST_F(FrameSourceAdapterTest, HandsOverTheFramesOfTheRecordingUpright) {
    // Odd widths give padded DIB rows.
    struct Case {
        int bitsPerPixel;
        int width;
    };
    for (const Case c : {Case{8, 7}, Case{24, 5}}) {
        SCOPED_TRACE(testing::Message() << c.bitsPerPixel << " bits");
        CFrameSourcePtr source(new CFrameSource);
        ASSERT_EQ(source->Open(WriteRecording("pattern.raw", c.width, 3, c.bitsPerPixel, 4)), 1);
        CFrameSourceAdapter frames(source);
        for (int n : {2, 0, 3}) {
            ASSERT_TRUE(frames.GoToFrame(n));
            ExpectPatternFrame(frames.GetFrame(), n, c.width, 3, c.bitsPerPixel / 8);
        }
    }
}

TEST_F(FrameSourceAdapterTest, RefusesFramesItCannotHave) {
    CFrameSourceAdapter none{CFrameSourcePtr()};
    EXPECT_FALSE(none.GoToFrame(0));
    EXPECT_EQ(none.GetFrame(), nullptr);

    CFrameSourcePtr source(new CFrameSource);
    ASSERT_EQ(source->Open(WriteRecording("four.raw", 6, 2, 8, 4)), 1);
    CFrameSourceAdapter frames(source);
    for (int n : {-1, 4, 70000}) {
        ASSERT_TRUE(frames.GoToFrame(1));
        EXPECT_FALSE(frames.GoToFrame(n)) << n;
        EXPECT_EQ(frames.GetFrame(), nullptr) << "no picture of another frame after " << n;
    }
    source->Close();
    EXPECT_FALSE(frames.GoToFrame(1)) << "closed";
    EXPECT_EQ(frames.GetFrame(), nullptr);
}

TEST_F(FrameSourceAdapterTest, AFrameThatFailedToReadNeverShowsAnotherFramesPicture) {
    // The header promises three frames; the file ends inside frame 1.
    const QString path = WorkPath("cut.raw");
    ASSERT_TRUE(WriteRawRecording(path, 4, 2, 8, 1, [](int) { return PatternFrame(0, 8, 0); }));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.seek(8));
        file.write(QByteArray("\x03\x00\x00\x00", 4));
        ASSERT_TRUE(file.seek(80));
        file.write(QByteArray(3, '\x11'));
    }
    CFrameSourcePtr source(new CFrameSource);
    ASSERT_EQ(source->Open(path), 1);
    ASSERT_EQ(source->GetFrameCount(), 3);
    CFrameSourceAdapter frames(source);
    ASSERT_TRUE(frames.GoToFrame(0));
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(frames.GoToFrame(1)) << "attempt " << attempt;
        EXPECT_EQ(frames.GetFrame(), nullptr);
    }
    ASSERT_TRUE(frames.GoToFrame(0));
    ExpectPatternFrame(frames.GetFrame(), 0, 4, 2, 1);
}

TEST_F(FrameSourceAdapterTest, FollowsTheSourceToAnotherFileAndTellsNoListener) {
    CFrameSourcePtr source(new CFrameSource);
    ASSERT_EQ(source->Open(WriteRecording("a.raw", 4, 2, 8, 3, 0)), 1);
    FrameChangeCounter listener;
    int cookie = 0;
    ASSERT_EQ(source->Advise(&listener, &cookie), S_OK);
    CFrameSourceAdapter frames(source);
    ASSERT_TRUE(frames.GoToFrame(1));
    ASSERT_TRUE(frames.GoToFrame(2));
    EXPECT_EQ(listener.changes, 0);

    ASSERT_EQ(source->Open(WriteRecording("b.raw", 4, 2, 8, 3, 99)), 1);
    ASSERT_TRUE(frames.GoToFrame(2));
    ExpectPatternFrame(frames.GetFrame(), 2, 4, 2, 1, 99);
    EXPECT_EQ(source->Unadvise(cookie), S_OK);
}

}  // namespace
