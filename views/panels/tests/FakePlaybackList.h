#pragma once

#include "views/PlaybackView.h"
#include "views/panels/IPlaybackSourceList.h"

#include <functional>
#include <vector>

// A play group's playback list for tests: it holds views the test made, answers from them and
// records what the pages ask of it. It is its own owner.
class FakePlaybackList : public IPlaybackSourceList, public IPlaybackSourceOwner {
public:
    std::vector<CPlaybackView*> views;
    int changed = 0;
    std::vector<int> addedKinds;
    std::vector<int> setChangedCalls;
    int getViewCalls = 0;
    // Runs inside GetView, for tests that act while a rebuild is under way.
    std::function<void()> onGetView;

    IPlaybackSourceList* GetPlaybackSourceList() override { return this; }
    int GetCount() override { return static_cast<int>(views.size()); }
    CPlaybackView* GetView(int index) override {
        ++getViewCalls;
        if (onGetView)
            onGetView();
        return index >= 0 && index < GetCount() ? views[static_cast<size_t>(index)] : nullptr;
    }
    void AddSource(int kind) override { addedKinds.push_back(kind); }
    void SetChanged(int flag) override {
        setChangedCalls.push_back(flag);
        changed = flag;
    }
    int IsChanged() override { return changed; }
};
