// A play group with a video and a data file, synchronised on their zero points under the
// group file's name: the group's play control moves the data's cursor, the data's cursor moves
// the video, and each move reaches the data window's play bar.

#include "frames/SampleRecording.h"
#include "groups/GeneralDoc.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "groups/ProjectGroupKinds.h"
#include "platform/excel/tests/XlsxReader.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/DataFrameVCF.h"
#include "sensordata/DataPlayDoc.h"
#include "sensordata/DataPlayView.h"
#include "sensordata/DataQNPlayDoc.h"
#include "sensordata/DataQNPlayFrameVCF.h"
#include "sensordata/DataQNPlayView.h"
#include "sensordata/tests/DataFiles.h"
#include "sensorres/SondrelModule.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "shell/VidraApp.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"
#include "testsupport/OpenedFiles.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>

#include <cmath>

namespace {

class CEnableProbe : public CCmdUI {
public:
    void Enable(BOOL bOn) override { enabled = bOn; }
    BOOL enabled = TRUE;
};

class PlayGroupDataSyncTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CResourceChain::AddModule(RmResourceModule());
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
        m_main->ShowWindow(SW_SHOW);
        CProjectGroupKinds kinds;
        kinds.playGroupView = RUNTIME_CLASS(CMeasurementView);
        kinds.playbackView = RUNTIME_CLASS(CPlaybackView);
        kinds.dataFrame = RUNTIME_CLASS(CDataFrameVCF);
        kinds.dataPlayFrame = RUNTIME_CLASS(CDataQNPlayFrameVCF);
        CGeneralDoc::SetGroupKinds(kinds);
        AddTemplate("DT:Meas2", CMeasurementFormDoc::kDocString, RUNTIME_CLASS(CMeasurementFormDoc),
                    RUNTIME_CLASS(CViewChildedFrame), RUNTIME_CLASS(CMeasurementView));
        AddTemplate("DT:Vid", "\nVid\nVid\nVideo Files\n.avi;.raw\n\n", RUNTIME_CLASS(CVidDoc),
                    RUNTIME_CLASS(CVidFrame), RUNTIME_CLASS(CVidView));
        AddTemplate("DT:QNSensPlayVCF", "\nData\nData\nData Files\n.mdat;.au2;.vidatqn\n\n",
                    RUNTIME_CLASS(CDataQNPlayDoc), RUNTIME_CLASS(CDataQNPlayFrameVCF),
                    RUNTIME_CLASS(CDataQNPlayView));
        AddTemplate("DT:PmoPlayVCF", "\nData\nData\n\n\n\n", RUNTIME_CLASS(CDataPlayDoc),
                    RUNTIME_CLASS(CDataQNPlayFrameVCF), RUNTIME_CLASS(CDataPlayView));
        CMeasurementFormDoc::SetDataSetFactory([] { return new CSensorDataSet; });
    }
    void TearDown() override {
        m_app.CloseAllDocuments(TRUE);
        CMeasurementFormDoc::SetDataSetFactory(nullptr);
        CGeneralDoc::SetGroupKinds(CProjectGroupKinds());
        if (m_app.m_pMainWnd == m_main)
            m_main->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }
    void AddTemplate(const char* key, const char* docString, const CRuntimeClass* doc,
                     const CRuntimeClass* frame, const CRuntimeClass* view) {
        auto* docTemplate = new CMultiDocTemplate(151, doc, frame, view);
        docTemplate->SetDocString(QString::fromLatin1(docString));
        m_app.AddDocTemplateWithKey(QString::fromLatin1(key), docTemplate);
    }
    static void BringToTop(CView* view) {
        view->GetParentFrame()->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }

    CVidraApp m_app{QStringLiteral("Vidra Player")};
    CMainFrame* m_main = nullptr;
};

TEST_F(PlayGroupDataSyncTest, VideoAndDataMoveTogetherByTheTimeSinceTheirZeroPoints) {
    // A video of 100 frames/s whose zero frame is its frame 20, and a data file of 1000
    // scans/s at 10 scans per frame whose zero point is scan 200: the same moment.
    ASSERT_TRUE(CSampleRecording::Write(WorkPath("clip.raw")));
    ASSERT_EQ(CSampleRecording::kRate, 100);
    ASSERT_EQ(CSampleRecording::kFirstFrame, -20);
    ASSERT_TRUE(WriteSensorFile(WorkPath("run.mdat"), {2, 1000, 1000, 10, 200}));
    const QString groupPath = WorkPath("pair.playgrp");
    QFile file(groupPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("clip.raw\nrun.mdat\n");
    file.close();

    auto* group = dynamic_cast<CMeasurementFormDoc*>(
        m_app.CreateDocumentByKey(QStringLiteral("DT:Meas2"), groupPath, TRUE));
    ASSERT_NE(group, nullptr);
    QCoreApplication::processEvents();
    ASSERT_EQ(group->GetVideoCount(), 1);
    ASSERT_EQ(group->GetDataCount(), 1);
    POSITION pos = group->GetFirstViewPosition();
    auto* groupView = dynamic_cast<CMeasurementView*>(group->GetNextView(pos));
    ASSERT_NE(groupView, nullptr);
    CPlaybackView* video = groupView->GetMemberPlayback(0);
    auto* data = dynamic_cast<CDataPlayView*>(groupView->GetMemberPlayback(1));
    ASSERT_NE(video, nullptr);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetDataSet().Get(), group->GetDataRef(0).Get()) << "one data set, shared";
    EXPECT_EQ(video->GetSourceName(), data->GetSourceName());
    EXPECT_TRUE(video->GetBaseSync());
    EXPECT_TRUE(data->GetBaseSync());
    EXPECT_EQ(data->GetFrameRate(), 1000.0);
    EXPECT_EQ(data->GetFrameCount(), 1000);
    auto* dataFrame = dynamic_cast<CDataQNPlayFrameVCF*>(data->GetParentFrame());
    ASSERT_NE(dataFrame, nullptr);
    CDataDisplayDlg* display = data->GetPanelHost().GetDataDisplay();
    ASSERT_NE(display, nullptr);
    int barPosition = -1;

    // The play control at video frame 20 puts the data's cursor on scan 200, and the data
    // window's play bar there.
    BringToTop(video);
    ASSERT_EQ(groupView->GetActivePlaybackView(), video);
    groupView->GetPlayControl().GotoFrame(20, TRUE);
    EXPECT_EQ(video->GetCurrentFrame(), 20);
    EXPECT_EQ(data->GetCurrentFrame(), 200);
    EXPECT_EQ(display->GetCursorIndex(), 200);
    dataFrame->GetPlayBar().GetPosition(&barPosition);
    EXPECT_EQ(barPosition, 200);

    // The data's cursor dragged to scan 350 (0.15 s after its zero point) moves the video to
    // frame 35.
    BringToTop(data);
    ASSERT_EQ(groupView->GetActivePlaybackView(), data);
    display->OnGraphCursorMoved(350.0 - 200.0);
    EXPECT_EQ(data->GetCurrentFrame(), 350);
    EXPECT_EQ(video->GetCurrentFrame(), 35);
    dataFrame->GetPlayBar().GetPosition(&barPosition);
    EXPECT_EQ(barPosition, 350);
}

// The Playback menu's exports of the data member on top: the text file and the workbook hold
// the same numbers, row by row, the workbook's channel headings following the answer about
// real units.
TEST_F(PlayGroupDataSyncTest, TheDataOnTopExportsToTextAndToAWorkbookWithTheSameNumbers) {
    OpenedFiles opened;
    ASSERT_TRUE(CSampleRecording::Write(WorkPath("clip.raw")));
    DataFileShape shape{3, 40, 1000, 10, 5};
    ASSERT_TRUE(WriteSensorFile(WorkPath("run.mdat"), shape));
    QFile file(WorkPath("pair.playgrp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("clip.raw\nrun.mdat\n");
    file.close();
    auto* group = dynamic_cast<CMeasurementFormDoc*>(
        m_app.CreateDocumentByKey(QStringLiteral("DT:Meas2"), WorkPath("pair.playgrp"), TRUE));
    ASSERT_NE(group, nullptr);
    QCoreApplication::processEvents();
    POSITION pos = group->GetFirstViewPosition();
    auto* groupView = dynamic_cast<CMeasurementView*>(group->GetNextView(pos));
    ASSERT_NE(groupView, nullptr);
    CPlaybackView* video = groupView->GetMemberPlayback(0);
    CPlaybackView* data = groupView->GetMemberPlayback(1);
    ASSERT_NE(video, nullptr);
    ASSERT_NE(data, nullptr);
    const auto enabled = [&](UINT id) {
        CEnableProbe ui;
        ui.m_nID = id;
        groupView->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui.enabled;
    };
    const auto command = [&](UINT id) { groupView->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); };

    BringToTop(video);
    EXPECT_FALSE(enabled(32832)) << "a video on top has no data to export";
    EXPECT_FALSE(enabled(32833));
    command(32832);
    command(32833);
    EXPECT_TRUE(Prompter().Prompts().empty());

    BringToTop(data);
    EXPECT_TRUE(enabled(32832));
    EXPECT_TRUE(enabled(32833));
    Prompter().AnswerFileDialog({WorkPath("run.au2")});
    command(32832);
    ASSERT_EQ(Prompter().FilePrompts().size(), 1u);
    EXPECT_EQ(Prompter().FilePrompts()[0].title, "Save Data");

    const QString question = "Would you like to Export the data using real units?";
    Prompter().ExpectMessageBox(question, IDCANCEL);
    command(32833);
    EXPECT_EQ(Prompter().FilePrompts().size(), 1u) << "cancel asks for no workbook";

    const struct {
        int answer;
        const char* path;
        const char* heading;
    } workbooks[] = {{IDYES, "units.xlsx", "Ch. 0 (units)"}, {IDNO, "volts.xlsx", "Ch. 0 (Volts)"}};
    for (const auto& w : workbooks) {
        Prompter().ExpectMessageBox(question, w.answer);
        Prompter().AnswerFileDialog({WorkPath(w.path)});
        command(32833);
        EXPECT_EQ(Prompter().FilePrompts().back().fileName, "run.xlsx") << "named after the window";
    }
    EXPECT_EQ(opened.paths, QStringList({WorkPath("units.xlsx"), WorkPath("volts.xlsx")}));

    // The text's rows: index, time and one value per channel after the eleven header lines.
    QFile text(WorkPath("run.au2"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(text.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11 + shape.scans);
    for (const auto& w : workbooks) {
        SCOPED_TRACE(w.path);
        XlsxReader reader;
        ASSERT_TRUE(reader.Open(WorkPath(w.path)));
        const auto cells = reader.Cells(1);
        // The heading row names "Index"; the data rows follow it.
        int headingRow = -1;
        for (const auto& [name, cell] : cells)
            if (name.startsWith('A') && cell.value == "Index")
                headingRow = name.mid(1).toInt();
        ASSERT_GT(headingRow, 0);
        EXPECT_EQ(cells.at(QString("C%1").arg(headingRow)).value, w.heading);
        for (int s = 0; s < shape.scans; ++s) {
            const QStringList fields = lines[11 + s].split('\t', Qt::SkipEmptyParts);
            ASSERT_EQ(fields.size(), 2 + shape.channels);
            for (int column = 0; column < fields.size(); ++column) {
                const QString name =
                    QString("%1%2").arg(QChar('A' + column)).arg(headingRow + 1 + s);
                ASSERT_EQ(cells.count(name), 1u) << name.toStdString();
                const double inText = fields[column].trimmed().toDouble();
                const double inBook = cells.at(name).value.toDouble();
                EXPECT_NEAR(inBook, inText, 1e-6 * std::max(1.0, std::fabs(inText)))
                    << name.toStdString();
            }
        }
    }
}

}  // namespace

TEST_F(PlayGroupDataSyncTest, ZeroAndGraphNumberingReachTheDataMember) {
    ASSERT_TRUE(CSampleRecording::Write(WorkPath("clip.raw")));
    ASSERT_TRUE(WriteSensorFile(WorkPath("run.mdat"), {2, 1000, 1000, 10, 200}));
    const QString groupPath = WorkPath("pair.playgrp");
    QFile file(groupPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("clip.raw\nrun.mdat\n");
    file.close();
    auto* group = dynamic_cast<CMeasurementFormDoc*>(
        m_app.CreateDocumentByKey(QStringLiteral("DT:Meas2"), groupPath, TRUE));
    ASSERT_NE(group, nullptr);
    QCoreApplication::processEvents();
    POSITION pos = group->GetFirstViewPosition();
    auto* groupView = dynamic_cast<CMeasurementView*>(group->GetNextView(pos));
    ASSERT_NE(groupView, nullptr);
    CPlaybackView* video = groupView->GetMemberPlayback(0);
    auto* data = dynamic_cast<CDataPlayView*>(groupView->GetMemberPlayback(1));
    ASSERT_TRUE(video && data);
    CDataDisplayDlg* display = data->GetPanelHost().GetDataDisplay();
    ASSERT_NE(display, nullptr);

    // Zero with the data on top at scan 350: both members count from where they stand.
    BringToTop(data);
    display->OnGraphCursorMoved(350.0 - 200.0);
    ASSERT_EQ(video->GetCurrentFrame(), 35);
    groupView->OnZero();
    EXPECT_EQ(group->GetDataRef(0)->GetZeroPoint(), 350);
    int zero = -1;
    EXPECT_TRUE(data->GetFirstFrameNumber(&zero));
    EXPECT_EQ(zero, 350);
    auto* vid = dynamic_cast<CVidView*>(video);
    ASSERT_NE(vid, nullptr);
    EXPECT_EQ(vid->GetFrameSource()->GetFirstFrameNumber(), -35);

    // The graph numbering commands of the group act on the data on top.
    ASSERT_TRUE(groupView->OnCmdMsg(32846, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(display->IsDataCentric());
    EXPECT_EQ(data->GetGraphNumberingMode(), 1);
    ASSERT_TRUE(groupView->OnCmdMsg(32847, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(display->IsDataCentric());
    EXPECT_EQ(data->GetGraphNumberingMode(), 0);
}
