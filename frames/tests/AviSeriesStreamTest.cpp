#include "frames/AviSeriesStream.h"
#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/media/tests/TestAviWriter.h"
#include "testsupport/IsolatedTest.h"

#include <QFile>
#include <QImage>

namespace {

class AviSeriesTest : public IsolatedTest {
protected:
    void Avi(const QString& name, int frames, int width = 8, int height = 6) {
        ASSERT_TRUE(
            WriteTestAvi(WorkPath(name), {TestAviKind::RawBgr24, width, height, frames, 0}));
    }
    // The blue of the top left pixel: the frame's own level in the test files.
    static int Level(const CFrameImage& image) {
        return qBlue(image.GetBitmap()->AsQImage().pixel(0, 0));
    }
    static int LevelOf(int frameInFile) {
        BYTE bgr[3];
        TestAviPixel({TestAviKind::RawBgr24, 8, 6, 1, 0}, frameInFile, 0, 0, bgr);
        return bgr[0];
    }
};

// Three files read as one recording; frame numbers run on across the file boundaries and
// stepping goes from file to file.
TEST_F(AviSeriesTest, StepsAcrossTheFilesOfTheSeries) {
    Avi("take.avi", 10);
    Avi("take_01.AVI", 5);
    Avi("take_02.avi", 7);
    Avi("take_04.avi", 3);  // after a missing number: not part of the series
    CFrameSource source;
    ASSERT_EQ(source.Open(WorkPath("take.avi")), 1);
    EXPECT_EQ(source.GetKind(), CFrameSource::kSeries);
    ASSERT_EQ(source.GetFrameCount(), 22);
    EXPECT_EQ(source.HasSegments(), 1);
    const std::pair<int, int> frames[] = {{0, 0}, {9, 9}, {10, 0}, {14, 4}, {15, 0}, {21, 6}};
    for (const auto& [frame, inFile] : frames) {
        CFrameImage image;
        ASSERT_EQ(source.GetFrame(frame, &image, 0), 1) << frame;
        EXPECT_EQ(Level(image), LevelOf(inFile)) << frame;
    }
    struct Step {
        int frame, direction, boundary;
    };
    const Step steps[] = {
        {12, 0, 10}, {12, 1, 15}, {12, -1, 10}, {10, -1, 0}, {10, 0, 10},
        {0, -1, 0},  {18, 1, 21}, {-5, 0, 0},   {99, 0, 15},
    };
    for (const Step& s : steps)
        EXPECT_EQ(source.GetSegmentBoundary(s.frame, s.direction), s.boundary)
            << s.frame << " " << s.direction;
}

TEST_F(AviSeriesTest, ReadsOutsideTheSeriesAreBadParameters) {
    Avi("clip.avi", 4);
    Avi("clip_01.avi", 4);
    IAVIStream* series = OpenAviSeries(WorkPath("clip.avi"));
    ASSERT_NE(series, nullptr);
    LONG size = 0, bytes = 0;
    EXPECT_EQ(AVIStreamReadFormat(series, 8, nullptr, &size), AVIERR_BADPARAM);
    EXPECT_EQ(AVIStreamRead(series, 8, 1, nullptr, 0, &bytes, nullptr), AVIERR_BADPARAM);
    EXPECT_EQ(AVIStreamRead(series, -1, 1, nullptr, 0, &bytes, nullptr), AVIERR_BADPARAM);
    AviStreamInfo info;
    ASSERT_EQ(AVIStreamInfo(series, &info, sizeof info), AVIERR_OK);
    EXPECT_EQ(info.length, 8u);
    EXPECT_EQ(info.rate, 25u);
    EXPECT_EQ(std::u16string(info.name), u"Partial Video");
    AVIStreamRelease(series);
}

// A member unlike the first file stops the open with the message; one that is no AVI file is
// reported and left out.
TEST_F(AviSeriesTest, MismatchingAndDamagedMembers) {
    Avi("a.avi", 4);
    Avi("a_01.avi", 4, 10, 6);
    Prompter().ExpectMessageBox(
        QStringLiteral("Error loading series.  Video files do not have identical formats."), IDOK);
    CFrameSource source;
    EXPECT_EQ(source.Open(WorkPath("a.avi")), 0);
    EXPECT_EQ(source.IsOpen(), 0);

    Avi("b.avi", 4);
    {
        QFile broken(WorkPath("b_01.avi"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a video");
    }
    Avi("b_02.avi", 3);
    Prompter().ExpectMessageBox(
        QStringLiteral(
            "File in series is missing or improperly formatted, displaying partial series."),
        IDOK);
    ASSERT_EQ(source.Open(WorkPath("b.avi")), 1);
    EXPECT_EQ(source.GetFrameCount(), 7);
    CFrameImage image;
    ASSERT_EQ(source.GetFrame(4, &image, 0), 1);
    EXPECT_EQ(Level(image), LevelOf(0));
}

}  // namespace
