#include "tracking/BlobLabeler.h"

#include "tracking/tests/TrackingImages.h"

#include "testsupport/IsolatedTest.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <map>
#include <random>

namespace {

class BlobLabelerTest : public IsolatedTest {
protected:
    int CountBlobs(const std::vector<std::string>& rows, int connectivity) {
        CMImage image;
        DrawRows(image, rows);
        m_labeler.SetImage(image, CBlobLabeler::kForegroundIs255, connectivity);
        m_labeler.Label();
        return m_labeler.GetCount();
    }

    CBlobLabeler m_labeler;
};

TEST_F(BlobLabelerTest, JoinsShapesByTheirConnectivity) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        int with8;
        int with4;
    };
    const Case cases[] = {
        {"diagonal touch", {"#...", ".#..", "..#.", "...."}, 1, 3},
        {"anti-diagonal touch", {"...#", "..#.", ".#..", "#..."}, 1, 4},
        // The arms get different labels in the first pass and meet only at the bottom.
        {"U shape", {"#...#", "#...#", "#...#", "#####"}, 1, 1},
        {"W shape", {"#.#.#", "#.#.#", "#####"}, 1, 1},
        {"separate", {"##..#", "##..#", ".....", "#...."}, 3, 3},
        {"empty", {"....", "...."}, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CountBlobs(c.rows, 8), c.with8) << c.name;
        EXPECT_EQ(CountBlobs(c.rows, 4), c.with4) << c.name;
    }
}

TEST_F(BlobLabelerTest, GroupsPixelsAsAConnectedComponentOracleDoes) {
    std::mt19937 random(11);
    std::bernoulli_distribution on(0.45);
    for (int connectivity : {4, 8}) {
        for (int round = 0; round < 20; ++round) {
            SCOPED_TRACE(testing::Message() << connectivity << "-connected, round " << round);
            CMImage image;
            image.Allocate(23, 17);
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 23; ++x)
                    image.PutPixel(x, y, on(random) ? 255 : 0);
            cv::Mat oracle;
            const int components =
                cv::connectedComponents(image.Pixels(), oracle, connectivity, CV_32S) - 1;
            m_labeler.SetImage(image, CBlobLabeler::kForegroundIs255, connectivity);
            m_labeler.Label();
            if (components > CBlobLabeler::kMaxBlobs)
                continue;
            ASSERT_EQ(m_labeler.GetCount(), components);
            // The same partition: each oracle component maps to exactly one of our blobs.
            std::map<int, int> ours;
            std::map<int, int> theirs;
            const CMImage& labels = m_labeler.GetLabelImage();
            for (int y = 0; y < 17; ++y) {
                for (int x = 0; x < 23; ++x) {
                    const int mine = labels.GetPixel(x, y);
                    const int other = oracle.at<int>(y, x);
                    ASSERT_EQ(mine == CBlobLabeler::kBackground, other == 0);
                    if (other == 0)
                        continue;
                    EXPECT_EQ(ours.emplace(other, mine).first->second, mine);
                    EXPECT_EQ(theirs.emplace(mine, other).first->second, other);
                }
            }
        }
    }
}

TEST_F(BlobLabelerTest, OrdersBlobsByAreaWithTheirCentroids) {
    CMImage image;
    DrawRows(image, {"###...#", "##.....", "....##.", "....##."});
    m_labeler.SetImage(image, CBlobLabeler::kForegroundIs255, 8);
    m_labeler.Label();
    ASSERT_EQ(m_labeler.GetCount(), 3);
    // Numbered by first pixel: 1 the five-pixel blob, 2 the single pixel, 3 the square.
    EXPECT_EQ(m_labeler.GetOrder(0), 1);
    EXPECT_EQ(m_labeler.GetOrder(1), 2);
    EXPECT_EQ(m_labeler.GetOrder(2), 0);
    EXPECT_EQ(m_labeler.GetArea(0), 5);
    EXPECT_DOUBLE_EQ(m_labeler.GetCentroidX(0), 0.8);
    EXPECT_DOUBLE_EQ(m_labeler.GetCentroidY(0), 0.4);
    EXPECT_DOUBLE_EQ(m_labeler.GetCentroidX(2), 4.5);
    EXPECT_EQ(m_labeler.GetLabelImage().GetPixel(6, 0), 2);
    EXPECT_EQ(m_labeler.GetLabelImage().GetPixel(3, 0), CBlobLabeler::kBackground);
}

TEST_F(BlobLabelerTest, WarnsOnceAtThe255thLabelAndNeverReachesTheBackgroundValue) {
    // 260 single pixels on a grid; each is a new label.
    CMImage image;
    image.Allocate(40, 26);
    for (int i = 0; i < 260; ++i)
        image.PutPixel((i % 20) * 2, (i / 20) * 2, 255);
    Prompter().ExpectMessageBox("Warning: Exceeded maximum number of blobs.", IDOK);
    m_labeler.SetImage(image, CBlobLabeler::kForegroundIs255, 8);
    m_labeler.Label();
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts().front().caption, "Warning");
    EXPECT_EQ(m_labeler.GetCount(), CBlobLabeler::kMaxBlobs);
    const CMImage& labels = m_labeler.GetLabelImage();
    EXPECT_EQ(labels.GetPixel(0, 0), 1);
    EXPECT_EQ(labels.GetPixel(26, 24), 254);                        // Pixel 253.
    EXPECT_EQ(labels.GetPixel(28, 24), CBlobLabeler::kBackground);  // Pixel 254: no label.
    m_labeler.MeasurePeaks(image, false, 7);
    EXPECT_EQ(m_labeler.GetPeakValue(253), 255);

    Prompter().ExpectMessageBox("Warning: Exceeded maximum number of blobs.", IDOK);
    m_labeler.SetImage(image, CBlobLabeler::kForegroundIs255, 8);
    m_labeler.Label();  // A new image warns again.
    EXPECT_EQ(Prompter().Prompts().size(), 2u);
}

TEST_F(BlobLabelerTest, FindsTheFirstCorrelationMaximumOfEachBlobColumnByColumn) {
    CMImage mask;
    DrawRows(mask, {"###..", "###..", "....#", "....#"});
    CMImage correlation;
    correlation.Allocate(5, 4);
    correlation.PutPixel(2, 0, 240);  // Row by row this would win.
    correlation.PutPixel(1, 1, 240);  // Column by column this does.
    correlation.PutPixel(0, 0, 100);
    correlation.PutPixel(4, 2, 90);
    correlation.PutPixel(4, 3, 90);
    correlation.PutPixel(3, 3, 250);  // Outside every blob.
    m_labeler.SetImage(mask, CBlobLabeler::kForegroundIs255, 8);
    m_labeler.Label();
    m_labeler.MeasurePeaks(correlation, false, 7);
    ASSERT_EQ(m_labeler.GetCount(), 2);
    EXPECT_EQ(m_labeler.GetPeakValue(0), 240);
    EXPECT_EQ(m_labeler.GetPeakX(0), 1.0f);
    EXPECT_EQ(m_labeler.GetPeakY(0), 1.0f);
    EXPECT_EQ(m_labeler.GetPeakValue(1), 90);
    EXPECT_EQ(m_labeler.GetPeakX(1), 4.0f);
    EXPECT_EQ(m_labeler.GetPeakY(1), 2.0f);
}

TEST_F(BlobLabelerTest, RefinesAPeakToEleventhsOfAPixel) {
    struct Case {
        const char* name;
        int left;  // Values beside the peak of 200 at (10, 8).
        int right;
        double expectedX;
    };
    const Case cases[] = {
        {"symmetric: zoomed column 38", 150, 150, 10.0},
        {"leaning right: zoomed column 39", 150, 152, 10.0 + 1.0 / 11.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMImage correlation;
        correlation.Allocate(20, 16);
        correlation.PutPixel(10, 8, 200);
        correlation.PutPixel(9, 8, c.left);
        correlation.PutPixel(11, 8, c.right);
        correlation.PutPixel(10, 7, 150);
        correlation.PutPixel(10, 9, 150);
        double x = 0.0;
        double y = 0.0;
        int value = 0;
        m_labeler.RefinePeak(correlation, 10, 8, 6, &x, &y, &value);  // 6 is made 7.
        EXPECT_DOUBLE_EQ(x, c.expectedX);
        EXPECT_DOUBLE_EQ(y, 8.0);
        EXPECT_GE(value, 200);
    }
}

}  // namespace
