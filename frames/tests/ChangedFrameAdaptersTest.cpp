#include "frames/ChangedFrameDataView.h"
#include "frames/ChangedFrameMeasView.h"
#include "frames/ChangedFrameVidView.h"
#include "frames/IMessagePoster.h"
#include "platform/framework/MessageQueue.h"
#include "platform/framework/Wnd.h"

#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QString>

#include <memory>
#include <vector>

namespace {

// One shared log, so that tests can check the order in which views and listeners are reached.
using Log = std::vector<QString>;

// A video view as the adapter sees it. Setting its frame tells the listeners of its own
// notifier, as a real view does through its frame source, so a change can come back round.
class FakeMovieView : public IMovieView {
public:
    FakeMovieView(Log* log, QString name) : m_log(log), m_name(std::move(name)) {}

    void MovieSetCurrentFrame(int frame, int force) override {
        m_log->push_back(QStringLiteral("%1 shows %2/%3").arg(m_name).arg(frame).arg(force));
        ASSERT_LT(++m_depth, 8) << "frame changes go round without end";
        current = frame;
        NotifyFrameChanged(&sourceNotifier, frame, force);
        --m_depth;
    }
    void MovieSetFrame(int frame) override { MovieSetCurrentFrame(frame, 1); }
    int MovieGetCurrentFrame() override { return current; }
    int MovieGetSourceKind() override { return sourceKind; }
    CFrameSourcePtr MovieGetFrameSource() override { return source; }
    int MovieGetInPoint(int*) override { return 0; }
    int MovieGetOutPoint(int*) override { return 0; }
    void MovieGetDisplayLuts(CLutParamSet*, CLutParamSet*) override {}
    void MovieSetDisplayLuts(const CLutParamSet&, const CLutParamSet&) override {}
    void MovieSetFrameSource(const CFrameSourcePtr&) override {}
    void MovieSetGroupMember(int, int) override {}
    void MovieSetFrameChangedCallback(FrameChangedFn, void*) override {}
    void MovieNotifyFrameChanged() override {}
    void MovieSetFrameCount(int) override {}

    int current = 0;
    int sourceKind = 1;
    CFrameSourcePtr source{new CFrameSource};
    CNotifier sourceNotifier;  // the view's frame source tells its listeners here

private:
    Log* m_log;
    QString m_name;
    int m_depth = 0;
};

class FakeMeasView : public IMeasViewSync {
public:
    explicit FakeMeasView(Log* log) : m_log(log) {}
    void SynchronizeToFrame(int frame, int dataType, int id, int flag) override {
        m_log->push_back(QStringLiteral("group to %1 for %2:%3 flag %4")
                             .arg(frame)
                             .arg(dataType)
                             .arg(id)
                             .arg(flag));
    }

private:
    Log* m_log;
};

// A listener that logs the ids it is told.
class IdLogListener : public CIdObjectBase, public IFrameChangeListener {
public:
    IdLogListener(Log* log, QString name) : m_log(log), m_name(std::move(name)) {}
    HRESULT QueryInterfaceById(int id, void** out) override {
        HRESULT result = E_FAIL;
        if (AnswerCommonQuery(id, out, &result))
            return result;
        if (id != kIdFrameChangeListener)
            return E_FAIL;
        *out = static_cast<IFrameChangeListener*>(this);
        return S_OK;
    }
    HRESULT OnFrameChanged(int frame, int flag) override {
        m_log->push_back(QStringLiteral("%1 plain %2/%3").arg(m_name).arg(frame).arg(flag));
        return S_OK;
    }
    HRESULT CFFrameChanges_withIDs(int frame, int dt, int id, int st, int flag) override {
        m_log->push_back(QStringLiteral("%1 told %2 %3:%4:%5 %6")
                             .arg(m_name)
                             .arg(frame)
                             .arg(dt)
                             .arg(id)
                             .arg(st)
                             .arg(flag));
        return S_OK;
    }

private:
    Log* m_log;
    QString m_name;
};

class NoticeWnd : public CWnd {
public:
    int notices = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kMsgDataFrameChanged && wParam == 0 && lParam == 0)
            ++notices;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

int Count(IListenerList* list) {
    int count = -1;
    list->GetCount(&count);
    return count;
}

unsigned SourceId(const CFrameSourcePtr& source) {
    unsigned id = 0;
    source->GetSourceId(&id);
    return id;
}

}  // namespace

class ChangedFrameAdaptersTest : public IsolatedTest {};

TEST_F(ChangedFrameAdaptersTest, AdaptersAnswerTheirIdsAndTheirNotifiersQueriesReachThem) {
    Log log;
    FakeMovieView view(&log, "A");
    FakeMeasView meas(&log);
    CChangedFrameVidView vid(&view);
    CChangedFrameMeasView group(&meas);
    CChangedFrameDataView data(nullptr);

    struct Case {
        CChangedFrameAdapter* adapter;
        bool second;
    };
    for (const Case& c : {Case{&vid, true}, Case{&group, false}, Case{&data, false}}) {
        auto* root = static_cast<IIdUnknown*>(c.adapter);
        EXPECT_EQ(QueryId<IIdUnknown>(root), root);
        EXPECT_EQ(QueryId<IFrameChangeListener>(root),
                  static_cast<IFrameChangeListener*>(c.adapter));
        EXPECT_EQ(QueryId<INotifier>(root, kIdNotifier), c.adapter->GetNotifier());
        EXPECT_EQ(QueryId<INotifier>(root, kIdNotifier2) != nullptr, c.second);
        EXPECT_EQ(QueryId<IMessagePoster>(root), nullptr);
        // The notifier is aggregated: asked for the root or the listener, it names the adapter.
        EXPECT_EQ(QueryId<IIdUnknown>(c.adapter->GetNotifier()), root);
        EXPECT_EQ(QueryId<IFrameChangeListener>(c.adapter->GetNotifier()),
                  static_cast<IFrameChangeListener*>(c.adapter));
    }
    EXPECT_EQ(QueryId<INotifier>(&vid, kIdNotifier2), vid.GetSecondNotifier());
    EXPECT_NE(vid.GetSecondNotifier(), vid.GetNotifier());
}

TEST_F(ChangedFrameAdaptersTest, WithoutAViewEveryAdapterRefusesAndTellsNobody) {
    Log log;
    FakeMovieView view(&log, "A");
    IdLogListener listener(&log, "L");  // outlives the adapter, which unlinks it when it goes
    CChangedFrameVidView vid(&view);
    vid.GetSecondNotifier()->Advise(&listener, nullptr);
    vid.DetachView();
    CChangedFrameMeasView group(nullptr);
    CChangedFrameDataView data(nullptr);

    for (IFrameChangeListener* adapter : std::vector<IFrameChangeListener*>{&vid, &group, &data}) {
        EXPECT_EQ(adapter->OnFrameChanged(4, 0), E_POINTER);
        EXPECT_EQ(adapter->CFFrameChanges_withIDs(4, 3, 1, 1, 0), E_POINTER);
    }
    EXPECT_TRUE(log.empty()) << log.front().toStdString();
    EXPECT_EQ(view.current, 0);
}

TEST_F(ChangedFrameAdaptersTest, VideoAdapterMovesItsViewThenTellsTheSecondNotifierInOrder) {
    Log log;
    FakeMovieView view(&log, "A");
    view.sourceKind = 2;
    FakeMeasView meas(&log);
    IdLogListener first(&log, "first");
    IdLogListener last(&log, "last");
    IdLogListener other(&log, "other");
    CChangedFrameVidView vid(&view);
    CChangedFrameMeasView group(&meas);

    // Listeners on the first notifier are not told.
    vid.GetNotifier()->Advise(&other, nullptr);

    // No listener on the second notifier: only the view moves.
    EXPECT_EQ(vid.OnFrameChanged(3, 0), S_OK);
    EXPECT_EQ(log, Log{"A shows 3/0"});
    log.clear();

    // A listener, a group linked the way a play group links it, then another listener.
    vid.GetSecondNotifier()->Advise(&first, nullptr);
    ASSERT_EQ(vid.GetSecondNotifier()->Connect(QueryId<INotifier>(&group, kIdNotifier)), S_OK);
    vid.GetSecondNotifier()->Advise(&last, nullptr);

    EXPECT_EQ(vid.OnFrameChanged(12, 1), S_OK);
    const QString id = QString::number(SourceId(view.source));
    EXPECT_EQ(log, (Log{"A shows 12/1", "first told 12 3:" + id + ":2 1",
                        "group to 12 for 3:" + id + " flag 1", "last told 12 3:" + id + ":2 1"}));

    // A plain change reaching the group adapter does nothing; a changed id set is passed on.
    log.clear();
    EXPECT_EQ(group.OnFrameChanged(5, 0), S_OK);
    EXPECT_EQ(group.CFFrameChanges_withIDs(6, 2, 77, 0, 0), S_OK);
    EXPECT_EQ(log, Log{"group to 6 for 2:77 flag 1"});
}

TEST_F(ChangedFrameAdaptersTest, DataAdapterPostsOneNoticePerChange) {
    NoticeWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "data", 0, CRect(0, 0, 10, 10), nullptr, 0));
    CChangedFrameDataView data(&wnd);

    // Linked both ways to a frame source's notifier, the adapter is still told once.
    CNotifier source;
    ASSERT_EQ(source.Connect(QueryId<INotifier>(&data, kIdNotifier)), S_OK);
    EXPECT_EQ(Count(&source), 1);
    NotifyFrameChanged(&source, 8, 0);
    EXPECT_EQ(wnd.notices, 0) << "posted, not sent";
    AfxPumpMessage();
    EXPECT_EQ(wnd.notices, 1);

    // The shared default passes a change with ids on as one notice too.
    EXPECT_EQ(data.CFFrameChanges_withIDs(9, 3, 1, 0, 0), S_OK);
    AfxPumpMessage();
    EXPECT_EQ(wnd.notices, 2);
}

TEST_F(ChangedFrameAdaptersTest, TwoLinkedVideoViewsSettle) {
    Log log;
    FakeMovieView viewA(&log, "A");
    FakeMovieView viewB(&log, "B");
    CChangedFrameVidView a(&viewA);
    CChangedFrameVidView b(&viewB);
    // Each view's frame source tells its own adapter; the two views are linked both ways.
    ASSERT_EQ(viewA.sourceNotifier.Connect(a.GetNotifier()), S_OK);
    ASSERT_EQ(viewB.sourceNotifier.Connect(b.GetNotifier()), S_OK);
    ASSERT_EQ(a.GetSecondNotifier()->Connect(b.GetSecondNotifier()), S_OK);

    // A change from the group: A moves, B follows, the change back to A stops there.
    EXPECT_EQ(a.OnFrameChanged(5, 0), S_OK);
    EXPECT_EQ(log, (Log{"A shows 5/0", "B shows 5/0"}));
    EXPECT_EQ(viewA.current, 5);
    EXPECT_EQ(viewB.current, 5);

    // B moved by its own play bar: its source tells its adapter, A follows, and it ends.
    log.clear();
    viewB.MovieSetCurrentFrame(9, 0);
    EXPECT_EQ(viewA.current, 9);
    EXPECT_EQ(viewB.current, 9);
    EXPECT_EQ(log, (Log{"B shows 9/0", "B shows 9/0", "A shows 9/0"}));
}

TEST_F(ChangedFrameAdaptersTest, DestroyingAnAdapterUnlinksItsNotifiers) {
    Log log;
    FakeMovieView viewA(&log, "A");
    FakeMovieView viewB(&log, "B");
    CChangedFrameVidView a(&viewA);
    FakeMeasView meas(&log);
    CChangedFrameMeasView group(&meas);
    {
        CChangedFrameVidView b(&viewB);
        a.GetSecondNotifier()->Connect(b.GetSecondNotifier());
        b.GetNotifier()->Connect(group.GetNotifier());
        EXPECT_EQ(Count(a.GetSecondNotifier()), 1);
        EXPECT_EQ(Count(group.GetNotifier()), 1);
    }
    EXPECT_EQ(Count(a.GetSecondNotifier()), 0);
    EXPECT_EQ(Count(group.GetNotifier()), 0);

    // A partner that goes first takes its entry out of the second notifier, not the first.
    {
        CChangedFrameMeasView partner(&meas);
        a.GetSecondNotifier()->Connect(partner.GetNotifier());
        a.GetNotifier()->Connect(group.GetNotifier());
    }
    EXPECT_EQ(Count(a.GetSecondNotifier()), 0);
    EXPECT_EQ(Count(a.GetNotifier()), 1);
    EXPECT_EQ(QueryId<INotifier>(a.GetSecondNotifier(), kIdNotifier), a.GetSecondNotifier());
    EXPECT_EQ(QueryId<IIdUnknown>(a.GetSecondNotifier()), static_cast<IIdUnknown*>(&a));
    EXPECT_EQ(a.OnFrameChanged(2, 0), S_OK);
    EXPECT_EQ(log, Log{"A shows 2/0"});
}
