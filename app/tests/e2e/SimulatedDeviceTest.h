#pragma once

#include "app/tests/e2e/E2eSupport.h"
#include "devices/CamView.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/RecordControllerDoc.h"
#include "devices/core/DriverLoader.h"
#include "frames/FrameImage.h"
#include "platform/framework/Document.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/View.h"
#include "shell/ViewChildedFrame.h"
#include "views/StreamWnd.h"

#include <QAction>
#include <QByteArray>
#include <QMainWindow>

#include <cstdint>
#include <cstring>

// A program test on the simulated driver (RM_SIM_DRIVER_DIR, given by each flow's target) with
// the numbers of mono cameras, colour cameras and data cards it offers.
class SimulatedDeviceTest : public ProgramTest {
protected:
    SimulatedDeviceTest(int cameras, int colourCameras, int cards)
        : m_cameras(QByteArray::number(cameras)),
          m_colourCameras(QByteArray::number(colourCameras)),
          m_cards(QByteArray::number(cards)) {}

    void SetUp() override {
        qputenv(kDriverPathVariable, RM_SIM_DRIVER_DIR);
        qputenv("REELMARK_SIM_CAMERAS", m_cameras);
        qputenv("REELMARK_SIM_COLOUR_CAMERAS", m_colourCameras);
        qputenv("REELMARK_SIM_CARDS", m_cards);
        DriverLoader::ResetForTests();
        ProgramTest::SetUp();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        qunsetenv(kDriverPathVariable);
        qunsetenv("REELMARK_SIM_CAMERAS");
        qunsetenv("REELMARK_SIM_COLOUR_CAMERAS");
        qunsetenv("REELMARK_SIM_CARDS");
    }

    // Chooses row of the Device Selection dialog once it shows, after a scan.
    static void SelectDeviceWhenShown(int row, bool* done) {
        WhenShown<CDeviceSelectionDlg>(
            [row](CDeviceSelectionDlg* dialog) {
                Click(dialog, CDeviceSelectionDlg::kScan);
                static_cast<CListBox*>(dialog->GetDlgItem(CDeviceSelectionDlg::kDeviceList))
                    ->SetCurSel(row);
                Click(dialog, IDOK);
            },
            done);
    }

    // Opens the first device of Device Selection from File/Open Camera... and waits until its
    // live window shows; null, after a test failure, when it does not.
    static CCamView* OpenCamera(QMainWindow* window) {
        QAction* open = MenuAction(window, QStringLiteral("File/Open Camera..."));
        EXPECT_NE(open, nullptr);
        if (!open)
            return nullptr;
        bool selected = false;
        SelectDeviceWhenShown(0, &selected);
        open->trigger();
        EXPECT_TRUE(WaitFor([&] { return selected; })) << "no Device Selection";
        CCamView* view = nullptr;
        const bool shown = WaitFor([&] {
            view = FindWindowOf<CCamView>();
            return view && view->GetDevice() && view->GetStreamWnd() &&
                   view->GetStreamWnd()->GetQWidget()->isVisible();
        });
        EXPECT_TRUE(shown) << "no camera window";
        return shown ? view : nullptr;
    }

    // The frame number the simulated camera writes at the start of a frame's first row (the last
    // row of the bitmap); ~0 when the frame cannot be read.
    static uint32_t FrameNumberOf(const CFrameImage& frame) {
        CFrameImage image;
        imaging::BitmapData data;
        if (!image.CopyFrom(frame) || !image.LockBits(nullptr, imaging::ImageLockModeRead,
                                                      imaging::PixelFormat8bppIndexed, &data))
            return ~0u;
        uint32_t number = 0;
        std::memcpy(&number,
                    static_cast<const BYTE*>(data.Scan0) + int64_t{data.Stride} * (data.Height - 1),
                    4);
        image.UnlockBits(&data);
        return number;
    }

    // The names of the controller's device windows, in the order they were added.
    static QStringList DeviceNames(CRecordControllerDoc* doc) {
        QStringList names;
        for (CViewChildedFrame* frame : doc->DeviceFrames())
            names << frame->GetActiveView()->GetDocument()->GetTitle();
        return names;
    }

private:
    QByteArray m_cameras;
    QByteArray m_colourCameras;
    QByteArray m_cards;
};
