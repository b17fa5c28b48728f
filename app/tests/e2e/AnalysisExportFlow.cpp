#include "app/tests/e2e/E2eSupport.h"
#include "platform/excel/tests/XlsxReader.h"
#include "platform/framework/Menu.h"
#include "shell/MainFrame.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/VideoAnalysis.h"
#include "tracking/tests/TrackingImages.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"
#include "views/ZoomTransform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QUrl>

#include <cmath>

// A user tracks a moving target, then exports the tracks from the video window's "Tracking"
// menu: as a text file, which the program opens in an editor, and as a workbook with the
// tracking sheet, which it opens with the spreadsheet program.

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr int kFrames = 24;
// The frames the test checks, which the run reaches well before the end.
constexpr int kChecked = 12;

double PathX(int f) {
    return 30.0 + 0.8 * f;
}
double PathY(int f) {
    return 40.0 + 0.4 * f;
}

// Takes the files the program hands to the desktop instead of starting a program.
class OpenedFiles : public QObject {
    Q_OBJECT
public:
    OpenedFiles() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler("file"); }
    QStringList paths;
public slots:
    void Open(const QUrl& url) { paths << url.toLocalFile(); }
};

CVidView* OnlyVideoView() {
    CVidView* found = nullptr;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* view = dynamic_cast<CVidView*>(CWnd::FromWidgetPermanent(widget)))
            found = view;
    return found;
}

using AnalysisExportFlow = ProgramTest;

TEST_F(AnalysisExportFlow, TrackedPositionsAreExportedAsTextAndWorkbookFromTheTrackingMenu) {
    OpenedFiles opened;
    const QString path = WorkPath(QStringLiteral("target.raw"));
    ASSERT_TRUE(WriteRawRecording(path, kWidth, kHeight, 8, kFrames, [](int f) {
        CMImage image;
        RenderScene(image, kWidth, kHeight, {Feature{PathX(f), PathY(f), 0.0, 5.5, 5.5, 200, 1.5}},
                    static_cast<unsigned>(f));
        return RawFrameOf(image);
    }));
    CMainFrame* frame = StartProgram({path});
    ASSERT_NE(frame, nullptr);
    CVidView* video = OnlyVideoView();
    ASSERT_NE(video, nullptr);
    auto* analysis = dynamic_cast<CVideoAnalysis*>(video->GetAnalysisOverlays());
    ASSERT_NE(analysis, nullptr);
    QWidget* area = video->GetStreamWnd()->GetQWidget();
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(frame->GetQWidget(), area)) > 10; }));

    // Click the target with the reticle shown, set the feature and track it to the end.
    bool reticle = false;
    video->IsReticleShown(&reticle);
    if (!reticle) {
        ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Show Reticle"));
    }
    CZoomTransform* transform = nullptr;
    ASSERT_EQ(video->GetZoomTransform(&transform), S_OK);
    double wx = 0, wy = 0;
    transform->ImageToWindow(PathX(0), PathY(0), CZoomTransform::kCentre, &wx, &wy);
    transform->Release();
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier,
                      QPoint(static_cast<int>(wx), static_cast<int>(wy)));
    double rx = 0, ry = 0;
    ASSERT_TRUE(WaitFor([&] {
        return video->GetReticlePosition(&rx, &ry) == S_OK && std::abs(rx - PathX(0)) < 2;
    }));
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Set Feature"));
    // Setting the feature moved on a frame; the run starts where the feature is.
    video->SetCurrentFrame(0, 0);
    QApplication::processEvents();
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Start Auto Tracking"));
    CTrackFeatureSet& set = analysis->GetFeatureSet();
    bool found = false;
    int tracked = 0;
    for (int f = 0; f < kFrames; ++f) {
        CTrackPoint p;
        set.GetPoint(f, 0, &found, &p);
        tracked += found ? 1 : 0;
    }
    ASSERT_GE(tracked, kChecked) << "the target was not tracked";

    // The text file: the header, the heads and one row per tracked frame.
    const QString text = WorkPath("tracks.txt");
    Prompter().AnswerFileDialog({text});
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Export Analysis to Text File..."));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11 + tracked);
    EXPECT_EQ(lines[2], "# File Name    : " + path);
    EXPECT_EQ(lines[6], "# Units        : Pixels");
    EXPECT_TRUE(lines[9].startsWith("#   Frame   Time            Point 1"));
    for (int f = 0; f < kChecked; ++f) {
        const QStringList fields = lines[11 + f].split(',');
        ASSERT_GE(fields.size(), 4) << f;
        EXPECT_EQ(fields[0].trimmed().toInt(), f);
        EXPECT_NEAR(fields[2].trimmed().toDouble(), PathX(f), 2.0) << f;
        EXPECT_NEAR(fields[3].trimmed().toDouble(), PathY(f), 2.0) << f;
    }
    EXPECT_EQ(opened.paths, QStringList({text}));

    // The workbook: the tracking sheet with the same numbers.
    const QString workbook = WorkPath("tracks.xlsx");
    Prompter().AnswerFileDialog({workbook});
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Export Analysis to Excel..."));
    XlsxReader reader;
    ASSERT_TRUE(reader.Open(workbook));
    auto cells = reader.Cells(1);
    EXPECT_EQ(cells["A1"].value, "Motion Analysis Data Sheet");
    EXPECT_EQ(cells["B11"].value, path);
    EXPECT_EQ(cells["C23"].value, "Track Point 1");
    for (int f = 0; f < kChecked; ++f) {
        const QStringList fields = lines[11 + f].split(',');
        const QString row = QString::number(25 + f);
        EXPECT_EQ(cells["A" + row].value.toDouble(), f);
        EXPECT_NEAR(cells["C" + row].value.toDouble(), fields[2].trimmed().toDouble(), 1e-5);
        EXPECT_NEAR(cells["D" + row].value.toDouble(), fields[3].trimmed().toDouble(), 1e-5);
    }
    EXPECT_EQ(opened.paths, QStringList({text, workbook}));
}

}  // namespace

#include "AnalysisExportFlow.moc"
