#include "views/panels/DualValueGauge.h"

#include "platform/framework/DC.h"
#include "testsupport/IsolatedTest.h"

#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <vector>

namespace {

class DualValueGaugeTest : public IsolatedTest {};

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);

// Client 200 x 100: span 196 from x0 = 2, high level at y 36, low level at y 64, frame-time
// arrow at y 24, exposure arrow at y 76.
QImage Render(const CDualValueGauge& gauge) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    CDC dc(&image);
    gauge.Draw(&dc, CRect(0, 0, 200, 100));
    return image;
}

std::vector<int> RedColumns(const QImage& image, int y) {
    std::vector<int> xs;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) == kRed)
            xs.push_back(x);
    }
    return xs;
}

TEST_F(DualValueGaugeTest, PulseEndsAtTheExposureShare) {
    struct Case {
        double first, second;
        int pulseEnd;  // x of the falling edge
    };
    const Case cases[] = {
        {100.0, 50.0, 100},                       // the defaults: half of the span
        {100.0, 25.0, 51},                        // 2 + 196 * 0.25 = 51
        {3.0, 1.0, 67},                           // 2 + 196 / 3 = 67.33
        {0.0, 50.0, 198},                         // no frame time: the full span
        {-5.0, 1.0, 198},   {100.0, 150.0, 198},  // exposure over the frame time: ratio 1
        {100.0, -20.0, 2},                        // a negative exposure: ratio 0, no pulse
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << " / " << c.second);
        CDualValueGauge gauge;
        gauge.SetValues(c.first, c.second);
        const QImage image = Render(gauge);
        // Between the levels only the edges are red: rise at x0, fall at the pulse end, and
        // the rise of the next period at the span's end.
        std::vector<int> edges = {2, c.pulseEnd, 198};
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        EXPECT_EQ(RedColumns(image, 50), edges);
        EXPECT_EQ(image.pixel(0, 64), kRed);
        if (c.pulseEnd > 3) {
            EXPECT_EQ(image.pixel(c.pulseEnd - 1, 36), kRed);
            EXPECT_NE(image.pixel(c.pulseEnd - 1, 64), kRed);
            EXPECT_EQ(image.pixel((2 + c.pulseEnd) / 2, 76), kWhite);
        }
        if (c.pulseEnd < 190) {
            EXPECT_EQ(image.pixel(c.pulseEnd + 1, 64), kRed);
            EXPECT_NE(image.pixel(c.pulseEnd + 1, 36), kRed);
            EXPECT_NE(image.pixel(c.pulseEnd + 6, 76), kWhite);
        }
        // The frame-time arrow spans the whole period with its heads (strokes end one pixel
        // short of their end points).
        EXPECT_EQ(image.pixel(100, 24), kWhite);
        EXPECT_EQ(image.pixel(5, 21), kWhite);
        EXPECT_EQ(image.pixel(195, 27), kWhite);
        EXPECT_NE(image.pixel(6, 20), kWhite);
        // The next period stays high to the right edge.
        EXPECT_EQ(image.pixel(199, 36), kRed);
        EXPECT_EQ(image.pixel(150, 50), qRgb(0, 0, 0));
    }
}

TEST_F(DualValueGaugeTest, LabelsAreWhiteOnBlack) {
    const QImage image = Render(CDualValueGauge());
    // Text edges are smoothed: count light grey ink.
    const auto light = [&](int x, int y) {
        const QRgb p = image.pixel(x, y);
        return qRed(p) > 128 && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
    };
    int whiteTop = 0;
    int whiteBottom = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 120; ++x)
            whiteTop += light(x, y);
    for (int y = 88; y < 100; ++y)
        for (int x = 0; x < 120; ++x)
            whiteBottom += light(x, y);
    EXPECT_GT(whiteTop, 20);
    EXPECT_GT(whiteBottom, 20);
    EXPECT_EQ(image.pixel(190, 5), qRgb(0, 0, 0));
}

TEST_F(DualValueGaugeTest, RepaintsOnlyWhenAValueChanges) {
    CWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, "host", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    CDualValueGauge gauge;
    ASSERT_TRUE(
        gauge.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 110), &parent, 1541));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.GetQWidget()));
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    gauge.GetQWidget()->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    gauge.SetValues(100.0, 50.0);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    gauge.SetValues(100.0, 60.0);
    QCoreApplication::processEvents();
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(gauge.GetSecond(), 60.0);

    // The window paints the same picture as Draw.
    const QImage shown = gauge.GetQWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    CDualValueGauge same;
    same.SetValues(100.0, 60.0);
    const QImage drawn = Render(same);
    EXPECT_EQ(RedColumns(shown, 50), RedColumns(drawn, 50));
}

}  // namespace
