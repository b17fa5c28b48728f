// A play group as a project shows it: the group opens two recordings of different rates from
// its group file, and moving one through the group's play control moves the other.

#include "frames/CfgFileInfo.h"
#include "frames/IFrameChangeListener.h"
#include "frames/SampleRecording.h"
#include "groups/FrameParentingView.h"
#include "groups/GeneralDoc.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "groups/NotesBasicDoc.h"
#include "groups/NotesBasicFrameVCF.h"
#include "groups/NotesBasicView.h"
#include "groups/NotesFile.h"
#include "groups/ProjectGroupKinds.h"
#include "groups/RecordingNotes.h"
#include "groups/tests/GroupFixture.h"
#include "groups/tests/ProjectStandInFrame.h"
#include "platform/com/ComVariant.h"
#include "platform/framework/Button.h"
#include "platform/framework/MultiDocTemplate.h"
#include "resources/ProgramResources.h"
#include "shell/DlgEditParameters.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "shell/VidraApp.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cmath>

namespace {

class PlayGroupSyncTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        // The notes window's panel and bar.
        CProgramResources::Register();
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
        AddTemplate("DT:NotesBasicVCF", "", RUNTIME_CLASS(CNotesBasicDoc),
                    RUNTIME_CLASS(CNotesBasicFrameVCF), RUNTIME_CLASS(CNotesBasicView));
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

    // Edit Record Parameters...: OK writes the corrected rate, shutter and zero frame to the
    // source and the view; Cancel changes nothing.
    CFrameSource* slowSource = static_cast<CVidView*>(slow)->GetFrameSource().operator->();
    ASSERT_NE(slowSource, nullptr);
    const struct {
        const char* rate;
        const char* shutter;
        int button;
        int rateAfter;
        int exposureAfter;
        int zeroAfter;
    } edits[] = {
        {"50", "250", IDOK, 50, 250000, 12},
        {"70", "1", IDCANCEL, 50, 250000, 12},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.rate);
        QTimer::singleShot(0, [&] {
            CDlgEditParameters* dialog = nullptr;
            for (QWidget* widget : QApplication::allWidgets()) {
                if (auto* found =
                        dynamic_cast<CDlgEditParameters*>(CWnd::FromWidgetPermanent(widget)))
                    dialog = found;
            }
            ASSERT_NE(dialog, nullptr);
            dialog->SetDlgItemText(CDlgEditParameters::kRateId, edit.rate);
            dialog->SetDlgItemText(CDlgEditParameters::kShutterId, edit.shutter);
            dialog->SetDlgItemText(CDlgEditParameters::kZeroFrameId, "12");
            dialog->SendMessage(WM_COMMAND, MAKEWPARAM(edit.button, BN_CLICKED), 0);
        });
        ASSERT_TRUE(view->OnCmdMsg(32834, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(slowSource->GetRecordedRate(), edit.rateAfter);
        EXPECT_EQ(slowSource->GetExposure(), edit.exposureAfter);
        EXPECT_EQ(CMeasurementView::ZeroFrameOf(slow), edit.zeroAfter);
        EXPECT_EQ(slow->GetFrameRate(), edit.rateAfter);
        EXPECT_EQ(slow->GetShutter(), edit.exposureAfter);
    }

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

// A notes window belongs to its group: every close that takes the group takes the notes
// window first, and nothing of the group is used after it went.
TEST_F(PlayGroupSyncTest, NotesWindowClosesWithItsGroup) {
    enum class Path { GroupWindow, GroupDocument, Project };
    for (const Path path : {Path::GroupWindow, Path::GroupDocument, Path::Project}) {
        SCOPED_TRACE(static_cast<int>(path));
        WriteRecording(QStringLiteral("take"), 100);
        auto* project =
            dynamic_cast<CGeneralDoc*>(m_app.CreateDocumentByKey("DT:Gen", QString(), TRUE));
        ASSERT_NE(project, nullptr);
        CDocument* created = nullptr;
        ASSERT_TRUE(project->CreatePlayGroup(WorkPath("take.raw"), &created));
        QCoreApplication::processEvents();
        auto* view = dynamic_cast<CMeasurementView*>(project->FindPlayGroupView());
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(view->OnCmdMsg(32915, CN_COMMAND, nullptr, nullptr));
        ASSERT_EQ(view->NotesWindows().size(), 1u);
        CNotesBasicView* notes = view->NotesWindows()[0];
        EXPECT_EQ(notes->GetGroupView(), view);
        const QPointer<QWidget> notesWindow = notes->GetParentFrame()->GetQWidget();
        const QPointer<QWidget> groupWindow = view->GetParentFrame()->GetQWidget();

        switch (path) {
            case Path::GroupWindow:
                view->GetParentFrame()->SendMessage(WM_CLOSE);
                break;
            case Path::GroupDocument:
                created->OnCloseDocument();
                break;
            case Path::Project: {
                POSITION pos = project->GetFirstViewPosition();
                project->GetNextView(pos)->GetParentFrame()->SendMessage(WM_CLOSE);
                break;
            }
        }
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        EXPECT_TRUE(groupWindow.isNull());
        EXPECT_TRUE(notesWindow.isNull()) << "the notes window went with its group";
        if (path != Path::Project) {
            POSITION pos = project->GetFirstViewPosition();
            project->GetNextView(pos)->GetParentFrame()->SendMessage(WM_CLOSE);
        }
        QCoreApplication::processEvents();
        ASSERT_EQ(m_app.GetOpenDocumentCount(), 0);
    }
}

}  // namespace

// The notes window of a group of two videos recorded at different rates: it opens on the top
// member, follows the play control, takes typed notes and saves them, and steps both members
// to the nearest note in time.
TEST_F(PlayGroupSyncTest, NotesWindowShowsEditsSavesAndStepsTheMembersToTheirNotes) {
    WriteRecording(QStringLiteral("fast"), 100);
    WriteRecording(QStringLiteral("slow"), 40);
    {
        // A side file written for another frame count.
        CRecordingNotes stored;
        stored.ResetAll(1, 0);
        ASSERT_TRUE(CNotesFile().SaveNotes(WorkPath("fast.raw"), stored, 3));
    }
    const QString groupPath = WorkPath(QStringLiteral("pair.playgrp"));
    {
        QFile file(groupPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("fast.raw\nslow.raw\n");
    }
    auto* project =
        dynamic_cast<CGeneralDoc*>(m_app.CreateDocumentByKey("DT:Gen", QString(), TRUE));
    ASSERT_NE(project, nullptr);
    CDocument* created = nullptr;
    ASSERT_TRUE(project->CreatePlayGroup(groupPath, &created));
    auto* group = dynamic_cast<CMeasurementFormDoc*>(created);
    QCoreApplication::processEvents();
    ASSERT_EQ(group->GetVideoCount(), 2);
    POSITION pos = group->GetFirstViewPosition();
    auto* view = dynamic_cast<CMeasurementView*>(group->GetNextView(pos));
    ASSERT_NE(view, nullptr);
    CPlaybackView* fast = view->GetMemberPlayback(0);
    CPlaybackView* slow = view->GetMemberPlayback(1);
    const int fastId = CMeasurementView::SourceIdOf(fast);
    const int slowId = CMeasurementView::SourceIdOf(slow);
    CRecordingNotes* fastNotes = group->GetNotesFor(3, fastId);
    CRecordingNotes* slowNotes = group->GetNotesFor(3, slowId);
    ASSERT_NE(fastNotes, nullptr);
    ASSERT_NE(slowNotes, nullptr);
    ASSERT_GT(fastNotes->FrameSet().GetSize(), 90) << "sized to the recording, not the file";
    slowNotes->SetGlobalNote("slow take");
    slowNotes->SetModified(false);

    slow->GetParentFrame()->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    view->GetPlayControl().GotoFrame(30, TRUE);
    ASSERT_TRUE(view->OnCmdMsg(32915, CN_COMMAND, nullptr, nullptr));
    std::vector<CNotesBasicView*> windows = view->NotesWindows();
    ASSERT_EQ(windows.size(), 1u);
    CNotesBasicView* notes = windows[0];
    ASSERT_EQ(notes->GetItems().size(), 2u);
    EXPECT_EQ(notes->GetItems()[0].GetScope(), 0);
    EXPECT_EQ(notes->GetItems()[1].GetScope(), 1);
    EXPECT_EQ(notes->GetItems()[1].GetId(), slowId);
    EXPECT_EQ(notes->Caption(), "Notes : slow.raw");
    CNoteEditDlg& editor = notes->GetEditor();
    EXPECT_TRUE(editor.IsPaneVisible(1));
    EXPECT_FALSE(editor.IsPaneVisible(2));
    EXPECT_EQ(editor.GetDlgItem(CNoteEditDlg::kEditIds[0])->GetWindowText(), "slow take");
    EXPECT_EQ(editor.GetDlgItem(CNoteEditDlg::kTitleIds[1])->GetWindowText(),
              CNotesBasicView::kIndexTitle);
    // The notes window on top stands in for its playback.
    EXPECT_EQ(view->GetActivePlaybackView(), notes);
    EXPECT_EQ(notes->GetCurrentFrame(), 30);
    EXPECT_EQ(notes->FindLinkedView(), slow);

    // A typed note goes to the frame the playback shows once the pane loses the focus.
    notes->CommitPane(1, "slow thirty-four");
    EXPECT_FALSE(slowNotes->GetFrameNote(34, nullptr));
    QString text;
    ASSERT_TRUE(slowNotes->GetFrameNote(30, &text));
    slowNotes->SetFrameNote(30, "");
    slowNotes->SetFrameNote(34, "slow thirty-four");
    fastNotes->SetFrameNote(100, "fast hundred");
    EXPECT_EQ(notes->Caption(), "Notes : slow.raw*");

    // Stepping: slow's note is 4 frames (0.1 s) on, fast's 0.3 s: both move by 0.1 s.
    notes->SetItem(2, 3, fastId, 1, "fast.raw");
    const int fastBefore = fast->GetCurrentFrame();
    notes->StepForward();
    EXPECT_EQ(slow->GetCurrentFrame(), 34);
    EXPECT_EQ(fast->GetCurrentFrame(), fastBefore + 10);
    EXPECT_EQ(editor.GetDlgItem(CNoteEditDlg::kEditIds[1])->GetWindowText(), "slow thirty-four");
    // Back again: slow has no earlier note, fast none before its frame: nothing moves.
    notes->StepBack();
    EXPECT_EQ(slow->GetCurrentFrame(), 34);
    notes->StepForward();
    EXPECT_EQ(fast->GetCurrentFrame(), 100);
    EXPECT_EQ(slow->GetCurrentFrame(), 52) << "the slow video follows by time";

    // Save writes both side files and says so.
    auto* notesDoc = dynamic_cast<CNotesBasicDoc*>(notes->GetDocument());
    ASSERT_NE(notesDoc, nullptr);
    EXPECT_TRUE(notesDoc->IsModified());
    Prompter().ExpectMessageBox(CNotesBasicDoc::kSavedText, IDOK);
    ASSERT_TRUE(notes->GetParentFrame()->OnCmdMsg(32951, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(notesDoc->IsModified());
    CRecordingNotes back;
    back.ResetAll(200, 0);
    CNotesFile().ReadVideoNotes(WorkPath("slow.raw"), back, 200);
    ASSERT_TRUE(back.GetFrameNote(34, &text));
    EXPECT_EQ(text, "slow thirty-four");

    // Closing a member closes the notes windows that show it.
    slow->GetParentFrame()->SendMessage(WM_CLOSE);
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(view->NotesWindows().empty());
}

// A note typed in the notes window is a change the group's close asks about; closing its video
// asks about the notes before they go, and Yes writes them beside the recording.
TEST_F(PlayGroupSyncTest, ClosingAVideoAsksAboutItsChangedNotes) {
    WriteRecording(QStringLiteral("take"), 50);
    const QString groupPath = WorkPath(QStringLiteral("one.playgrp"));
    {
        QFile file(groupPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("take.raw\n");
    }
    auto* project =
        dynamic_cast<CGeneralDoc*>(m_app.CreateDocumentByKey("DT:Gen", QString(), TRUE));
    ASSERT_NE(project, nullptr);
    CDocument* created = nullptr;
    ASSERT_TRUE(project->CreatePlayGroup(groupPath, &created));
    auto* group = dynamic_cast<CMeasurementFormDoc*>(created);
    QCoreApplication::processEvents();
    ASSERT_EQ(group->GetVideoCount(), 1);
    EXPECT_FALSE(group->IsModified());
    POSITION pos = group->GetFirstViewPosition();
    auto* view = dynamic_cast<CMeasurementView*>(group->GetNextView(pos));
    ASSERT_NE(view, nullptr);
    CPlaybackView* take = view->GetMemberPlayback(0);
    view->GetPlayControl().GotoFrame(12, TRUE);
    ASSERT_TRUE(view->OnCmdMsg(32915, CN_COMMAND, nullptr, nullptr));
    ASSERT_EQ(view->NotesWindows().size(), 1u);
    view->NotesWindows()[0]->CommitPane(1, "twelve");
    // The group's close question counts the changed note.
    Prompter().ExpectMessageBox("Save changes to " + group->GetTitle() + "?", IDCANCEL);
    EXPECT_FALSE(group->SaveModified());

    const QString path = group->GetVideoPath(0);
    Prompter().ExpectMessageBox("Save changes to the notes of " + path + "?", IDYES);
    take->GetParentFrame()->SendMessage(WM_CLOSE);
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(group->GetVideoCount(), 0);
    CRecordingNotes back;
    back.ResetAll(200, 0);
    CNotesFile().ReadVideoNotes(WorkPath("take.raw"), back, 200);
    QString text;
    ASSERT_TRUE(back.GetFrameNote(12, &text));
    EXPECT_EQ(text, "twelve");
}
