#include "groups/MeasurementFormView.h"

#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "frames/SaveControllerBase.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementFormFrame.h"
#include "groups/tests/GroupFixture.h"
#include "platform/framework/FrameworkIds.h"
#include "resources/ProgramResources.h"

namespace {

// Counts the one-step saves asked of any source and cancels them.
int g_saveQuestions = 0;

class CCountingSaveController : public CSaveControllerBase {
public:
    HRESULT Prompt(CSaveVideoParams*) override {
        ++g_saveQuestions;
        return E_FAIL;
    }
    HRESULT Save(CSaveVideoParams*) override { return E_FAIL; }
};

class MeasurementFormViewTest : public GroupFixture {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        CProgramResources::Register();
        g_saveQuestions = 0;
        CFrameSource::SetSaveControllerFactory(
            [](CFrameSource*) { return std::make_unique<CCountingSaveController>(); });
        m_forms = new CMultiDocTemplate(0, RUNTIME_CLASS(CMeasurementFormDoc),
                                        RUNTIME_CLASS(CMeasurementFormFrame),
                                        RUNTIME_CLASS(CMeasurementFormView));
        m_forms->SetDocString(QString::fromLatin1(CMeasurementFormDoc::kFormDocString));
        m_app.AddDocTemplateWithKey(QStringLiteral("DT:Meas"), m_forms);
    }

    void TearDown() override {
        CFrameSource::SetSaveControllerFactory(nullptr);
        GroupFixture::TearDown();
    }

    // The form view of a new group showing the recording at path.
    CMeasurementFormView* Open(const QString& path) {
        auto* group = dynamic_cast<CMeasurementFormDoc*>(m_forms->OpenDocumentFile(QString()));
        if (!group)
            return nullptr;
        EXPECT_TRUE(group->AddVideoWithoutWindow(path));
        POSITION pos = group->GetFirstViewPosition();
        return dynamic_cast<CMeasurementFormView*>(group->GetNextView(pos));
    }

    // A recording of 200 frames whose trigger falls on frame 20, or one of 2 frames without a
    // trigger.
    QString Recording(const char* name, bool withTrigger) {
        const QString path = WorkPath(QString::fromLatin1(name));
        if (!withTrigger)
            return WriteVideo(path);
        EXPECT_TRUE(CSampleRecording::Write(path));
        return path;
    }

    static QString ShownPath(CMeasurementFormView* view) {
        QString path;
        view->GetDisplay().GetSourcePath(0, &path);
        return path;
    }

    // The play control moves to frame and the view paints.
    static void ShowFrame(CMeasurementFormView* view, int frame) {
        view->GetPlayControl().GotoFrame(frame, FALSE);
        view->SendMessage(WM_PAINT);
    }

    CMultiDocTemplate* m_forms = nullptr;
};

TEST_F(MeasurementFormViewTest, ShowsTheGroupsVideoOnItsTabAndSavesItInOneStep) {
    const QString path = Recording("take.raw", true);
    CMeasurementFormView* view = Open(path);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ShownPath(view), path);
    CWnd* tab = view->GetDlgItem(CMeasurementFormView::kDisplayTabId);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(view->GetDisplay().GetParent(), tab);
    EXPECT_EQ(view->GetDisplay().GetDlgCtrlID(),
              static_cast<int>(CMeasurementFormView::kDisplayId));

    for (const UINT command : {ID_FILE_SAVE, ID_FILE_SAVE_AS})
        view->SendMessage(WM_COMMAND, command);
    EXPECT_EQ(g_saveQuestions, 2);
    // Without a video at its index the view saves nothing.
    view->SetVideoIndex(1);
    view->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_EQ(g_saveQuestions, 2);
}

TEST_F(MeasurementFormViewTest, RewindAndFastForwardStopAtTheTrigger) {
    struct Case {
        bool trigger;
        int lastShown;
        int rewind;
        int fastForward;
    };
    const Case cases[] = {
        {true, 150, 20, 199},
        {true, 10, 0, 20},
        {false, 1, 0, 1},
        {false, 0, 0, 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        CMeasurementFormView* view =
            Open(Recording(qPrintable(QStringLiteral("r%1.raw").arg(n++)), c.trigger));
        ASSERT_NE(view, nullptr);
        ShowFrame(view, c.lastShown);
        ASSERT_EQ(view->GetLastShownFrame(), c.lastShown);
        int target = -1;
        ASSERT_TRUE(view->RewindTarget(c.lastShown, &target));
        EXPECT_EQ(target, c.rewind);
        ASSERT_TRUE(view->FastForwardTarget(c.lastShown, &target));
        EXPECT_EQ(target, c.fastForward);
    }
}

TEST_F(MeasurementFormViewTest, PaintShowsOnlyAFrameThatChanged) {
    CMeasurementFormView* view = Open(Recording("take.raw", true));
    ASSERT_NE(view, nullptr);
    CStreamWnd& display = view->GetDisplay();
    ShowFrame(view, 5);
    EXPECT_EQ(display.GetCurrentFrame(), 5);
    // The display shows another frame; a paint with the play control where it was keeps it.
    display.ShowFrame(2);
    view->SendMessage(WM_PAINT);
    EXPECT_EQ(display.GetCurrentFrame(), 2);
    ShowFrame(view, 7);
    EXPECT_EQ(display.GetCurrentFrame(), 7);
}

TEST_F(MeasurementFormViewTest, OnlyAnUpdateForItsVideoChangesTheDisplay) {
    const QString path = Recording("take.raw", true);
    CMeasurementFormView* view = Open(path);
    ASSERT_NE(view, nullptr);
    CDocument* group = view->GetDocument();
    view->GetDisplay().SetFrameSource(CFrameSourcePtr());
    group->UpdateAllViews(nullptr, 1, nullptr);
    EXPECT_EQ(ShownPath(view), QString());
    group->UpdateAllViews(nullptr, 0, nullptr);
    EXPECT_EQ(ShownPath(view), path);
}

}  // namespace
