#include "frames/IFrameChangeListener.h"
#include "frames/ListenerArray.h"
#include "frames/Notifier.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

namespace {

// A listener that records what it was told and may run an action while being told.
class RecordingListener : public CIdObjectBase, public IFrameChangeListener {
public:
    HRESULT QueryInterfaceById(int id, void** out) override {
        HRESULT result = E_FAIL;
        if (AnswerCommonQuery(id, out, &result))
            return result;
        if (id == kIdFrameChangeListener) {
            *out = static_cast<IFrameChangeListener*>(this);
            return S_OK;
        }
        return E_FAIL;
    }
    HRESULT OnFrameChanged(int frame, int flag) override {
        frames.push_back(frame);
        flags.push_back(flag);
        if (onChange)
            onChange();
        return S_OK;
    }
    IIdUnknown* Root() { return static_cast<IIdUnknown*>(this); }

    std::vector<int> frames;
    std::vector<int> flags;
    std::function<void()> onChange;
};

// An adapter that aggregates a notifier: queries on the notifier reach the adapter.
class Adapter : public CIdObjectBase {
public:
    Adapter() { notifier.SetOuter(static_cast<IIdUnknown*>(this)); }
    HRESULT QueryInterfaceById(int id, void** out) override {
        HRESULT result = E_FAIL;
        if (AnswerCommonQuery(id, out, &result))
            return result;
        if (id == kIdNotifier) {
            *out = static_cast<INotifier*>(&notifier);
            return S_OK;
        }
        return E_FAIL;
    }
    CNotifier notifier;
};

int Count(IListenerList& list) {
    int n = -1;
    list.GetCount(&n);
    return n;
}

}  // namespace

TEST(IdLayerTest, QueryRule) {
    CListenerArray list;
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(list.QueryInterfaceById(kIdNotifier, &out), E_FAIL);
    EXPECT_EQ(out, reinterpret_cast<void*>(0x1));  // untouched
    EXPECT_EQ(list.QueryInterfaceById(kIdUnknown, nullptr), E_POINTER);
    EXPECT_EQ(QueryId<IIdUnknown>(&list), static_cast<IIdUnknown*>(&list));
    EXPECT_EQ(QueryId<IListenerList>(&list), static_cast<IListenerList*>(&list));
    EXPECT_EQ(QueryId<IListenerList>(nullptr), nullptr);

    CNotifier notifier;
    EXPECT_EQ(QueryId<INotifier>(&notifier), static_cast<INotifier*>(&notifier));
    EXPECT_EQ(QueryId<INotifier>(&notifier, kIdNotifier2), nullptr);

    // With an outer, everything goes to it, id 1 included; S_OK even when the outer fails.
    RecordingListener outer;
    CListenerArray inner;
    inner.SetOuter(outer.Root());
    EXPECT_EQ(QueryId<IIdUnknown>(&inner), outer.Root());
    out = nullptr;
    EXPECT_EQ(inner.QueryInterfaceById(kIdListenerList, &out), S_OK);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(QueryId<IListenerList>(&inner), nullptr);
    EXPECT_EQ(inner.QueryOuter(1, nullptr), E_POINTER);
    EXPECT_EQ(list.QueryOuter(1, &out), E_FAIL);
}

TEST(IdLayerTest, AdviseAndUnadvise) {
    CListenerArray list;
    EXPECT_EQ(list.Unadvise(1), E_FAIL);
    EXPECT_EQ(list.GetCount(nullptr), S_OK);

    RecordingListener a, b;
    int cookieA1 = 0, cookieB = 0, cookieA2 = 0;
    list.Advise(a.Root(), &cookieA1);
    list.Advise(b.Root(), &cookieB);
    list.Advise(a.Root(), &cookieA2);  // twice: two entries, two cookies
    EXPECT_LT(cookieA1, cookieB);
    EXPECT_LT(cookieB, cookieA2);
    EXPECT_EQ(list.Advise(nullptr, nullptr), S_OK);  // null listeners are kept too
    EXPECT_EQ(Count(list), 4);

    NotifyFrameChanged(&list, 7, 1);
    EXPECT_EQ(a.frames, (std::vector<int>{7, 7}));
    EXPECT_EQ(b.frames, (std::vector<int>{7}));

    EXPECT_EQ(list.Unadvise(cookieA2 + 1000), E_FAIL);
    EXPECT_EQ(Count(list), 4);
    EXPECT_EQ(list.Unadvise(cookieB), S_OK);
    IIdUnknown* item = nullptr;
    int cookie = 0;
    EXPECT_EQ(list.GetItem(1, &item, &cookie), S_OK);  // order of the rest kept
    EXPECT_EQ(item, a.Root());
    EXPECT_EQ(cookie, cookieA2);
    EXPECT_EQ(list.GetItem(1, nullptr, &cookie), E_FAIL);
    EXPECT_EQ(list.GetItem(-1, &item, nullptr), E_FAIL);
    EXPECT_EQ(list.GetItem(3, &item, nullptr), E_FAIL);
    EXPECT_EQ(list.RemoveAll(), S_OK);
    EXPECT_EQ(Count(list), 0);
}

TEST(IdLayerTest, UnadviseDuringNotification) {
    CListenerArray list;
    RecordingListener first, second, third;
    int c1 = 0, c2 = 0, c3 = 0;
    list.Advise(first.Root(), &c1);
    list.Advise(second.Root(), &c2);
    list.Advise(third.Root(), &c3);
    first.onChange = [&] { list.Unadvise(c1); };  // removes itself
    NotifyFrameChanged(&list, 3, 0);
    EXPECT_EQ(second.frames, (std::vector<int>{3}));  // not skipped by the shift
    EXPECT_EQ(third.frames, (std::vector<int>{3}));

    second.onChange = [&] { list.Unadvise(c3); };  // removes a later one
    NotifyFrameChanged(&list, 4, 0);
    EXPECT_EQ(first.frames, (std::vector<int>{3}));
    EXPECT_EQ(third.frames, (std::vector<int>{3}));
}

TEST(IdLayerTest, CookiesWrapToOne) {
    const int kMax = std::numeric_limits<int>::max();
    CListenerArray::SetLastCookie(kMax - 1);
    CListenerArray list;
    int cookies[3] = {};
    for (int& cookie : cookies)
        list.Advise(nullptr, &cookie);
    EXPECT_EQ(cookies[0], kMax);
    EXPECT_EQ(cookies[1], 1);
    EXPECT_EQ(cookies[2], 2);

    // Connect across the wrap still gives both sides the same cookie.
    CListenerArray::SetLastCookie(kMax - 1);
    CNotifier a, b, c;
    a.Connect(&b);
    b.Connect(&c);  // b's second link is made right at the wrap
    IIdUnknown* item = nullptr;
    int fromB = 0, fromC = 0;
    b.GetItem(1, &item, &fromB);
    c.GetItem(0, &item, &fromC);
    EXPECT_EQ(fromB, 1);
    EXPECT_EQ(fromC, 1);
}

TEST(IdLayerTest, ConnectAndDisconnectAll) {
    CNotifier a, b;
    EXPECT_EQ(a.Connect(nullptr), E_POINTER);
    EXPECT_EQ(a.Connect(&b), S_OK);
    IIdUnknown* itemA = nullptr;
    IIdUnknown* itemB = nullptr;
    int cookieA = 0, cookieB = 0;
    ASSERT_EQ(a.GetItem(0, &itemA, &cookieA), S_OK);
    ASSERT_EQ(b.GetItem(0, &itemB, &cookieB), S_OK);
    EXPECT_EQ(cookieA, cookieB);
    EXPECT_EQ(itemA, static_cast<IIdUnknown*>(static_cast<INotifier*>(&b)));
    EXPECT_EQ(itemB, static_cast<IIdUnknown*>(static_cast<INotifier*>(&a)));

    RecordingListener listener;
    a.Advise(listener.Root(), nullptr);  // not a notifier: only dropped from a's list
    EXPECT_EQ(a.DisconnectAll(), S_OK);
    EXPECT_EQ(Count(a), 0);
    EXPECT_EQ(Count(b), 0);

    // A notifier connected to itself empties too.
    a.Connect(&a);
    EXPECT_EQ(Count(a), 2);
    a.DisconnectAll();
    EXPECT_EQ(Count(a), 0);
}

TEST(IdLayerTest, DestroyedNotifierLeavesItsPeers) {
    CNotifier survivor;
    {
        CNotifier gone;
        gone.Connect(&survivor);
        EXPECT_EQ(Count(survivor), 1);
    }
    EXPECT_EQ(Count(survivor), 0);  // no dangling entry left behind
}

TEST(IdLayerTest, AggregatedNotifierAnswersThroughItsOuter) {
    Adapter adapter;
    CNotifier far;
    far.Connect(&adapter.notifier);
    // The far side's DisconnectAll asks the item (the inner notifier) for id 4; the outer
    // answers with its notifier, which so leaves the link too.
    EXPECT_EQ(QueryId<INotifier>(&adapter.notifier), static_cast<INotifier*>(&adapter.notifier));
    EXPECT_EQ(QueryId<IIdUnknown>(&adapter.notifier), static_cast<IIdUnknown*>(&adapter));
    EXPECT_EQ(QueryId<IListenerList>(&adapter.notifier), nullptr);  // the outer knows no id 3
    far.DisconnectAll();
    EXPECT_EQ(Count(adapter.notifier), 0);
}
