#include "platform/framework/MessageMap.h"
#include "platform/framework/PaintDC.h"
#include "platform/framework/Wnd.h"
#include "testsupport/IsolatedTest.h"
#include "views/IndexedDWordArray.h"
#include "views/OverlayHost.h"
#include "views/OverlayListener.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

// Counts its paints so a test sees whether it was repainted.
class CountingWnd : public CWnd {
public:
    int m_paints = 0;

protected:
    void OnPaint() {
        CPaintDC dc(this);
        ++m_paints;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CountingWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

class RecordingSink : public IOverlaySink {
public:
    std::vector<std::array<intptr_t, 5>> m_calls;
    HRESULT OnOverlayEvent(intptr_t a, intptr_t b, intptr_t c, intptr_t d, intptr_t e) override {
        m_calls.push_back({a, b, c, d, e});
        return E_FAIL;  // a sink's failure must not reach the broadcaster
    }
};

class TaggedListener : public COverlayListener {
public:
    explicit TaggedListener(int tag) { m_tag = tag; }
};

int IndexOf(COverlayListener& listener) {
    int index = -2;
    listener.GetIndex(&index);
    return index;
}

COverlayHost* HostOf(COverlayListener& listener) {
    COverlayHost* host = nullptr;
    listener.GetAttachment(nullptr, &host);
    return host;
}

using OverlayFrameworkTest = IsolatedTest;

TEST_F(OverlayFrameworkTest, MovingAListenerRemovesItFromTheOldHostAndRepaintsTheOldWindow) {
    CountingWnd oldWnd;
    CountingWnd newWnd;
    ASSERT_TRUE(oldWnd.Create(nullptr, "a", 0, CRect(0, 0, 40, 30), nullptr, 0));
    ASSERT_TRUE(newWnd.Create(nullptr, "b", 0, CRect(0, 0, 40, 30), nullptr, 0));
    oldWnd.ShowWindow(SW_SHOW);
    newWnd.ShowWindow(SW_SHOW);
    QCoreApplication::processEvents();

    COverlayHost a;
    COverlayHost b;
    a.SetWindow(oldWnd.GetSafeHwnd());
    b.SetWindow(newWnd.GetSafeHwnd());
    COverlayListener first;
    COverlayListener moved;
    COverlayListener other;
    a.Add(&first);
    a.Add(&moved);
    b.Add(&other);
    EXPECT_EQ(IndexOf(moved), 1);

    const int paintsBefore = oldWnd.m_paints;
    const int otherPaintsBefore = newWnd.m_paints;
    EXPECT_EQ(b.Add(&moved), S_OK);
    QCoreApplication::processEvents();
    EXPECT_GT(oldWnd.m_paints, paintsBefore);
    EXPECT_EQ(newWnd.m_paints, otherPaintsBefore);

    EXPECT_EQ(a.GetCount(), 1);
    EXPECT_EQ(b.GetCount(), 2);
    EXPECT_EQ(IndexOf(moved), 1);  // b's next number
    EXPECT_EQ(HostOf(moved), &b);
    HWND window = nullptr;
    moved.GetAttachment(&window, nullptr);
    EXPECT_EQ(window, newWnd.GetSafeHwnd());

    // Adding again gives a new number; the list still holds it once.
    b.Add(&moved);
    EXPECT_EQ(IndexOf(moved), 2);
    EXPECT_EQ(b.GetCount(), 2);
}

TEST_F(OverlayFrameworkTest, RemoveMatchesByRegistrationNumberAndIgnoresStrangers) {
    COverlayHost host;
    COverlayListener added;
    COverlayListener stranger;
    host.Add(&added);
    EXPECT_EQ(host.Remove(&stranger), S_OK);
    EXPECT_EQ(host.Remove(nullptr), S_OK);
    EXPECT_EQ(host.Add(nullptr), S_OK);
    EXPECT_EQ(host.GetCount(), 1);
    EXPECT_EQ(host.Remove(&added), S_OK);
    EXPECT_EQ(host.GetCount(), 0);
}

TEST_F(OverlayFrameworkTest, BroadcastForwardsPointerSizedValuesInOrderToSinks) {
    COverlayHost host;
    EXPECT_EQ(host.Broadcast(1, 2, 3, 4, 5), S_OK);

    RecordingSink sink;
    COverlayListener withSink;
    COverlayListener withoutSink;
    withSink.SetSink(&sink);
    host.Add(&withoutSink);
    host.Add(&withSink);
    int record[4] = {};
    const auto pointer = reinterpret_cast<intptr_t>(&record);
    EXPECT_EQ(host.Broadcast(pointer, -1, INTPTR_MAX, 0, 7), S_OK);
    ASSERT_EQ(sink.m_calls.size(), 1u);
    EXPECT_EQ(sink.m_calls[0], (std::array<intptr_t, 5>{pointer, -1, INTPTR_MAX, 0, 7}));
    EXPECT_EQ(withoutSink.Forward(1, 2, 3, 4, 5), S_OK);
}

TEST_F(OverlayFrameworkTest, IsVisibleFailsWithoutAWindowAndReportsTheWindowsState) {
    COverlayHost host;
    BOOL visible = TRUE;
    EXPECT_EQ(host.IsVisible(&visible), E_FAIL);
    EXPECT_EQ(visible, FALSE);
    EXPECT_EQ(host.IsVisible(nullptr), E_FAIL);

    CountingWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "v", 0, CRect(0, 0, 10, 10), nullptr, 0));
    host.SetWindow(wnd.GetSafeHwnd());
    EXPECT_EQ(host.IsVisible(&visible), S_OK);
    EXPECT_EQ(visible, FALSE);
    wnd.ShowWindow(SW_SHOW);
    EXPECT_EQ(host.IsVisible(&visible), S_OK);
    EXPECT_EQ(visible, TRUE);
}

TEST_F(OverlayFrameworkTest, AccessorsAcceptNullOutPointersAndStartUnset) {
    TaggedListener listener(42);
    int tag = 0;
    EXPECT_EQ(listener.GetTag(&tag), S_OK);
    EXPECT_EQ(tag, 42);
    EXPECT_EQ(listener.GetTag(nullptr), S_OK);
    EXPECT_EQ(listener.GetIndex(nullptr), S_OK);
    EXPECT_EQ(listener.GetAttachment(nullptr, nullptr), S_OK);
    EXPECT_EQ(IndexOf(listener), -1);
    EXPECT_EQ(HostOf(listener), nullptr);
    COverlayListener plain;
    plain.GetTag(&tag);
    EXPECT_EQ(tag, -1);
    EXPECT_EQ(plain.Invalidate(), S_OK);  // no window: nothing to repaint
}

TEST_F(OverlayFrameworkTest, HostDestroyedFirstDetachesListenersWhichNeverTouchItAgain) {
    auto kept = std::make_unique<COverlayListener>();
    auto host = std::make_unique<COverlayHost>();
    host->Add(kept.get());
    host.reset();
    EXPECT_EQ(HostOf(*kept), nullptr);
    kept.reset();  // would use the freed host under the sanitizers if it still knew it

    // A listener taken off its host forgets it as well, so the host may go first.
    auto removed = std::make_unique<COverlayListener>();
    host = std::make_unique<COverlayHost>();
    host->Add(removed.get());
    host->Remove(removed.get());
    EXPECT_EQ(HostOf(*removed), nullptr);
    host.reset();
    removed.reset();
    // Removing a stranger leaves it on the host it belongs to.
    COverlayHost own;
    COverlayHost other;
    COverlayListener member;
    own.Add(&member);
    other.Remove(&member);
    EXPECT_EQ(HostOf(member), &own);

    COverlayHost living;
    {
        COverlayListener shortLived;
        living.Add(&shortLived);
        EXPECT_EQ(living.GetCount(), 1);
    }
    EXPECT_EQ(living.GetCount(), 0);
    EXPECT_EQ(living.Broadcast(1, 2, 3, 4, 5), S_OK);
}

class CountingDelegate : public IIndexedValuesDelegate {
public:
    intptr_t m_first = 0;
    HRESULT First(intptr_t value) override {
        m_first = value;
        return S_FALSE;
    }
    HRESULT Second(intptr_t argument, intptr_t* value) override {
        *value = argument * 2;
        return S_OK;
    }
};

TEST_F(OverlayFrameworkTest, IndexedArrayGrowsWithZerosAndRefusesOutsideIndices) {
    CIndexedDWordArray values;
    EXPECT_EQ(values.SetAt(-1, 9), E_FAIL);
    EXPECT_EQ(values.SetAt(5, 77), S_OK);
    EXPECT_EQ(values.GetCount(), 6);
    for (int i = 0; i < 5; ++i) {
        intptr_t v = -5;
        EXPECT_EQ(values.GetAt(i, &v), S_OK);
        EXPECT_EQ(v, 0) << i;
    }
    intptr_t v = 0;
    EXPECT_EQ(values.GetAt(5, &v), S_OK);
    EXPECT_EQ(v, 77);
    EXPECT_EQ(values.GetAt(6, &v), E_FAIL);
    EXPECT_EQ(v, -1);
    EXPECT_EQ(values.GetAt(-1, &v), E_FAIL);
    EXPECT_EQ(values.GetAt(6, nullptr), E_FAIL);
    EXPECT_EQ(values.GetAt(0, nullptr), E_FAIL);

    const auto pointer = reinterpret_cast<intptr_t>(&values);
    values.SetAt(2, pointer);
    values.GetAt(2, &v);
    EXPECT_EQ(v, pointer);
}

TEST_F(OverlayFrameworkTest, IndexedArrayPassesTwoOperationsToItsDelegate) {
    CIndexedDWordArray values;
    intptr_t out = 9;
    EXPECT_EQ(values.DelegateFirst(3), E_FAIL);
    EXPECT_EQ(values.DelegateSecond(3, &out), E_FAIL);
    EXPECT_EQ(out, 0);
    EXPECT_EQ(values.DelegateSecond(3, nullptr), E_FAIL);

    CountingDelegate delegate;
    IIndexedValues& asInterface = values;
    EXPECT_EQ(asInterface.SetDelegate(&delegate), S_OK);
    EXPECT_EQ(asInterface.DelegateFirst(11), S_FALSE);
    EXPECT_EQ(delegate.m_first, 11);
    EXPECT_EQ(asInterface.DelegateSecond(21, &out), S_OK);
    EXPECT_EQ(out, 42);
}

}  // namespace
