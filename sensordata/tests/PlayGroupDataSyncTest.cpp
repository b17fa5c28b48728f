// A play group with a video and a data file, synchronised on their zero points under the
// group file's name: the group's play control moves the data's cursor, the data's cursor moves
// the video, and each move reaches the data window's play bar.

#include "frames/SampleRecording.h"
#include "groups/GeneralDoc.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "groups/ProjectGroupKinds.h"
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
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>

namespace {

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

}  // namespace
