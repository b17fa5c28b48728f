#pragma once

// CChangedFrameVidView: the listener adapter of a video view. A change moves the view and is
// passed on, with the view's source ids, to the listeners of a second notifier (id 5), through
// which a play group links the view to other members.

#include "frames/ChangedFrameAdapter.h"
#include "frames/IMovieView.h"

class CChangedFrameVidView : public CChangedFrameAdapter {
public:
    // view: not owned; the view detaches itself before it goes.
    explicit CChangedFrameVidView(IMovieView* view);
    ~CChangedFrameVidView() override;

    // Every operation gives E_POINTER from now on.
    void DetachView() { m_view = nullptr; }
    INotifier* GetSecondNotifier() const { return m_notifier2.get(); }

    // Moves the view to frame, then tells each listener of the second notifier, in order,
    // CFFrameChanges_withIDs(frame, 3, source id, source kind, flag). A change that comes back
    // round while this one runs stops here when the view shows that frame already, and
    // otherwise only moves the view: linked views settle.
    HRESULT OnFrameChanged(int frame, int flag) override;

protected:
    bool AnswerOwnId(int id, void** out) override;

private:
    // Answers for the second notifier. Asked for id 4 it names that notifier itself, so that
    // a partner that disconnects from the far side removes its entry from the right list;
    // every other query goes to the adapter.
    class SecondNotifierOuter final : public IIdUnknown {
    public:
        explicit SecondNotifierOuter(CChangedFrameVidView* owner) : m_owner(owner) {}
        HRESULT QueryInterfaceById(int id, void** out) override;

    private:
        CChangedFrameVidView* m_owner;
    };

    IMovieView* m_view;
    SecondNotifierOuter m_secondOuter{this};
    std::unique_ptr<CNotifier> m_notifier2;
    bool m_busy = false;  // inside OnFrameChanged
};
