#include "platform/com/ComObject.h"
#include "platform/controls/ActiveAreaControl.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/ResourceChain.h"
#include "shell/CWSlide.h"
#include "shell/QnActiveArea.h"
#include "shell/QnSensA.h"
#include "testsupport/IsolatedTest.h"

#include <QWidget>

namespace {

constexpr UINT kTemplate = 9601;
constexpr int kSlideId = 1317;
constexpr int kAreaId = 2088;
constexpr int kSensorId = 2500;

CResourceModule Module() {
    CResourceModule module;
    module.name = QStringLiteral("hosted control tests");
    DialogTemplate d;
    d.id = kTemplate;
    d.caption = QStringLiteral("Host");
    d.cx = 200;
    d.cy = 150;
    d.items = {{DlgControl::Static, kSlideId, QStringLiteral("slide"), 5, 5, 190, 20},
               {DlgControl::Static, kAreaId, QString(), 5, 30, 100, 80},
               {DlgControl::Static, kSensorId, QString(), 110, 30, 85, 80}};
    module.dialogs.push_back(d);
    return module;
}

class CHostDlg : public CDialog {
public:
    CHostDlg() : CDialog(kTemplate) {}
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, kSlideId, m_slide);
        DDX_Control(pDX, kAreaId, m_area);
        DDX_Control(pDX, kSensorId, m_sensor);
    }
    CCWSlide m_slide;
    CQnActiveArea m_area;
    CQnSensA m_sensor;
};

// Records the events a control fires.
class CEventLog : public CComObject<IDispatch> {
public:
    HRESULT Invoke(DISPID member, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        QStringList args;
        for (UINT i = params ? params->cArgs : 0; i > 0; --i)
            args << QString::number(params->rgvarg[i - 1].lVal);
        log << QStringLiteral("%1(%2)").arg(member).arg(args.join(','));
        return S_OK;
    }
    QStringList log;
};

class OutsideControlsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&m_module);
    }
    void TearDown() override {
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }
    CResourceModule m_module = Module();
};

}  // namespace

TEST_F(OutsideControlsTest, SlideWrapperTakesItsPlaceAndDrivesAxisAndPointers) {
    CHostDlg dialog;
    ASSERT_TRUE(dialog.Create(kTemplate));
    ASSERT_FALSE(dialog.m_slide.IsEmpty());
    EXPECT_EQ(dialog.GetDlgItem(kSlideId), &dialog.m_slide);
    ASSERT_TRUE(SUCCEEDED(dialog.m_slide.SetRange(10, 90)));
    double low = 0, high = 0;
    ASSERT_TRUE(SUCCEEDED(dialog.m_slide.GetRange(&low, &high)));
    EXPECT_EQ(low, 10);
    EXPECT_EQ(high, 90);
    ASSERT_TRUE(SUCCEEDED(dialog.m_slide.SetStep(5)));
    ASSERT_TRUE(SUCCEEDED(dialog.m_slide.SetPointerValue(1, 42)));
    double value = 0;
    ASSERT_TRUE(SUCCEEDED(dialog.m_slide.GetPointerValue(1, &value)));
    EXPECT_EQ(value, 40);  // snapped to the step
    ASSERT_TRUE(SUCCEEDED(dialog.m_slide.SetPointerValue(2, 500)));
    ASSERT_TRUE(SUCCEEDED(dialog.m_slide.GetPointerValue(2, &value)));
    EXPECT_EQ(value, 90);
    // Hiding and disabling the wrapper's window act on the control inside it.
    dialog.m_slide.EnableWindow(FALSE);
    QWidget* inner = dialog.m_slide.GetQWidget()->findChild<QWidget*>();
    ASSERT_NE(inner, nullptr);
    EXPECT_FALSE(inner->isEnabled());
    dialog.DestroyWindow();
}

TEST_F(OutsideControlsTest, ActiveAreaAndSensorWrappersPassTheirCallsOn) {
    CHostDlg dialog;
    ASSERT_TRUE(dialog.Create(kTemplate));
    CQnActiveArea& area = dialog.m_area;
    ASSERT_FALSE(area.IsEmpty());
    for (DISPID id : {2, 3, 4, 5})
        EXPECT_TRUE(SUCCEEDED(area.SetProperty(id, id * 10)));
    EXPECT_TRUE(SUCCEEDED(area.SetProperty6(TRUE)));
    EXPECT_TRUE(SUCCEEDED(area.SetProperty16(7)));
    EXPECT_EQ(area.SetProperty(6, 1), E_INVALIDARG);
    EXPECT_EQ(area.SetFlag(5, TRUE), E_INVALIDARG);
    EXPECT_TRUE(SUCCEEDED(area.Method17()));
    auto* control = static_cast<CActiveAreaControl*>(area.GetControl());
    EXPECT_EQ(control->AppliedArea(), QRect(20, 30, 40, 50));
    EXPECT_EQ(control->Property(6), 1);
    EXPECT_EQ(control->Property(16), 7);

    // A 3 x 2 grey picture: rows padded to 4 bytes, bottom row first.
    CSafeArrayVariant bytes;
    ASSERT_TRUE(SUCCEEDED(bytes.CreateOneDim(QByteArray("\x01\x02\x03\x00\x04\x05\x06\x00", 8))));
    EXPECT_EQ(bytes.GetElementCount(), 8u);
    LONG answer = -5;
    ASSERT_TRUE(SUCCEEDED(area.Method18(0, 0, 3, 2, 8, bytes, &answer)));
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(control->Image().size(), QSize(3, 2));
    EXPECT_EQ(qGray(control->Image().pixel(0, 0)), 4);
    EXPECT_EQ(qGray(control->Image().pixel(2, 1)), 3);
    // Too few bytes for the size, or a depth the control does not know.
    ASSERT_TRUE(SUCCEEDED(area.Method18(0, 0, 5, 2, 8, bytes, &answer)));
    EXPECT_EQ(answer, -1);
    ASSERT_TRUE(SUCCEEDED(area.Method18(0, 0, 1, 1, 16, bytes, &answer)));
    EXPECT_EQ(answer, -1);
    EXPECT_EQ(control->Image().size(), QSize(3, 2));

    auto* log = new CEventLog;
    CComPtr<CEventLog> keep(log);
    DWORD cookie = 0;
    ASSERT_TRUE(SUCCEEDED(area.AdviseEvents(log, &cookie)));
    control->UserMovedArea(QRect(1, 2, 40, 50));
    control->UserClicked(QPoint(8, 9));
    EXPECT_EQ(log->log, (QStringList{"1(1,2,40,50)", "2(8,9)"}));

    CQnSensA& sensor = dialog.m_sensor;
    ASSERT_TRUE(SUCCEEDED(sensor.Method1(CComVariant(LONG(3)), &answer)));
    EXPECT_EQ(answer, 0);
    const double values[] = {1.5, -2, 8, 99};
    CSafeArrayVariant block;
    ASSERT_TRUE(SUCCEEDED(block.CreateOneDim(VT_R8, 4, values)));
    ASSERT_TRUE(SUCCEEDED(sensor.Method9(block, &answer)));
    EXPECT_EQ(answer, 3);
    ASSERT_TRUE(SUCCEEDED(sensor.Method1(CComVariant(LONG(-1)), &answer)));
    EXPECT_EQ(answer, -1);
    ASSERT_TRUE(SUCCEEDED(sensor.Method9(CComVariant(LONG(1)), &answer)));
    EXPECT_EQ(answer, -1);
    dialog.DestroyWindow();
}

TEST_F(OutsideControlsTest, WrapperWithoutAControlAnswersFailure) {
    // A class nobody registered: the wrapper stays empty and nothing throws.
    class CMissing : public CQnSensA {
    public:
        CLSID GetClsid() const override {
            return GuidLiteral("{00000000-1111-2222-3333-444444444444}");
        }
    };
    CWnd host;
    ASSERT_TRUE(host.Create(nullptr, "host", 0, CRect(0, 0, 100, 100), nullptr, 0));
    CMissing missing;
    ASSERT_TRUE(missing.CreateControl(&host, 77, CRect(0, 0, 50, 50)));
    EXPECT_TRUE(missing.IsEmpty());
    LONG answer = 12;
    EXPECT_EQ(missing.Method1(CComVariant(LONG(1)), &answer), E_FAIL);
    EXPECT_EQ(answer, 12);
    DWORD cookie = 0;
    EXPECT_EQ(missing.AdviseEvents(nullptr, &cookie), E_FAIL);

    // Wrappers that never got a window are empty too.
    CCWSlide slide;
    double value = 0;
    EXPECT_EQ(slide.GetPointerValue(1, &value), E_FAIL);
    EXPECT_EQ(slide.SetRange(0, 1), E_FAIL);
    CQnActiveArea area;
    EXPECT_EQ(area.Method17(), E_FAIL);
    EXPECT_EQ(area.SetProperty2(1), E_FAIL);
    host.DestroyWindow();

    // Each wrapper is creatable by its run-time class.
    for (const CRuntimeClass* kind :
         {RUNTIME_CLASS(CCWSlide), RUNTIME_CLASS(CQnActiveArea), RUNTIME_CLASS(CQnSensA)}) {
        CObject* made = kind->CreateObject();
        ASSERT_NE(made, nullptr) << kind->m_lpszClassName;
        EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(COutsideControlWnd)));
        delete made;
    }
}
