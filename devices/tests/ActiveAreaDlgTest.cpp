#include "devices/core/Device.h"
#include "devices/core/DeviceVideoStream.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/tests/SimHostClock.h"
#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "platform/controls/ActiveAreaControl.h"
#include "platform/imaging/BitmapData.h"
#include "platform/imaging/PixelFormat.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"
#include "views/ActiveAreaDlg.h"

#include <QImage>

#include <memory>

namespace {

class ActiveAreaDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
    }
    std::unique_ptr<CDevice> MakeCamera(bool colour) {
        return std::make_unique<CDevice>(
            CDeviceDescriptor(CDeviceId(1, 1, colour ? 1 : 0)),
            std::make_unique<CSimCamera>(&m_clock.services, 1, colour ? 1 : 0, colour,
                                         int64_t(64) << 20));
    }
    static CActiveAreaControl* Control(CActiveAreaDlg& dialog) {
        return static_cast<CActiveAreaControl*>(dialog.GetAreaControl().GetControl());
    }
    SimHostClock m_clock;
};

}  // namespace

TEST_F(ActiveAreaDlgTest, OpeningCopiesTheDeviceSettingsAndShowsTheLivePicture) {
    struct Case {
        bool colour;
        int bits;
    };
    for (const Case& c : {Case{false, 8}, Case{true, 24}}) {
        std::unique_ptr<CDevice> device = MakeCamera(c.colour);
        ASSERT_EQ(device->SetActiveArea(320, 100, 960, 580), 0);
        CActiveAreaDlg dialog(*device);
        ASSERT_TRUE(dialog.Create(CActiveAreaDlg::IDD));
        EXPECT_EQ(dialog.GetWindowText(), "Set Active Area");
        CActiveAreaControl* control = Control(dialog);
        ASSERT_NE(control, nullptr);
        // Limits 1280 x 1024, minimum 320 x 240, steps 16, 2 and 2: into 9, 10, 15, 16, 14, 13.
        const std::pair<DISPID, LONG> expected[] = {{9, 1280}, {10, 1024}, {15, 320},   {16, 240},
                                                    {14, 16},  {13, 2},    {8, c.bits}, {2, 320},
                                                    {3, 100},  {4, 640},   {5, 480}};
        for (const auto& [id, value] : expected)
            EXPECT_EQ(control->Property(id), value) << "property " << id << " bits " << c.bits;
        int maxWidth = 0, maxHeight = 0;
        double rate = 0;
        device->GetRecordRate(&rate);
        ASSERT_EQ(device->GetMaxActiveArea(rate, c.bits, &maxWidth, &maxHeight), 0);
        EXPECT_EQ(control->Property(11), maxWidth);
        EXPECT_EQ(control->Property(12), maxHeight);
        EXPECT_EQ(control->AppliedArea(), QRect(320, 100, 640, 480)) << "method 17 ran";

        // The control got the live frame, the same picture a frame source of the device reads.
        ASSERT_EQ(control->Image().size(), QSize(640, 480));
        CFrameSource reference;
        CDeviceVideoStream* stream = device->CreateLiveStream();
        ASSERT_NE(stream, nullptr);
        ASSERT_TRUE(reference.OpenStream(stream, "live"));
        stream->Release();
        CFrameImage frame;
        ASSERT_TRUE(reference.GetFrame(0, &frame, 0));
        ASSERT_NE(frame.GetBitmap(), nullptr);
        imaging::BitmapData rows;
        ASSERT_TRUE(frame.LockBits(nullptr, imaging::ImageLockModeRead,
                                   imaging::PixelFormat24bppRGB, &rows));
        for (const QPoint p : {QPoint(0, 0), QPoint(639, 0), QPoint(17, 300), QPoint(639, 479)}) {
            const auto* bgr = static_cast<const unsigned char*>(rows.Scan0) +
                              static_cast<ptrdiff_t>(rows.Stride) * p.y() + 3 * p.x();
            EXPECT_EQ(control->Image().pixel(p) & 0xffffff, qRgb(bgr[2], bgr[1], bgr[0]) & 0xffffff)
                << p.x() << "," << p.y() << " bits " << c.bits;
        }
        frame.UnlockBits(&rows);
        dialog.DestroyWindow();
    }
}

TEST_F(ActiveAreaDlgTest, UserChangesGoToTheDeviceAndThePictureFollows) {
    std::unique_ptr<CDevice> device = MakeCamera(false);
    ASSERT_EQ(device->SetActiveArea(0, 0, 640, 480), 0);
    CActiveAreaDlg dialog(*device);
    ASSERT_TRUE(dialog.Create(CActiveAreaDlg::IDD));
    CActiveAreaControl* control = Control(dialog);
    ASSERT_NE(control, nullptr);
    const QImage before = control->Image();

    struct Case {
        const char* what;
        bool drag;
        QRect input;
        QRect area;  // the device's area afterwards
    } cases[] = {
        {"drag", true, QRect(320, 200, 640, 480), QRect(320, 200, 640, 480)},
        {"click moves the origin", false, QRect(100, 50, 0, 0), QRect(100, 50, 640, 480)},
        {"drag past the sensor refused", true, QRect(1000, 900, 640, 480),
         QRect(100, 50, 640, 480)},
    };
    for (const Case& c : cases) {
        if (c.drag)
            control->UserMovedArea(c.input);
        else
            control->UserClicked(c.input.topLeft());
        int left = -1, top = -1, width = -1, height = -1;
        ASSERT_EQ(device->GetActiveAreaOrigin(&left, &top), 0);
        ASSERT_EQ(device->GetActiveAreaSize(&width, &height), 0);
        EXPECT_EQ(QRect(left, top, width, height), c.area) << c.what;
    }
    // Areas a control could report but no device takes: empty, or a right edge beyond int.
    dialog.OnAreaChanged(10, 10, 0, 480);
    dialog.OnAreaChanged(INT32_MAX - 5, 0, 640, 480);
    int left = -1, top = -1;
    ASSERT_EQ(device->GetActiveAreaOrigin(&left, &top), 0);
    EXPECT_EQ(QPoint(left, top), QPoint(100, 50));
    // The gradient follows the origin: the picture shown is the new area's.
    EXPECT_EQ(control->Image().size(), before.size());
    EXPECT_NE(control->Image(), before);
    dialog.DestroyWindow();
}

TEST_F(ActiveAreaDlgTest, DeviceWithoutADriverOpensEmpty) {
    CDevice bare(CDeviceDescriptor(CDeviceId(9, 1, 0)), nullptr);
    CActiveAreaDlg dialog(bare);
    ASSERT_TRUE(dialog.Create(CActiveAreaDlg::IDD));
    CActiveAreaControl* control = Control(dialog);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->Image().isNull());
    EXPECT_EQ(control->Property(9), 0);
    control->UserMovedArea(QRect(0, 0, 320, 240));  // nothing to reach, nothing breaks
    dialog.DestroyWindow();
}
