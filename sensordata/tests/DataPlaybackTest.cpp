// The data playback windows on their own: documents that open and save data files, the view
// that shows them with its frames as the data's scans, the frame's play bar and its close
// question, and the second family that keeps its data in its server.

#include "frames/ChangedFrameDataView.h"
#include "frames/IFrameChangeListener.h"
#include "platform/com/ComVariant.h"
#include "platform/com/DispatchCall.h"
#include "platform/com/MemorySettingsStore.h"
#include "platform/controls/GraphWidget.h"
#include "platform/framework/Button.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/WinApp.h"
#include "resources/ProgramResources.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/DataPlayDoc.h"
#include "sensordata/DataPlayView.h"
#include "sensordata/DataQNPlayDoc.h"
#include "sensordata/DataQNPlayFrameVCF.h"
#include "sensordata/DataQNPlayView.h"
#include "sensordata/QnVidraData.h"
#include "sensordata/tests/DataFiles.h"
#include "sensorres/SensorResourceIds.h"
#include "sensorres/SondrelModule.h"
#include "testsupport/IsolatedTest.h"
#include "views/VidFrame.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>

#include <memory>
#include <vector>

namespace {

class CSettingsMainWnd : public CWnd, public CMemorySettingsStore {};

// A view that writes down the hints its document updates it with.
class CHintView : public CView {
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM lHint, CObject*) override { hints.push_back(int(lHint)); }
    std::vector<int> hints;
};

struct TimeCall {
    int frame, convert;
    double rate;
    QString name;
};

class DataPlaybackTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CResourceChain::AddModule(RmResourceModule());
        m_app = std::make_unique<CWinApp>("data");
        ASSERT_TRUE(m_main.Create(nullptr, "main", 0, CRect(0, 0, 900, 700), nullptr, 0));
        m_app->m_pMainWnd = &m_main;
        m_first = std::make_unique<CMultiDocTemplate>(151, RUNTIME_CLASS(CDataPlayDoc),
                                                      RUNTIME_CLASS(CDataQNPlayFrameVCF),
                                                      RUNTIME_CLASS(CDataPlayView));
        m_second = std::make_unique<CMultiDocTemplate>(151, RUNTIME_CLASS(CDataQNPlayDoc),
                                                       RUNTIME_CLASS(CDataQNPlayFrameVCF),
                                                       RUNTIME_CLASS(CDataQNPlayView));
    }
    void TearDown() override {
        m_first->CloseAllDocuments(TRUE);
        m_second->CloseAllDocuments(TRUE);
        m_first.reset();
        m_second.reset();
        m_app->m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        m_app.reset();
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }

    // A first-family window of the data file at path (written from shape), or of nothing.
    CDataPlayView* Open(const QString& path) {
        CDocument* doc = m_first->OpenDocumentFile(path, TRUE);
        if (!doc)
            return nullptr;
        POSITION pos = doc->GetFirstViewPosition();
        auto* view = dynamic_cast<CDataPlayView*>(doc->GetNextView(pos));
        if (view)
            view->GetParentFrame()->MoveWindow(0, 0, 700, 420);
        return view;
    }
    CDataPlayView* OpenFile(const DataFileShape& shape = {}) {
        const QString path = WorkPath(QStringLiteral("run.mdat"));
        EXPECT_TRUE(WriteSensorFile(path, shape));
        return Open(path);
    }
    static CDataQNPlayFrameVCF* FrameOf(CView* view) {
        return dynamic_cast<CDataQNPlayFrameVCF*>(view->GetParentFrame());
    }
    static CGraphWidget* GraphOf(CDataPlayView* view) {
        CDataDisplayDlg* display = view->GetPanelHost().GetDataDisplay();
        return display ? display->GetQWidget()->findChild<CGraphWidget*>() : nullptr;
    }

    std::unique_ptr<CWinApp> m_app;
    CSettingsMainWnd m_main;
    std::unique_ptr<CMultiDocTemplate> m_first;
    std::unique_ptr<CMultiDocTemplate> m_second;
};

TEST_F(DataPlaybackTest, DataFilesOpenAndFilesThatCannotBeReadSaySo) {
    ASSERT_TRUE(WriteSensorFile(WorkPath("run.mdat"), {3, 400, 2000}));
    ASSERT_TRUE(WriteSensorFile(WorkPath("run.au2"), {2, 300, 500}));
    QFile damaged(WorkPath("damaged.mdat"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("\x01\x00\x05\x00\x00\x00garbage", 13));
    damaged.close();
    const struct {
        const char* name;
        int channels, scans;
        double rate;
    } cases[] = {{"run.mdat", 3, 400, 2000.0},
                 {"run.au2", 2, 300, 500.0},
                 {"damaged.mdat", -1, 0, 0},
                 {"missing.mdat", -1, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = WorkPath(QString::fromLatin1(c.name));
        if (c.channels < 0)
            Prompter().ExpectMessageBox(QStringLiteral("Failed to open document %1.").arg(path),
                                        IDOK);
        CDataPlayView* view = Open(path);
        if (c.channels < 0) {
            EXPECT_EQ(view, nullptr);
            continue;
        }
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->GetFrameCount(), c.scans);
        EXPECT_EQ(view->GetFrameRate(), c.rate);
        EXPECT_EQ(view->GetChannelCount(), c.channels);
        ASSERT_NE(GraphOf(view), nullptr);
        EXPECT_EQ(GraphOf(view)->PlotCount(), c.channels) << "every channel that is on";
    }
}

TEST_F(DataPlaybackTest, SavingWritesTheDataAndAnUnwritableFolderFails) {
    CDataPlayView* view = OpenFile({2, 250});
    ASSERT_NE(view, nullptr);
    CDataPlayDoc* doc = view->GetDataDocument();
    ASSERT_TRUE(doc->OnSaveDocument(WorkPath("copy.mdat")));
    CSensorDataSet back;
    ASSERT_EQ(back.Open(WorkPath("copy.mdat")), S_OK);
    EXPECT_EQ(back.GetScanCount(), 250);

    Prompter().ExpectMessageBox(QStringLiteral("Could not save data file."), IDOK);
    EXPECT_FALSE(doc->OnSaveDocument(WorkPath("no/such/folder/copy.mdat")));
    EXPECT_FALSE(QFile::exists(WorkPath("no/such/folder/copy.mdat")));
}

TEST_F(DataPlaybackTest, SetDataSetUpdatesWithHintOneForNewDataAndTwoForChangedData) {
    CDataPlayView* view = OpenFile({2, 250});
    ASSERT_NE(view, nullptr);
    CDataPlayDoc* doc = view->GetDataDocument();
    auto* hints = new CHintView;
    doc->AddView(hints);
    const CSharedRef<CSensorDataSet> other(MakeDataSet({4, 600, 100}));
    doc->SetDataSet(other, 1);
    doc->SetDataSet(other, 0);
    doc->SetDataSet(other, 7);
    EXPECT_EQ(hints->hints, (std::vector<int>{1, 2, 1}));
    doc->RemoveView(hints);
    delete hints;
    EXPECT_EQ(view->GetDataSet().Get(), other.Get()) << "the views share the one data set";
    EXPECT_EQ(view->GetFrameCount(), 600);
    EXPECT_EQ(GraphOf(view)->PlotCount(), 4);
    IDataPlayView* member = view;
    EXPECT_EQ(member->DataGetDataSet().Get(), other.Get());
}

TEST_F(DataPlaybackTest, FramesAreScansCountedFromTheZeroPointOrTheSecondOrigin) {
    CDataPlayView* view = OpenFile({2, 500, 1000, 10, 30, 60});
    ASSERT_NE(view, nullptr);
    int first = -1;
    EXPECT_TRUE(view->GetFirstFrameNumber(&first));
    EXPECT_EQ(first, 30);
    CDataDisplayDlg* display = view->GetPanelHost().GetDataDisplay();
    ASSERT_NE(display, nullptr);
    display->CheckDlgButton(DataDisplayId::kDataCentric, BST_CHECKED);
    display->SendMessage(WM_COMMAND, MAKEWPARAM(DataDisplayId::kDataCentric, BN_CLICKED), 0);
    EXPECT_TRUE(view->IsTimeFromSecondOrigin());
    EXPECT_TRUE(view->GetFirstFrameNumber(&first));
    EXPECT_EQ(first, 60);
    view->GetDataDocument()->SetDataSet(CSharedRef<CSensorDataSet>(), 1);
    EXPECT_FALSE(view->GetFirstFrameNumber(&first)) << "no data set";

    // A negative frame counts as 0; the display's cursor follows.
    view->GetDataDocument()->SetDataSet(CSharedRef<CSensorDataSet>(MakeDataSet({})), 1);
    for (const auto& [asked, got] : std::vector<std::pair<int, int>>{{123, 123}, {-5, 0}}) {
        view->SetCurrentFrame(asked, 0);
        EXPECT_EQ(view->GetCurrentFrame(), got) << asked;
        EXPECT_EQ(display->GetCursorIndex(), got) << asked;
    }
}

TEST_F(DataPlaybackTest, AFrameChangeNoticeReadsThePositionAgain) {
    CDataPlayView* view = OpenFile();
    ASSERT_NE(view, nullptr);
    IIdUnknown* adapter = nullptr;
    EXPECT_EQ(view->GetChangedFrameView(nullptr), E_POINTER);
    ASSERT_EQ(view->GetChangedFrameView(&adapter), S_OK);
    EXPECT_EQ(adapter, view->DataGetFrameChangeAdapter());
    auto* listener = QueryId<IFrameChangeListener>(adapter);
    ASSERT_NE(listener, nullptr);
    view->GetPanelHost().SetPosition(77);
    EXPECT_EQ(view->GetCurrentFrame(), 0) << "moving the display alone tells nobody";
    EXPECT_EQ(listener->OnFrameChanged(12, 0), S_OK);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(view->GetCurrentFrame(), 77);
}

TEST_F(DataPlaybackTest, TheCursorCallsTheTimeCallbackAndThePlayBarFollows) {
    CDataPlayView* view = OpenFile({2, 500, 1000, 10, 100});
    ASSERT_NE(view, nullptr);
    CDataQNPlayFrameVCF* frame = FrameOf(view);
    ASSERT_NE(frame, nullptr);
    CDataDisplayDlg* display = view->GetPanelHost().GetDataDisplay();
    std::vector<TimeCall> calls;
    view->SetSourceName(QStringLiteral("/data/run.playgrp"));
    display->SetCursorIndex(250, true);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(view->GetCurrentFrame(), 250);
    EXPECT_EQ(frame->GetPlayBar().GetDlgItemText(DataPlayBarId::kTimeField),
              QStringLiteral("0.1500"))
        << "without a group the play bar still follows";

    view->SetTimeRange(
        [](void* context, int frame, int convert, double rate, const QString& name) {
            static_cast<std::vector<TimeCall>*>(context)->push_back({frame, convert, rate, name});
            return 1;
        },
        &calls);
    display->SetCursorIndex(350, true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].frame, 350);
    EXPECT_EQ(calls[0].convert, 1);
    EXPECT_EQ(calls[0].rate, 1000.0);
    EXPECT_EQ(calls[0].name, view->GetSourceName());
    CDataPlayBar& bar = frame->GetPlayBar();
    int position = -1;
    bar.GetPosition(&position);
    EXPECT_EQ(position, 350);
    EXPECT_EQ(bar.GetDlgItemInt(DataPlayBarId::kFrameField, nullptr, TRUE), 250);
    EXPECT_EQ(bar.GetDlgItemText(DataPlayBarId::kTimeField), QStringLiteral("0.2500"));

    // A step of the play bar moves the cursor and tells the group the same way.
    frame->SendMessage(WM_COMMAND, PlayControlId::kFwd, 0);
    EXPECT_EQ(view->GetCurrentFrame(), 351);
    EXPECT_EQ(display->GetCursorIndex(), 351);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].frame, 351);
    // The group moved the member: message 1227 moves the play bar only.
    view->SetCurrentFrame(420, 0);
    frame->SendMessage(kMemberFrameMovedMessage, reinterpret_cast<WPARAM>(view), 420);
    bar.GetPosition(&position);
    EXPECT_EQ(position, 420);
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(DataPlaybackTest, ThePlayBarShowsTheTransportIconsAndTheScale) {
    CDataPlayView* view = OpenFile({2, 301, 1000, 10, 1});
    ASSERT_NE(view, nullptr);
    CDataPlayBar& bar = FrameOf(view)->GetPlayBar();
    ASSERT_TRUE(bar.GetSafeHwnd());
    EXPECT_TRUE(bar.IsVisible());
    for (int id : {2001, 2002, 2003, 2004, 2005, 2009, 2010}) {
        auto* button = qobject_cast<QAbstractButton*>(bar.GetDlgItem(id)->GetQWidget());
        ASSERT_NE(button, nullptr) << id;
        EXPECT_FALSE(button->icon().isNull()) << id;
        EXPECT_TRUE(button->text().isEmpty()) << id;
        EXPECT_FALSE(button->toolTip().isEmpty()) << id;
    }
    const QStringList scale = {bar.GetDlgItemText(1019), bar.GetDlgItemText(1006),
                               bar.GetDlgItemText(1007), bar.GetDlgItemText(1013)};
    EXPECT_EQ(scale, QStringList({"-1", "99", "199", "299"}));
    // Outside a play group the mode boxes have nothing to say.
    EXPECT_FALSE(bar.GetDlgItem(PlayControlId::kBaseSync)->IsWindowEnabled());
}

TEST_F(DataPlaybackTest, HidingThePanelControlsLeavesTheGraphAlone) {
    CDataPlayView* view = OpenFile();
    ASSERT_NE(view, nullptr);
    CDataDisplayDlg* display = view->GetPanelHost().GetDataDisplay();
    ASSERT_TRUE(display->GetDlgItem(DataDisplayId::kZoomMode)->IsWindowVisible());
    EXPECT_EQ(view->HidePanelControls(), 0);
    EXPECT_FALSE(display->AreControlsShown());
    for (int id : {DataDisplayId::kZoomMode, DataDisplayId::kConfigure, DataDisplayId::kValuesList,
                   DataDisplayId::kTimeField})
        EXPECT_FALSE(display->GetDlgItem(id)->IsWindowVisible()) << id;
    CRect client;
    display->GetClientRect(&client);
    EXPECT_EQ(GraphOf(view)->geometry(), QRect(0, 0, client.Width(), client.Height()));
}

// The question before a live copy of a device's memory goes, by the setting and the mark.
TEST_F(DataPlaybackTest, CloseAsksBeforeALiveCopyGoesUnlessTurnedOff) {
    enum Setting { kAbsent, kOff, kOn };
    const struct {
        Setting setting;
        int live;
        int answer;  // 0: no question
        bool closed;
    } cases[] = {
        {kAbsent, 1, IDNO, false}, {kAbsent, 1, IDYES, true}, {kOn, 1, IDNO, false},
        {kOn, 1, IDYES, true},     {kOff, 1, 0, true},        {kAbsent, 0, 0, true},
        {kOn, 0, 0, true},         {kOff, 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "setting " << c.setting << ", live " << c.live);
        m_main.SetSetting(
            QStringLiteral("AppBehave:bPrompt4CloseFromDevice"),
            c.setting == kAbsent ? CComVariant() : CComVariant(LONG(c.setting == kOn)), -1);
        CDataPlayView* view = OpenFile();
        ASSERT_NE(view, nullptr);
        view->GetDataSet()->GetData()->m_nLiveCopy = c.live;
        CFrameWnd* frame = view->GetParentFrame();
        const std::weak_ptr<bool> alive = frame->GetLifeToken();
        if (c.answer)
            Prompter().ExpectMessageBox(QStringLiteral("Erase device memory?"), c.answer);
        frame->SendMessage(WM_CLOSE);
        EXPECT_EQ(alive.expired(), c.closed);
        if (!alive.expired())
            frame->DestroyWindow();
    }
}

TEST_F(DataPlaybackTest, TheSecondFamilyOpensAndSavesThroughItsServer) {
    ASSERT_TRUE(WriteSensorFile(WorkPath("run.mdat"), {3, 400, 2000, 10, 40}));
    auto* doc =
        dynamic_cast<CDataQNPlayDoc*>(m_second->OpenDocumentFile(WorkPath("run.mdat"), TRUE));
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(doc->GetServerData(), nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    auto* view = dynamic_cast<CDataQNPlayView*>(doc->GetNextView(pos));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetFrameCount(), 400);
    EXPECT_EQ(view->GetFrameRate(), 2000.0);
    int zero = 0;
    EXPECT_TRUE(view->GetFirstFrameNumber(&zero));
    EXPECT_EQ(zero, 40);
    auto* graph = qobject_cast<CGraphWidget*>(view->GetGraph().GetWidget());
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->objectName(), QStringLiteral("QNGraph"));
    EXPECT_EQ(graph->PlotCount(), 3);
    EXPECT_EQ(graph->AxisCaption(GraphAxis::X), QStringLiteral("Time (seconds)"));
    view->SetCurrentFrame(123, 0);
    EXPECT_EQ(graph->GetCursorIndex(1), 123);

    EXPECT_TRUE(doc->OnSaveDocument(WorkPath("copy.mdat")));
    CSensorDataSet back;
    ASSERT_EQ(back.Open(WorkPath("copy.mdat")), S_OK);
    EXPECT_EQ(back.GetScanCount(), 400);
    Prompter().ExpectMessageBox(QStringLiteral("Could not save data file."), IDOK);
    EXPECT_FALSE(doc->OnSaveDocument(WorkPath("no/such/folder/copy.mdat")));

    Prompter().ExpectMessageBox(
        QStringLiteral("Failed to open document %1.").arg(WorkPath("missing.mdat")), IDOK);
    EXPECT_EQ(m_second->OpenDocumentFile(WorkPath("missing.mdat"), TRUE), nullptr);
}

TEST_F(DataPlaybackTest, TheDataServerAnswersItsTwoMethodsAndRefusesTheRest) {
    IDispatch* server = nullptr;
    EXPECT_EQ(CQnVidraData::CreateByProgId(QStringLiteral("Other.Server"), &server),
              CO_E_CLASSSTRING);
    EXPECT_EQ(server, nullptr);
    ASSERT_EQ(CQnVidraData::CreateByProgId(QStringLiteral("QnSens.QnCVidraData"), &server), S_OK);
    CComVariant path(QStringLiteral("/no/such/file.mdat"));
    const struct {
        DISPID member;
        UINT args;
        HRESULT hr;
        LONG answer;
    } cases[] = {{CQnVidraData::kDispOpen, 1, S_OK, 1},
                 {CQnVidraData::kDispSave, 1, S_OK, 1},
                 {CQnVidraData::kDispOpen, 0, DISP_E_BADPARAMCOUNT, -1},
                 {15, 1, DISP_E_MEMBERNOTFOUND, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.member);
        if (c.member == CQnVidraData::kDispSave)
            Prompter().ExpectMessageBox(QStringLiteral("Could not save data file."), IDOK);
        DISPPARAMS params;
        params.rgvarg = &path;
        params.cArgs = c.args;
        CComVariant result;
        EXPECT_EQ(server->Invoke(c.member, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
                  c.hr);
        if (c.answer >= 0) {
            EXPECT_EQ(result.ToLong(-1), c.answer);
        }
    }
    server->Release();
}

}  // namespace
