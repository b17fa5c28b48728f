#include "lutcontrol/LevoraIds.h"
#include "lutcontrol/LevoraModifyCtrl.h"
#include "lutcontrol/LevoraSkeletonCtrl.h"
#include "lutcontrol/LutEditDialog.h"
#include "lutcontrol/QnCBasicLutModifyState.h"
#include "lutcontrol/QnCBasicLutParams.h"

#include "platform/com/ComModule.h"
#include "platform/com/ComPtr.h"
#include "platform/com/DispatchCall.h"
#include "testsupport/IsolatedTest.h"

#include <QLineEdit>
#include <QPushButton>

using namespace levora;

namespace {

class CCountingSink : public CComObject<IDispatch> {
public:
    HRESULT Invoke(DISPID member, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        if (member == kEventParamsChanged)
            ++changes;
        return S_OK;
    }
    int changes = 0;
};

// A parameter object whose channel count cannot be read.
class CBrokenParams : public CComObject<IDispatch> {
public:
    HRESULT Invoke(DISPID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

class LevoraModifyCtrlTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_EQ(CreateLevoraModifyCtrl(IID_IDispatch, m_control.ReceiveVoid()), S_OK);
        CComPtr<IHostedControl> hosted;
        ASSERT_EQ(m_control->QueryInterface(IID_IHostedControl, hosted.ReceiveVoid()), S_OK);
        m_host = std::make_unique<QWidget>();
        QWidget* widget = nullptr;
        ASSERT_EQ(hosted->CreateControlWidget(m_host.get(), 1014, &widget), S_OK);
        EXPECT_EQ(widget->property("controlId").toInt(), 1014);
        m_sink.Attach(new CCountingSink);
        m_sink->AddRef();
        ASSERT_EQ(hosted->AdviseEvents(m_sink.Get(), &m_cookie), S_OK);
        m_dialog = static_cast<CLevoraModifyCtrl*>(m_control.Get())->Dialog();
    }
    void TearDown() override {
        m_control.Release();
        m_host.reset();
        m_sink.Release();
        IsolatedTest::TearDown();
    }
    int Changes() const { return static_cast<CCountingSink*>(m_sink.Get())->changes; }
    LONG Call(DISPID member, const std::vector<CComVariant>& args) {
        CComVariant result;
        EXPECT_EQ(DispatchInvoke(m_control.Get(), member, DISPATCH_METHOD, args, &result), S_OK);
        return result.lVal;
    }
    struct Objects {
        CComPtr<IDispatch> colour, bw, state;
    };
    Objects Get() {
        IDispatch* out[3] = {};
        EXPECT_EQ(Call(kDispGetParamsLutsAndState,
                       {CComVariant::ByRef(&out[0]), CComVariant::ByRef(&out[1]),
                        CComVariant::ByRef(&out[2])}),
                  0);
        Objects objects;
        objects.colour.Attach(out[0]);
        objects.bw.Attach(out[1]);
        objects.state.Attach(out[2]);
        return objects;
    }
    static CLutParamSet& SetOf(const CComPtr<IDispatch>& object) {
        return static_cast<CQnCBasicLutParams*>(object.Get())->Set();
    }

    CComPtr<IDispatch> m_control;
    CComPtr<IDispatch> m_sink;
    std::unique_ptr<QWidget> m_host;
    CLutEditDialog* m_dialog = nullptr;
    DWORD m_cookie = 0;
};

TEST_F(LevoraModifyCtrlTest, HandsOutIndependentCopiesThatTheCallerOwns) {
    auto* edit = static_cast<QLineEdit*>(m_dialog->Control(CLutEditDialog::kContrastRed));
    edit->setText(QStringLiteral("40"));  // not yet left: dispid 4 reads the controls anyway
    Objects objects = Get();
    ASSERT_TRUE(objects.colour && objects.bw && objects.state);
    EXPECT_EQ(SetOf(objects.colour).Contrast(0), 40);
    EXPECT_EQ(static_cast<CQnCBasicLutModifyState*>(objects.state.Get())->State().stateColor, 1);

    // Changing a copy changes nothing until it is given back.
    SetOf(objects.colour).SetBrightness(1, -50);
    EXPECT_EQ(SetOf(Get().colour).Brightness(1), 0);
    EXPECT_EQ(Call(kDispSetParamsLutsAndState,
                   {CComVariant(objects.colour.Get()), CComVariant(objects.bw.Get()),
                    CComVariant(objects.state.Get())}),
              0);
    EXPECT_EQ(SetOf(Get().colour).Brightness(1), -50);
    EXPECT_EQ(Changes(), 0) << "dispid 5 fires no event";

    // Each handed-out object carries exactly the caller's reference.
    IDispatch* colour = objects.colour.Detach();
    EXPECT_EQ(colour->Release(), 0u);
}

TEST_F(LevoraModifyCtrlTest, MissingPointersAndUnreadableObjects) {
    // A slot that still holds an object of the caller's is emptied, the object released.
    IDispatch* a = Get().colour.Detach();
    IDispatch* b = nullptr;
    const LONG before = ComModuleLockCount();
    EXPECT_EQ(
        Call(kDispGetParamsLutsAndState, {CComVariant::ByRef(&a), CComVariant::ByRef(&b),
                                          CComVariant::ByRef(static_cast<IDispatch**>(nullptr))}),
        E_POINTER);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
    EXPECT_EQ(ComModuleLockCount(), before - 1) << "nothing was created, the old one released";

    Objects good = Get();
    EXPECT_EQ(Call(kDispSetParamsLutsAndState,
                   {CComVariant(good.colour.Get()), CComVariant(static_cast<IDispatch*>(nullptr)),
                    CComVariant(good.state.Get())}),
              E_POINTER);

    SetOf(good.colour).SetContrast(2, 9);
    SetOf(good.bw).SetContrast(0, 9);
    CComPtr<IDispatch> broken;
    broken.Attach(new CBrokenParams);
    broken->AddRef();
    EXPECT_EQ(
        Call(kDispSetParamsLutsAndState, {CComVariant(broken.Get()), CComVariant(good.bw.Get()),
                                          CComVariant(good.state.Get())}),
        0);
    Objects after = Get();
    EXPECT_EQ(SetOf(after.colour).Contrast(2), 0) << "left at the defaults";
    EXPECT_EQ(SetOf(after.bw).Contrast(0), 9);
}

TEST_F(LevoraModifyCtrlTest, FiresAfterUserChangesResetAndLoad) {
    auto* edit = static_cast<QLineEdit*>(m_dialog->Control(CLutEditDialog::kBrightnessRed));
    edit->setText(QStringLiteral("12"));
    emit edit->editingFinished();
    EXPECT_EQ(Changes(), 1);
    static_cast<QPushButton*>(m_dialog->Control(CLutEditDialog::kReset))->click();
    EXPECT_EQ(Changes(), 2);
    LutSettings file;
    ASSERT_TRUE(lut_settings::Write(WorkPath("a.lut"), file));
    ASSERT_TRUE(m_dialog->LoadFromFile(WorkPath("a.lut")));
    EXPECT_EQ(Changes(), 3);

    // Unadvised sinks hear nothing.
    CComPtr<IHostedControl> hosted;
    ASSERT_EQ(m_control->QueryInterface(IID_IHostedControl, hosted.ReceiveVoid()), S_OK);
    ASSERT_EQ(hosted->UnadviseEvents(m_cookie), S_OK);
    static_cast<QPushButton*>(m_dialog->Control(CLutEditDialog::kReset))->click();
    EXPECT_EQ(Changes(), 3);
}

TEST_F(LevoraModifyCtrlTest, PropertiesEnabledFlagAndInertMethods) {
    CComVariant value;
    ASSERT_EQ(DispatchGet(m_control.Get(), kDispParams, &value), S_OK);
    EXPECT_EQ(value.vt, VT_DISPATCH);
    EXPECT_EQ(value.pdispVal, nullptr);
    auto* control = static_cast<CLevoraModifyCtrl*>(m_control.Get());
    EXPECT_FALSE(control->IsModified());
    Objects objects = Get();
    ASSERT_EQ(DispatchPut(m_control.Get(), kDispParams, CComVariant(objects.colour.Get())), S_OK);
    EXPECT_TRUE(control->IsModified());

    LONG enabled = -1;
    EXPECT_EQ(Call(kDispGetEnabled, {CComVariant::ByRef(&enabled)}), 0);
    EXPECT_EQ(enabled, 1);
    EXPECT_EQ(Call(kDispSetEnabled, {CComVariant(LONG{0})}), 0);
    EXPECT_EQ(Call(kDispGetEnabled, {CComVariant::ByRef(&enabled)}), 0);
    EXPECT_EQ(enabled, 0);
    EXPECT_FALSE(m_dialog->Control(CLutEditDialog::kReset)->isEnabled());
    EXPECT_EQ(Call(kDispGetEnabled, {CComVariant::ByRef(static_cast<LONG*>(nullptr))}), E_POINTER);

    EXPECT_EQ(Call(kDispSaveToFile, {CComVariant(WorkPath("never.lut"))}), 0);
    EXPECT_FALSE(QFile::exists(WorkPath("never.lut")));
    EXPECT_EQ(Call(kDispSetBasePathAndFileName, {CComVariant(WorkPath("rec.avi"))}), 0);
    Prompter().AnswerFileDialog({});
    static_cast<QPushButton*>(m_dialog->Control(CLutEditDialog::kSave))->click();
    ASSERT_EQ(Prompter().FilePrompts().size(), 0u) << "Save is disabled with the editor";
    Call(kDispSetEnabled, {CComVariant(LONG{1})});
    static_cast<QPushButton*>(m_dialog->Control(CLutEditDialog::kSave))->click();
    ASSERT_EQ(Prompter().FilePrompts().size(), 1u);
    EXPECT_EQ(Prompter().FilePrompts()[0].fileName, WorkPath("rec.lut"));
}

TEST_F(LevoraModifyCtrlTest, AboutBoxesNameTheirControls) {
    Prompter().ExpectMessageBox("LevoraModify Control\nVersion 1.0", IDOK);
    CComVariant result;
    EXPECT_EQ(DispatchInvoke(m_control.Get(), kDispAboutBox, DISPATCH_METHOD, {}, &result), S_OK);
    for (auto create : {&CreateLevora2Ctrl, &CreateLevora3Ctrl}) {
        CComPtr<IDispatch> skeleton;
        ASSERT_EQ(create(IID_IDispatch, skeleton.ReceiveVoid()), S_OK);
        Prompter().ExpectMessageBox(create == &CreateLevora2Ctrl ? "Levora2 Control\nVersion 1.0"
                                                                 : "Levora3 Control\nVersion 1.0",
                                    IDOK);
        EXPECT_EQ(DispatchInvoke(skeleton.Get(), kDispAboutBox, DISPATCH_METHOD, {}, &result),
                  S_OK);
        EXPECT_EQ(DispatchInvoke(skeleton.Get(), 1, DISPATCH_METHOD, {}, &result),
                  DISP_E_MEMBERNOTFOUND);
    }
}

}  // namespace

namespace {

// A control whose object number failAt cannot be made; with madeThenFailed the object is made
// and the failure reported after it.
class CFailingModifyCtrl : public CLevoraModifyCtrl {
public:
    int failAt = -1;
    bool madeThenFailed = false;

protected:
    HRESULT MakeObject(Handed which, IDispatch** object) override {
        if (static_cast<int>(which) != failAt)
            return CLevoraModifyCtrl::MakeObject(which, object);
        if (!madeThenFailed)
            return E_OUTOFMEMORY;
        CLevoraModifyCtrl::MakeObject(which, object);
        return E_FAIL;
    }
};

}  // namespace

TEST(LevoraModifyCtrlFailureTest, GetParamsReleasesWhatItMadeWhenOneObjectCannotBeMade) {
    struct Case {
        int failAt;
        bool madeThenFailed;
        HRESULT expected;
    } cases[] = {
        {0, false, E_OUTOFMEMORY}, {1, false, E_OUTOFMEMORY}, {2, false, E_OUTOFMEMORY},
        {1, true, E_FAIL},         {2, true, E_FAIL},
    };
    for (const Case& c : cases) {
        CComPtr<IDispatch> control;
        ASSERT_EQ(CreateComObject<CFailingModifyCtrl>(IID_IDispatch, control.ReceiveVoid()), S_OK);
        auto* failing = static_cast<CFailingModifyCtrl*>(control.Get());
        // The caller's slots hold objects from an earlier call.
        IDispatch* out[3] = {};
        auto call = [&] {
            CComVariant result;
            EXPECT_EQ(DispatchInvoke(control.Get(), kDispGetParamsLutsAndState, DISPATCH_METHOD,
                                     {CComVariant::ByRef(&out[0]), CComVariant::ByRef(&out[1]),
                                      CComVariant::ByRef(&out[2])},
                                     &result),
                      S_OK);
            return result.lVal;
        };
        const LONG empty = ComModuleLockCount();
        ASSERT_EQ(call(), 0);
        ASSERT_TRUE(out[0] && out[1] && out[2]);
        EXPECT_EQ(ComModuleLockCount(), empty + 3);

        failing->failAt = c.failAt;
        failing->madeThenFailed = c.madeThenFailed;
        EXPECT_EQ(call(), c.expected) << c.failAt;
        EXPECT_EQ(out[0], nullptr) << c.failAt;
        EXPECT_EQ(out[1], nullptr) << c.failAt;
        EXPECT_EQ(out[2], nullptr) << c.failAt;
        EXPECT_EQ(ComModuleLockCount(), empty)
            << "the caller's old objects and the ones made are gone, failing at " << c.failAt;
    }
}
