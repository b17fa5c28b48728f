#include "platform/controls/SlideControl.h"
#include "platform/controls/SlideWidget.h"

#include "platform/com/ComPtr.h"
#include "platform/com/DispatchCall.h"
#include "testsupport/IsolatedTest.h"

#include <QTest>
#include <QWidget>

#include <vector>

namespace {

// One event as a sink saw it: its id and its arguments read as numbers.
struct Fired {
    DISPID id;
    std::vector<double> args;
    bool operator==(const Fired&) const = default;
};

void PrintTo(const Fired& f, std::ostream* os) {
    *os << "{" << f.id << ":";
    for (double a : f.args)
        *os << " " << a;
    *os << "}";
}

class CRecordingSink : public CComObject<IDispatch> {
public:
    HRESULT Invoke(DISPID member, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        Fired fired{member, {}};
        // Arguments arrive last first.
        for (UINT i = params->cArgs; i-- > 0;)
            fired.args.push_back(CComVariant(params->rgvarg[i]).ToDouble(-999));
        events.push_back(fired);
        return S_OK;
    }
    std::vector<Fired> events;
};

constexpr int kMargin = CSlideWidget::kTrackMargin;

class SlideControlTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_EQ(CreateSlideControl(IID_IDispatch, m_slide.ReceiveVoid()), S_OK);
        CComVariant axis;
        ASSERT_EQ(DispatchGet(m_slide.Get(), CSlideControl::kDispAxis, &axis), S_OK);
        ASSERT_EQ(axis.vt, VT_DISPATCH);
        m_axis = axis.pdispVal;
        CComVariant pointers;
        ASSERT_EQ(DispatchGet(m_slide.Get(), CSlideControl::kDispPointers, &pointers), S_OK);
        ASSERT_EQ(pointers.vt, VT_DISPATCH);
        m_pointers = pointers.pdispVal;
    }

    // The pointer of a 1-based index through the collection's item member.
    CComPtr<IDispatch> Pointer(LONG index, DISPID item = DISPID_VALUE) {
        CComVariant pointer;
        EXPECT_EQ(
            DispatchInvoke(m_pointers.Get(), item, DISPATCH_METHOD, {CComVariant(index)}, &pointer),
            S_OK);
        return pointer.vt == VT_DISPATCH ? CComPtr<IDispatch>(pointer.pdispVal) : nullptr;
    }
    void SetRange(double minimum, double maximum) {
        ASSERT_EQ(DispatchPut(m_axis.Get(), CSlideControl::kDispAxisMinimum, CComVariant(minimum)),
                  S_OK);
        ASSERT_EQ(DispatchPut(m_axis.Get(), CSlideControl::kDispAxisMaximum, CComVariant(maximum)),
                  S_OK);
    }
    void SetValue(LONG index, LONG value) {
        ASSERT_EQ(
            DispatchPut(Pointer(index).Get(), CSlideControl::kDispPointerValue, CComVariant(value)),
            S_OK);
    }
    double Value(LONG index) {
        CComVariant value;
        EXPECT_EQ(DispatchGet(Pointer(index).Get(), CSlideControl::kDispPointerValue, &value),
                  S_OK);
        EXPECT_EQ(value.vt, VT_R8);
        return value.dblVal;
    }
    double AxisGet(DISPID id) {
        CComVariant value;
        EXPECT_EQ(DispatchGet(m_axis.Get(), id, &value), S_OK);
        return value.ToDouble(-999);
    }

    // Shows the control's widget offscreen with a track of exactly 100 pixels, range 0..100,
    // so that x = kMargin + value, and advises a recording sink.
    void ShowWidget() {
        m_host = std::make_unique<QWidget>();
        m_host->resize(200, 60);
        CComPtr<IHostedControl> hosted;
        ASSERT_EQ(m_slide.QueryInterface(&hosted), S_OK);
        QWidget* widget = nullptr;
        ASSERT_EQ(hosted->CreateControlWidget(m_host.get(), 1317, &widget), S_OK);
        m_widget = static_cast<CSlideWidget*>(widget);
        m_widget->setGeometry(0, 0, 2 * kMargin + 101, 30);
        m_host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_host.get()));
        m_sink.Attach(new CRecordingSink);
        m_sink->AddRef();
        ASSERT_EQ(hosted->AdviseEvents(m_sink.Get(), &m_cookie), S_OK);
        SetRange(0, 100);
    }
    QPoint At(int value) const { return {kMargin + value, 15}; }

    CComPtr<IDispatch> m_slide;
    CComPtr<IDispatch> m_axis;
    CComPtr<IDispatch> m_pointers;
    std::unique_ptr<QWidget> m_host;
    CSlideWidget* m_widget = nullptr;
    CComPtr<CRecordingSink> m_sink;
    DWORD m_cookie = 0;
};

TEST_F(SlideControlTest, PointersAndRangeReadBackByDispatchId) {
    SetRange(1, 1000);
    EXPECT_EQ(AxisGet(CSlideControl::kDispAxisMinimum), 1.0);
    EXPECT_EQ(AxisGet(CSlideControl::kDispAxisMaximum), 1000.0);
    SetValue(1, 500);
    SetValue(2, 100);
    SetValue(3, 900);
    EXPECT_EQ(Value(1), 500.0);
    EXPECT_EQ(Value(2), 100.0);
    EXPECT_EQ(Value(3), 900.0);
    // The collection's item answers as member 1 as well, on the same pointers.
    CComVariant viaItem;
    ASSERT_EQ(DispatchGet(Pointer(3, CSlideControl::kDispItem).Get(),
                          CSlideControl::kDispPointerValue, &viaItem),
              S_OK);
    EXPECT_EQ(viaItem.dblVal, 900.0);
    // The index may come as text, as a variant does.
    CComVariant byText;
    EXPECT_EQ(DispatchInvoke(m_pointers.Get(), DISPID_VALUE, DISPATCH_METHOD,
                             {CComVariant(QStringLiteral("2"))}, &byText),
              S_OK);
    EXPECT_EQ(byText.vt, VT_DISPATCH);
}

TEST_F(SlideControlTest, ValuesKeptInsideRangeAndOnSteps) {
    struct Case {
        double minimum, maximum, step, put, expected;
    };
    const Case cases[] = {
        {0, 100, 0, 42.5, 42.5}, {0, 100, 0, -5, 0},     {0, 100, 0, 250, 100},
        {1, 1000, 1, 17.4, 17},  {1, 1000, 1, 17.6, 18}, {0, 100, 10, 44, 40},
        {0, 100, 10, 46, 50},    {0, 95, 10, 99, 90},    {100, 0, 0, 150, 100},
        {100, 0, 0, -1, 0},      {5, 5, 0, 9, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.minimum << ".." << c.maximum << " step " << c.step << " put " << c.put);
        ASSERT_EQ(DispatchPut(m_axis.Get(), CSlideControl::kDispAxisStep, CComVariant(0.0)), S_OK);
        SetRange(c.minimum, c.maximum);
        ASSERT_EQ(DispatchPut(m_axis.Get(), CSlideControl::kDispAxisStep, CComVariant(c.step)),
                  S_OK);
        ASSERT_EQ(
            DispatchPut(Pointer(1).Get(), CSlideControl::kDispPointerValue, CComVariant(c.put)),
            S_OK);
        EXPECT_EQ(Value(1), c.expected);
    }
}

TEST_F(SlideControlTest, NarrowingTheRangeMovesPointersIn) {
    SetRange(0, 1000);
    SetValue(1, 800);
    SetValue(2, 10);
    SetRange(50, 500);
    EXPECT_EQ(Value(1), 500.0);
    EXPECT_EQ(Value(2), 50.0);
}

TEST_F(SlideControlTest, BadCallsAreRefused) {
    struct Case {
        const char* what;
        IDispatch* object;
        DISPID member;
        WORD flags;
        std::vector<CComVariant> args;
        HRESULT expected;
    };
    const Case cases[] = {
        {"pointer 0",
         m_pointers.Get(),
         DISPID_VALUE,
         DISPATCH_METHOD,
         {CComVariant(LONG(0))},
         DISP_E_BADINDEX},
        {"pointer 4",
         m_pointers.Get(),
         DISPID_VALUE,
         DISPATCH_METHOD,
         {CComVariant(LONG(4))},
         DISP_E_BADINDEX},
        {"no index", m_pointers.Get(), DISPID_VALUE, DISPATCH_METHOD, {}, DISP_E_BADPARAMCOUNT},
        {"text index",
         m_pointers.Get(),
         DISPID_VALUE,
         DISPATCH_METHOD,
         {CComVariant(QStringLiteral("first"))},
         DISP_E_TYPEMISMATCH},
        {"unknown control member",
         m_slide.Get(),
         259,
         DISPATCH_PROPERTYGET,
         {},
         DISP_E_MEMBERNOTFOUND},
        {"axis put on control",
         m_slide.Get(),
         CSlideControl::kDispAxis,
         DISPATCH_PROPERTYPUT,
         {CComVariant(LONG(1))},
         DISP_E_MEMBERNOTFOUND},
        {"unknown axis member", m_axis.Get(), 4, DISPATCH_PROPERTYGET, {}, DISP_E_MEMBERNOTFOUND},
        {"axis text",
         m_axis.Get(),
         CSlideControl::kDispAxisMaximum,
         DISPATCH_PROPERTYPUT,
         {CComVariant(QStringLiteral("many"))},
         DISP_E_TYPEMISMATCH},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CComVariant result;
        EXPECT_EQ(DispatchInvoke(c.object, c.member, c.flags, c.args, &result), c.expected);
    }
    // A refused value changes nothing.
    SetRange(0, 100);
    EXPECT_EQ(AxisGet(CSlideControl::kDispAxisMaximum), 100.0);
    EXPECT_EQ(
        DispatchPut(Pointer(1).Get(), CSlideControl::kDispPointerValue, CComVariant(std::nan(""))),
        E_INVALIDARG);
    EXPECT_EQ(Value(1), 0.0);
}

TEST_F(SlideControlTest, DragFiresChangingEventsThenTheFinalValue) {
    ShowWidget();
    SetValue(1, 10);
    SetValue(2, 20);
    SetValue(3, 90);
    QTest::mousePress(m_widget, Qt::LeftButton, Qt::NoModifier, At(88));
    EXPECT_EQ(m_widget->DraggedPointer(), 3);
    QTest::mouseMove(m_widget, At(60));
    QTest::mouseMove(m_widget, At(60));
    QTest::mouseMove(m_widget, At(50));
    QTest::mouseRelease(m_widget, Qt::LeftButton, Qt::NoModifier, At(50));
    const std::vector<Fired> expected = {
        {CSlideControl::kEventMouseDown, {1, 0, kMargin + 88, 15}},
        {CSlideControl::kEventValueChanging, {3, 88}},
        {CSlideControl::kEventValueChanging, {3, 60}},
        {CSlideControl::kEventValueChanging, {3, 50}},
        {CSlideControl::kEventValueChanged, {3, 50}},
        {CSlideControl::kEventMouseUp, {1, 0, kMargin + 50, 15}},
        {CSlideControl::kEventClick, {}},
    };
    EXPECT_EQ(m_sink->events, expected);
    EXPECT_EQ(Value(3), 50.0);
    EXPECT_EQ(Value(1), 10.0);
    EXPECT_EQ(m_widget->DraggedPointer(), 0);
}

TEST_F(SlideControlTest, DragSnapsToTheStepAndStaysInRange) {
    ShowWidget();
    ASSERT_EQ(DispatchPut(m_axis.Get(), CSlideControl::kDispAxisStep, CComVariant(LONG(10))), S_OK);
    SetValue(1, 30);
    SetValue(2, 0);
    SetValue(3, 100);
    QTest::mousePress(m_widget, Qt::LeftButton, Qt::ShiftModifier, At(32));
    QTest::mouseMove(m_widget, At(44));
    QTest::mouseMove(m_widget, At(46));
    QTest::mouseMove(m_widget, {m_widget->width() + 40, 15});
    QTest::mouseRelease(m_widget, Qt::LeftButton, Qt::ShiftModifier, {m_widget->width() + 40, 15});
    const std::vector<Fired> expected = {
        {CSlideControl::kEventMouseDown, {1, 1, kMargin + 32, 15}},
        {CSlideControl::kEventValueChanging, {1, 40}},
        {CSlideControl::kEventValueChanging, {1, 50}},
        {CSlideControl::kEventValueChanging, {1, 100}},
        {CSlideControl::kEventValueChanged, {1, 100}},
        {CSlideControl::kEventMouseUp, {1, 1, static_cast<double>(m_widget->width() + 40), 15}},
        {CSlideControl::kEventClick, {}},
    };
    EXPECT_EQ(m_sink->events, expected);
}

TEST_F(SlideControlTest, DoubleClickAndOtherButtons) {
    ShowWidget();
    SetValue(1, 40);
    QTest::mouseDClick(m_widget, Qt::LeftButton, Qt::NoModifier, At(40));
    std::vector<DISPID> ids;
    for (const Fired& f : m_sink->events)
        ids.push_back(f.id);
    EXPECT_NE(std::find(ids.begin(), ids.end(), CSlideControl::kEventDblClick), ids.end());
    EXPECT_EQ(Value(1), 40.0);
    EXPECT_EQ(m_widget->DraggedPointer(), 0);

    m_sink->events.clear();
    QTest::mouseClick(m_widget, Qt::RightButton, Qt::ControlModifier, At(70));
    const std::vector<Fired> expected = {
        {CSlideControl::kEventMouseDown, {2, 2, kMargin + 70, 15}},
        {CSlideControl::kEventMouseUp, {2, 2, kMargin + 70, 15}},
    };
    EXPECT_EQ(m_sink->events, expected);
    EXPECT_EQ(Value(1), 40.0);
}

TEST_F(SlideControlTest, UnadvisedSinkAndReleasedControlHearNothing) {
    ShowWidget();
    CComPtr<IHostedControl> hosted;
    ASSERT_EQ(m_slide.QueryInterface(&hosted), S_OK);
    ASSERT_EQ(hosted->UnadviseEvents(m_cookie), S_OK);
    EXPECT_EQ(hosted->UnadviseEvents(m_cookie), CONNECT_E_NOCONNECTION);
    QTest::mouseClick(m_widget, Qt::LeftButton, Qt::NoModifier, At(30));
    EXPECT_TRUE(m_sink->events.empty());
    EXPECT_EQ(Value(1), 30.0);

    // The dialog may let the control go before its window: the window then does nothing.
    hosted.Release();
    m_axis.Release();
    m_pointers.Release();
    m_slide.Release();
    QTest::mouseClick(m_widget, Qt::LeftButton, Qt::NoModifier, At(60));
    m_widget->repaint();
    EXPECT_EQ(m_widget->PositionOf(60), kMargin);
}

TEST_F(SlideControlTest, WidgetIsMadeOnce) {
    ShowWidget();
    CComPtr<IHostedControl> hosted;
    ASSERT_EQ(m_slide.QueryInterface(&hosted), S_OK);
    QWidget* second = nullptr;
    EXPECT_EQ(hosted->CreateControlWidget(m_host.get(), 1317, &second), E_UNEXPECTED);
    EXPECT_EQ(hosted->CreateControlWidget(nullptr, 1317, &second), E_POINTER);
    EXPECT_EQ(m_widget->property("controlId").toInt(), 1317);
}

}  // namespace

TEST_F(SlideControlTest, TrackShowsTheStretchBetweenInAndOutPoints) {
    ShowWidget();
    SetValue(1, 50);
    SetValue(2, 20);
    SetValue(3, 70);
    const QColor marked = m_widget->palette().color(QPalette::Highlight);
    const auto colourAt = [&](int value) {
        return m_widget->grab().toImage().pixelColor(kMargin + value, m_widget->height() / 2);
    };
    EXPECT_EQ(m_widget->MarkedSpan().left(), kMargin + 20);
    EXPECT_EQ(m_widget->MarkedSpan().right(), kMargin + 70);
    for (int value : {25, 45, 65})
        EXPECT_EQ(colourAt(value), marked) << value;
    for (int value : {10, 80})
        EXPECT_NE(colourAt(value), marked) << value;
    // The span follows the points, whichever comes first.
    SetValue(2, 90);
    EXPECT_EQ(m_widget->MarkedSpan().left(), kMargin + 70);
    EXPECT_EQ(colourAt(80), marked);
    EXPECT_NE(colourAt(40), marked);
}
