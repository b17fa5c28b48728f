// A play group as a project shows it: the group opens two recordings of different rates from
// its group file, and moving one through the group's play control moves the other.

#include "frames/CfgFileInfo.h"
#include "frames/IFrameChangeListener.h"
#include "frames/SampleRecording.h"
#include "groups/FrameParentingView.h"
#include "groups/GeneralDoc.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "groups/ProjectGroupKinds.h"
#include "groups/tests/GroupFixture.h"
#include "groups/tests/ProjectStandInFrame.h"
#include "platform/com/ComVariant.h"
#include "platform/framework/MultiDocTemplate.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "shell/VidraApp.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>

#include <cmath>

namespace {

class PlayGroupSyncTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
        m_main->ShowWindow(SW_SHOW);
        CProjectGroupKinds kinds;
        kinds.playGroupView = RUNTIME_CLASS(CMeasurementView);
        kinds.playGroupFrame = RUNTIME_CLASS(CViewChildedFrame);
        kinds.playbackView = RUNTIME_CLASS(CVidView);
        CGeneralDoc::SetGroupKinds(kinds);
        AddTemplate("DT:Gen", "", RUNTIME_CLASS(CGeneralDoc), RUNTIME_CLASS(CProjectStandInFrame),
                    RUNTIME_CLASS(CFrameParentingView));
        AddTemplate("DT:Meas2", CMeasurementFormDoc::kDocString, RUNTIME_CLASS(CMeasurementFormDoc),
                    RUNTIME_CLASS(CViewChildedFrame), RUNTIME_CLASS(CMeasurementView));
        AddTemplate("DT:QNSensPlayVCF", "\nData\nData\nData Files\n.mdat;.au2;.vidatqn\n\n",
                    RUNTIME_CLASS(CTestMemberDoc), RUNTIME_CLASS(CTestMemberFrame),
                    RUNTIME_CLASS(CTestPlaybackView));
        AddTemplate("DT:PmoPlayVCF", "\nData\nData\n\n\n\n", RUNTIME_CLASS(CTestMemberDoc),
                    RUNTIME_CLASS(CTestMemberFrame), RUNTIME_CLASS(CTestPlaybackView));
        CMeasurementFormDoc::SetDataSetFactory([] { return new CSensorDataSet; });
        AddTemplate("DT:Vid", "\nVid\nVid\nVideo Files\n.avi;.raw;.bmp;.tif;.jpg\n\n",
                    RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame), RUNTIME_CLASS(CVidView));
    }

    void TearDown() override {
        m_app.CloseAllDocuments(TRUE);
        CMeasurementFormDoc::SetDataSetFactory(nullptr);
        CGeneralDoc::SetGroupKinds(CProjectGroupKinds());
        if (m_app.m_pMainWnd == m_main)
            m_main->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    void AddTemplate(const char* key, const char* docString, const CRuntimeClass* doc,
                     const CRuntimeClass* frame, const CRuntimeClass* view) {
        auto* docTemplate = new CMultiDocTemplate(0, doc, frame, view);
        docTemplate->SetDocString(QString::fromLatin1(docString));
        m_app.AddDocTemplateWithKey(QString::fromLatin1(key), docTemplate);
    }

    // The sample recording under name, recorded at rate.
    void WriteRecording(const QString& name, int rate) {
        const QString raw = WorkPath(name + ".raw");
        ASSERT_TRUE(CSampleRecording::Write(raw));
        CCfgFileInfo info;
        info.m_firstFrame = CSampleRecording::kFirstFrame;
        info.m_rate = rate;
        info.m_rateHz = rate;
        info.m_exposureNs = 1000000000 / (2 * rate);
        ASSERT_EQ(info.Save(WorkPath(name + ".cfg")), 1);
    }

    CVidraApp m_app{QStringLiteral("Vidra Player")};
    CMainFrame* m_main = nullptr;
};

TEST_F(PlayGroupSyncTest, MovingOneMemberMovesTheOtherToTheSynchronisedFrame) {
    WriteRecording(QStringLiteral("fast"), 100);
    WriteRecording(QStringLiteral("slow"), 40);
    WriteDataFile(WorkPath(QStringLiteral("force.mdat")));
    const QString groupPath = WorkPath(QStringLiteral("pair.playgrp"));
    {
        QFile file(groupPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("fast.raw\nslow.raw\nforce.mdat\n");
    }

    auto* project =
        dynamic_cast<CGeneralDoc*>(m_app.CreateDocumentByKey("DT:Gen", QString(), TRUE));
    ASSERT_NE(project, nullptr);
    CDocument* created = nullptr;
    ASSERT_TRUE(project->CreatePlayGroup(groupPath, &created));
    auto* group = dynamic_cast<CMeasurementFormDoc*>(created);
    ASSERT_NE(group, nullptr);
    // The group reads its file once its view is ready and the project has placed it.
    QCoreApplication::processEvents();
    ASSERT_EQ(group->GetVideoCount(), 2);
    ASSERT_EQ(group->GetDataCount(), 1);

    POSITION pos = group->GetFirstViewPosition();
    auto* view = dynamic_cast<CMeasurementView*>(group->GetNextView(pos));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetContainer(), project->GetProjectView())
        << "the members live beside the group in the project";
    ASSERT_EQ(view->GetMemberCount(), 3);
    CPlaybackView* fast = view->GetMemberPlayback(0);
    CPlaybackView* slow = view->GetMemberPlayback(1);
    CPlaybackView* data = view->GetMemberPlayback(2);
    ASSERT_NE(fast, nullptr);
    ASSERT_NE(slow, nullptr);
    ASSERT_NE(data, nullptr) << "after the videos comes the first data playback";
    EXPECT_EQ(data->GetSourceType(), CPlaybackView::kDataMember);
    EXPECT_EQ(view->GetMemberPlayback(3), nullptr);
    EXPECT_EQ(view->GetMemberPlayback(-1), nullptr);
    EXPECT_EQ(fast->GetFrameRate(), 100.0);
    EXPECT_EQ(slow->GetFrameRate(), 40.0);
    EXPECT_EQ(fast->GetSourceName(), slow->GetSourceName()) << "one key: the group file";
    EXPECT_TRUE(fast->GetBaseSync());
    EXPECT_TRUE(slow->GetBaseSync());
    // The play control follows the top member: bring the slow video up.
    slow->GetParentFrame()->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ(view->GetActivePlaybackView(), slow);
    EXPECT_NE(view->GetPlaybackSourceList()->IsChanged(), 0);

    // The play control steps the top member; the other follows by the time since its zero.
    const int zero = -CSampleRecording::kFirstFrame;
    for (int frame : {60, 21, 35}) {
        SCOPED_TRACE(frame);
        view->GetPlayControl().GotoFrame(frame, TRUE);
        EXPECT_EQ(slow->GetCurrentFrame(), frame);
        const int expected = static_cast<int>(std::trunc(100.0 * (frame - zero) / 40.0)) + zero;
        EXPECT_EQ(fast->GetCurrentFrame(), expected);
    }

    // A change that reaches a video from its source moves the group from that video.
    IIdUnknown* adapter = nullptr;
    ASSERT_EQ(static_cast<CVidView*>(slow)->GetFrameChangeAdapter(&adapter), S_OK);
    auto* listener = QueryId<IFrameChangeListener>(adapter);
    ASSERT_NE(listener, nullptr);
    listener->OnFrameChanged(48, 0);
    EXPECT_EQ(slow->GetCurrentFrame(), 48);
    EXPECT_EQ(fast->GetCurrentFrame(), 90);

    // Zero makes each synchronised member's current frame its zero frame; with auto-bracket on
    // the top member's in and out points close round it.
    ASSERT_EQ(m_main->SetSetting(QStringLiteral("AppBehave:bAutoBracket"),
                                 CComVariant(static_cast<LONG>(1)), -1),
              S_OK);
    ASSERT_TRUE(view->OnCmdMsg(PlayControlId::kZero, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(CMeasurementView::ZeroFrameOf(slow), 48);
    EXPECT_EQ(CMeasurementView::ZeroFrameOf(fast), 90);
    int in = -1;
    int out = -1;
    EXPECT_EQ(slow->GetInPoint(&in), 1);
    EXPECT_EQ(slow->GetOutPoint(&out), 1);
    EXPECT_EQ(in, 33);
    EXPECT_EQ(out, 63);
    EXPECT_EQ(fast->GetInPoint(nullptr), 0) << "a member without a synchronisation mark";

    // The top video's recorded parameters go to its side file.
    QFile::remove(WorkPath(QStringLiteral("slow.cfg")));
    Prompter().ExpectMessageBox(QStringLiteral("Recorded parameters saved successfully."), IDOK);
    ASSERT_TRUE(view->OnCmdMsg(32835, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(QFile::exists(WorkPath(QStringLiteral("slow.cfg"))));

    // Closing a member lets its document entry go and marks the list changed.
    view->GetPlaybackSourceList()->SetChanged(0);
    slow->GetParentFrame()->SendMessage(WM_CLOSE);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(view->GetMemberCount(), 2);
    EXPECT_EQ(group->FindVideoBySourceId(CMeasurementView::SourceIdOf(fast)), 0);
    EXPECT_NE(view->GetPlaybackSourceList()->IsChanged(), 0);
}

TEST_F(PlayGroupSyncTest, AGroupFileOpenedAsAProjectSynchronisesEveryMember) {
    // The way a user opens a group file: the project is made for the path and reads it.
    WriteRecording(QStringLiteral("fast"), 100);
    WriteRecording(QStringLiteral("slow"), 40);
    const QString groupPath = WorkPath(QStringLiteral("pair.playgrp"));
    {
        QFile file(groupPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("fast.raw\nslow.raw\n");
    }
    auto* project =
        dynamic_cast<CGeneralDoc*>(m_app.CreateDocumentByKey("DT:Gen", groupPath, TRUE));
    ASSERT_NE(project, nullptr);
    QCoreApplication::processEvents();
    auto* view = dynamic_cast<CMeasurementView*>(project->FindPlayGroupView());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->GetMemberCount(), 2);
    CPlaybackView* fast = view->GetMemberPlayback(0);
    CPlaybackView* slow = view->GetMemberPlayback(1);
    ASSERT_TRUE(fast && slow);
    EXPECT_EQ(fast->GetSourceName(), slow->GetSourceName()) << "one key: the group file";
    EXPECT_EQ(view->GetDocument()->GetPathName(), groupPath);
    ASSERT_EQ(view->GetActivePlaybackView(), slow) << "the last one opened is on top";
    view->GetPlayControl().GotoFrame(80, TRUE);
    EXPECT_EQ(slow->GetCurrentFrame(), 80);
    EXPECT_EQ(fast->GetCurrentFrame(), 170) << "(80 - 20) / 40 s after the zero, at 100 fps";
}

}  // namespace
