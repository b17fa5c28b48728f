#include "devices/SimplePlayBar.h"

#include "devices/RecordDialogBar.h"
#include "groups/GeneralDoc.h"
#include "groups/GeneralView.h"
#include "groups/MeasurementView.h"
#include "groups/ProjectGroupKinds.h"
#include "platform/com/ComVariant.h"
#include "platform/controls/SlideControl.h"
#include "platform/framework/ControlBar.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"
#include "views/IPlayBar.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// The play group's view of a project, recording the play bar messages it gets.
class CRecordingMeasurementView : public CMeasurementView {
public:
    QStringList messages;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPlayBarTracking || message == kPlayBarReleased ||
            message == kPlayBarResetLimits) {
            messages << QString("%1 %2 %3").arg(message).arg(wParam).arg(lParam);
            return 1;
        }
        return CMeasurementView::WindowProc(message, wParam, lParam);
    }
};

// A slide that reports the change it is given, as some controls do while they are written.
class CEchoingPlayBar : public CSimplePlayBar {
protected:
    void WritePointer(int index, double value) override {
        CSimplePlayBar::WritePointer(index, value);
        Control()->FireEvent(CSlideControl::kEventValueChanged,
                             {CComVariant(static_cast<LONG>(index)), CComVariant(value)});
        Control()->FireEvent(CSlideControl::kEventDblClick, {});
    }
    void WriteRange(double minimum, double maximum) override {
        CSimplePlayBar::WriteRange(minimum, maximum);
        Control()->FireEvent(CSlideControl::kEventValueChanging,
                             {CComVariant(static_cast<LONG>(1)), CComVariant(minimum)});
    }

private:
    CSlideControl* Control() { return static_cast<CSlideControl*>(GetSlide().GetControl()); }
};

constexpr UINT kBarId = 30047;

class SimplePlayBarTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&CProgramResources::Module());
        CProjectGroupKinds kinds;
        kinds.playGroupView = RUNTIME_CLASS(CMeasurementView);
        CGeneralDoc::SetGroupKinds(kinds);
        m_top = new CFrameWnd;
        ASSERT_TRUE(m_top->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        m_top->MoveWindow(0, 0, 900, 700);
    }
    void TearDown() override {
        // The views leave the document as their windows go.
        m_top->DestroyWindow();
        m_doc.reset();
        CGeneralDoc::SetGroupKinds(CProjectGroupKinds());
        CResourceChain::RemoveModule(&CProgramResources::Module());
        IsolatedTest::TearDown();
    }

    // A project view with its play group's view, as a project window holds them.
    void MakeProject() {
        m_doc = std::make_unique<CGeneralDoc>();
        m_doc->m_bAutoDelete = FALSE;
        m_project = new CGeneralView;
        ASSERT_TRUE(m_project->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE,
                                      CRect(0, 0, 800, 600), m_top, AFX_IDW_PANE_FIRST));
        m_doc->AddView(m_project);
        CFrameWnd* group = HostedFrame();
        m_playView = new CRecordingMeasurementView;
        ASSERT_TRUE(m_playView->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE,
                                       CRect(0, 0, 300, 200), group, AFX_IDW_PANE_FIRST));
        group->SetActiveView(m_playView, FALSE);
    }
    // A frame held by the project view.
    CFrameWnd* HostedFrame() {
        auto* frame = new CViewChildedFrame;
        EXPECT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        CViewChildedFrame::AttachToParentView(m_project, frame);
        return frame;
    }
    static void CreateBar(CSimplePlayBar& bar, CFrameWnd* frame) {
        ASSERT_TRUE(bar.Create(frame, CSimplePlayBar::kTemplate, CBRS_BOTTOM | WS_VISIBLE, kBarId));
        ASSERT_FALSE(bar.GetSlide().IsEmpty());
    }
    static CSlideControl* Control(CSimplePlayBar& bar) {
        return static_cast<CSlideControl*>(bar.GetSlide().GetControl());
    }
    static double Pointer(CSimplePlayBar& bar, int index) {
        return Control(bar)->PointerValue(index);
    }
    QStringList Delivered() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        return m_playView ? m_playView->messages : QStringList();
    }

    CFrameWnd* m_top = nullptr;
    std::unique_ptr<CGeneralDoc> m_doc;
    CGeneralView* m_project = nullptr;
    CRecordingMeasurementView* m_playView = nullptr;
};

}  // namespace

TEST_F(SimplePlayBarTest, SettersWriteTheSlideOnlyWhenTheValueChanged) {
    CSimplePlayBar bar;
    // Before the bar has its slide nothing is written and nothing is taken as shown.
    bar.SetPosition(3);
    CreateBar(bar, m_top);
    bar.SetFrameCount(101);
    double minimum = -1;
    double maximum = -1;
    ASSERT_EQ(bar.GetSlide().GetRange(&minimum, &maximum), S_OK);
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, 100);
    bar.SetPosition(3);
    bar.SetMarkers(10, 90);
    EXPECT_EQ(Pointer(bar, 1), 3);
    EXPECT_EQ(Pointer(bar, 2), 10);
    EXPECT_EQ(Pointer(bar, 3), 90);

    // The user moves everything; the owner's unchanged values send nothing back.
    Control(bar)->SetMaximum(50);
    Control(bar)->SetPointerValue(1, 20);
    Control(bar)->SetPointerValue(2, 5);
    Control(bar)->SetPointerValue(3, 45);
    bar.SetFrameCount(101);
    bar.SetPosition(3);
    bar.SetMarkers(10, 90);
    EXPECT_EQ(Control(bar)->Maximum(), 50);
    EXPECT_EQ(Pointer(bar, 1), 20);
    EXPECT_EQ(Pointer(bar, 2), 5);
    EXPECT_EQ(Pointer(bar, 3), 45);

    // One marker changed: both are written.
    bar.SetMarkers(10, 40);
    EXPECT_EQ(Pointer(bar, 2), 10);
    EXPECT_EQ(Pointer(bar, 3), 40);
}

TEST_F(SimplePlayBarTest, SlideEventsReachThePlayGroupOfTheProjectHoldingTheBar) {
    MakeProject();
    CSimplePlayBar bar;
    CreateBar(bar, HostedFrame());
    bar.SetFrameCount(100);
    bar.SetPosition(50);
    bar.SetMarkers(0, 99);
    EXPECT_TRUE(Delivered().isEmpty()) << "the owner's writes are not the user's moves";

    Control(bar)->FireEvent(CSlideControl::kEventValueChanged,
                            {CComVariant(static_cast<LONG>(2)), CComVariant(12.7)});
    Control(bar)->FireEvent(CSlideControl::kEventValueChanging,
                            {CComVariant(static_cast<LONG>(1)), CComVariant(-3.9)});
    Control(bar)->FireEvent(CSlideControl::kEventDblClick, {});
    // Other events of the slide mean nothing here.
    Control(bar)->FireEvent(CSlideControl::kEventClick, {});
    EXPECT_EQ(Delivered(), QStringList({"1224 2 12", "1225 1 -3", "1226 0 0"}));
}

TEST_F(SimplePlayBarTest, NothingIsPostedWhileTheBarWritesOrOutsideAProject) {
    MakeProject();
    CEchoingPlayBar echoing;
    CreateBar(echoing, HostedFrame());
    echoing.SetFrameCount(100);
    echoing.SetPosition(50);
    echoing.SetMarkers(10, 20);
    EXPECT_TRUE(Delivered().isEmpty());
    // The same control heard afterwards is the user's.
    Control(echoing)->FireEvent(CSlideControl::kEventDblClick, {});
    EXPECT_EQ(Delivered(), QStringList({"1226 0 0"}));

    // A bar whose frame the project does not hold sends its moves nowhere.
    m_playView->messages.clear();
    auto* loose = new CFrameWnd;
    ASSERT_TRUE(loose->LoadFrame(0, WS_OVERLAPPEDWINDOW));
    CSimplePlayBar elsewhere;
    CreateBar(elsewhere, loose);
    Control(elsewhere)->FireEvent(CSlideControl::kEventValueChanged,
                                  {CComVariant(static_cast<LONG>(1)), CComVariant(5.0)});
    EXPECT_TRUE(Delivered().isEmpty());
    loose->DestroyWindow();
}

TEST_F(SimplePlayBarTest, TheRecordDialogBarHoldsThePlaceOfTheRecordPage) {
    CRecordDialogBar bar;
    ASSERT_TRUE(bar.Create(m_top, CRecordDialogBar::kTemplate, CBRS_BOTTOM | WS_VISIBLE, kBarId));
    EXPECT_NE(bar.GetDlgItem(CRecordDialogBar::kPageItem), nullptr);
    EXPECT_EQ(bar.GetDockingFrame(), m_top);
    EXPECT_TRUE(bar.IsVisible());
    CRecordDialogBar missing;
    EXPECT_FALSE(missing.Create(m_top, 9999, CBRS_BOTTOM, kBarId + 1));
    CSimplePlayBar missingSlide;
    EXPECT_FALSE(missingSlide.Create(m_top, 9999, CBRS_BOTTOM, kBarId + 2));
}
