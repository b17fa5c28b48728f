#include "views/panels/LutColorAdjustDlg.h"

#include "frames/FrameSource.h"
#include "frames/FrameSourcePtr.h"
#include "frames/SampleRecording.h"
#include "platform/com/ComCreate.h"
#include "platform/com/MemorySettingsStore.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/WinApp.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"
#include "views/LutParamsDispatch.h"
#include "views/QnCBasicLutParamsDriver.h"
#include "views/StreamWnd.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QWidget>

namespace {

// The main window as the video window sees it: a window that answers the settings interface.
class CSettingsMainWnd : public CWnd, public CMemorySettingsStore {};

class LutColorAdjustDlgTest : public IsolatedTest {
protected:
    static constexpr int kFrame = 30;

    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&CProgramResources::Module());
        m_app = std::make_unique<CWinApp>("lut");
        ASSERT_TRUE(m_main.Create(nullptr, "main", 0, CRect(0, 0, 800, 600), nullptr, 0));
        m_app->m_pMainWnd = &m_main;
        m_template = std::make_unique<CMultiDocTemplate>(
            145, RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame), RUNTIME_CLASS(CVidView));
        ASSERT_TRUE(m_host.Create(nullptr, "host", 0, CRect(0, 0, 700, 700), nullptr, 0));
    }
    void TearDown() override {
        m_dialog.DestroyWindow();
        m_host.DestroyWindow();
        if (m_frame)
            m_frame->DestroyWindow();
        m_template.reset();
        m_app->m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        m_app.reset();
        CoFreeUnusedLibraries();
        CResourceChain::RemoveModule(&CProgramResources::Module());
        IsolatedTest::TearDown();
    }

    void RegisterEditor() {
        QProcess regsvr;
        regsvr.setProcessChannelMode(QProcess::MergedChannels);
        regsvr.start(QStringLiteral(RM_REGSVR), {QStringLiteral(RM_LEVORA_MODULE)});
        ASSERT_TRUE(regsvr.waitForFinished(60000));
        ASSERT_EQ(regsvr.exitCode(), 0) << regsvr.readAll().toStdString();
    }

    // A video member showing the sample recording at its own size (window pixels are image
    // pixels).
    void OpenVideo() {
        CDocument* doc = m_template->OpenDocumentFile(QString(), TRUE);
        ASSERT_NE(doc, nullptr);
        POSITION pos = doc->GetFirstViewPosition();
        m_view = dynamic_cast<CVidView*>(doc->GetNextView(pos));
        ASSERT_NE(m_view, nullptr);
        m_frame = m_view->GetParentFrame();
        m_view->MoveWindow(0, 0, CSampleRecording::kWidth - 4, CSampleRecording::kHeight - 4);
        m_view->SetGroupMember(CPlaybackView::kVideoMember, 0, 0, 0);
        const QString path = WorkPath("sample.raw");
        ASSERT_TRUE(CSampleRecording::Write(path));
        CFrameSourcePtr source(new CFrameSource);
        ASSERT_EQ(source->Open(path), 1);
        m_view->SetFrameSource(source);
        m_view->SetCurrentFrame(kFrame, 0);
    }

    void CreateDialog() {
        m_dialog.SetViewFinder([this]() -> CPlaybackView* { return m_view; });
        ASSERT_TRUE(m_dialog.Create(&m_host));
        m_dialog.ShowWindow(SW_SHOW);
    }

    // A control of the editor panel inside the dialog, by its id there.
    template <class T>
    T* EditorControl(int id) {
        for (T* widget : m_dialog.GetQWidget()->findChildren<T*>()) {
            if (widget->property("controlId").toInt() == id)
                return widget;
        }
        return nullptr;
    }

    int GreyAt(int x, int y) {
        const QImage image = m_view->GetStreamWnd()->GetQWidget()->grab().toImage();
        return qRed(image.pixel(x, y));
    }

    std::unique_ptr<CWinApp> m_app;
    CSettingsMainWnd m_main;
    CWnd m_host;
    std::unique_ptr<CMultiDocTemplate> m_template;
    CVidView* m_view = nullptr;
    CFrameWnd* m_frame = nullptr;
    CLutColorAdjustDlg m_dialog;
};

// Editor ids: brightness of the red channel, and the Reset button.
constexpr int kBrightnessRed = 1407;
constexpr int kReset = 1413;

TEST_F(LutColorAdjustDlgTest, BrightnessTypedInTheEditorShowsInTheNextPaintedFrame) {
    RegisterEditor();
    OpenVideo();
    CreateDialog();
    ASSERT_TRUE(m_dialog.GetLutControl().GetSafeHwnd());
    auto* brightness = EditorControl<QLineEdit>(kBrightnessRed);
    ASSERT_NE(brightness, nullptr);
    EXPECT_TRUE(brightness->isEnabled());

    const int x = 180;
    const int y = 120;
    const int level = CSampleRecording::Level(kFrame, x, y);
    ASSERT_LT(level, 160);
    const int before = GreyAt(x, y);
    EXPECT_LE(std::abs(before - level), 2);

    brightness->setText(QStringLiteral("60"));
    emit brightness->editingFinished();
    CLutParamSet colour;
    CLutParamSet bw;
    m_view->GetDisplayLuts(&colour, &bw);
    for (int channel = 0; channel < CLutParamSet::kChannels; ++channel)
        EXPECT_EQ(colour.Brightness(channel), 60) << channel;
    const int after = GreyAt(x, y);
    EXPECT_GT(after, before + 30) << before << " -> " << after;

    // Reset brings the frame back, and reloading shows the view's tables again.
    EditorControl<QPushButton>(kReset)->click();
    EXPECT_LE(std::abs(GreyAt(x, y) - before), 2);
    EXPECT_EQ(m_dialog.LoadFromView(), 1);
    EXPECT_EQ(brightness->text(), QStringLiteral("0"));
}

TEST_F(LutColorAdjustDlgTest, WithoutAVideoViewTheEditorIsLoadedButDisabled) {
    RegisterEditor();
    CreateDialog();
    ASSERT_TRUE(m_dialog.GetLutControl().GetSafeHwnd());
    EXPECT_EQ(m_dialog.LoadFromView(), 1);
    EXPECT_FALSE(EditorControl<QLineEdit>(kBrightnessRed)->isEnabled());
    m_dialog.OnParamsChanged();  // nothing to apply it to
}

TEST_F(LutColorAdjustDlgTest, AnUnregisteredEditorIsReportedInTheDialogAndNothingElseFails) {
    OpenVideo();
    CreateDialog();
    EXPECT_FALSE(m_dialog.GetLutControl().GetSafeHwnd());
    EXPECT_EQ(m_dialog.LoadFromView(), 0);
    CWnd* notice = m_dialog.GetDlgItem(CLutColorAdjustDlg::kMissingNoticeId);
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->IsWindowVisible());
    EXPECT_TRUE(notice->GetWindowText().contains(QStringLiteral("not registered")));
    m_dialog.OnParamsChanged();
    EXPECT_LE(std::abs(GreyAt(180, 120) - CSampleRecording::Level(kFrame, 180, 120)), 2);
}

TEST_F(LutColorAdjustDlgTest, ParameterSetsCrossTheDispatchDriversValueForValue) {
    RegisterEditor();
    auto create = [](const char* progId) {
        CLSID clsid;
        EXPECT_EQ(CLSIDFromProgID(QString::fromLatin1(progId), &clsid), S_OK);
        IDispatch* object = nullptr;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&object)),
                  S_OK);
        return object;
    };
    IQnCBasicLutParamsDriver params(create("Levora.QnCBasicLutParams"));
    CLutParamSet set;
    for (int c = 0; c < CLutParamSet::kChannels; ++c) {
        set.SetBrightness(c, 10 + c);
        set.SetContrast(c, -20 - c);
        set.SetExpLog(c, 30 + c);
        set.SetGamma(c, 1.5 + c);
        set.SetReverse(c, c % 2);
    }
    set.SetLabel(7);
    set.SetType1(4);
    set.SetColor2BW(1);
    set.SetRGBScale(1, 2, 3);
    ASSERT_EQ(CopyLutParamsToDispatch(set, params.GetDispatch()), S_OK);
    LONG red = 0, green = 0, blue = 0;
    EXPECT_EQ(params.BLPGetRGBScale(&red, &green, &blue), 0);
    EXPECT_EQ(red * 100 + green * 10 + blue, 123);

    CLutParamSet back;
    ASSERT_EQ(CopyLutParamsFromDispatch(params.GetDispatch(), &back), S_OK);
    EXPECT_TRUE(back == set);
    LONG label = 0;
    LONG type1 = 0;
    back.GetLabel(&label);
    back.GetType1(&type1);
    EXPECT_EQ(label, 7);
    EXPECT_EQ(type1, 4);
    EXPECT_EQ(CopyLutParamsToDispatch(set, nullptr), E_FAIL);
    EXPECT_EQ(CopyLutParamsFromDispatch(nullptr, &back), E_FAIL);

    // A failed call is raised, not answered: a state object has no type member.
    IQnCBasicLutParamsDriver wrong(create("Levora.QnCBasicLutModifyState"));
    try {
        wrong.BLPSetType1(1);
        ADD_FAILURE() << "no exception";
    } catch (const COleDispatchException& e) {
        EXPECT_EQ(e.Error(), DISP_E_MEMBERNOTFOUND);
    }
    EXPECT_TRUE(FAILED(CopyLutParamsToDispatch(set, wrong.GetDispatch())));
    CLevoraModify notCreated;
    EXPECT_THROW(notCreated.BLMCSetEnabled(1), COleDispatchException);
}

}  // namespace
