#pragma once

// IFrameChangeListener (id 2): told which frame became current.

#include "frames/IIdUnknown.h"

class IFrameChangeListener : public virtual IIdUnknown {
public:
    static constexpr int kId = kIdFrameChangeListener;

    virtual HRESULT OnFrameChanged(int frame, int flag) = 0;
    // A change forwarded with the ids of the window it came from; by default the ids are
    // dropped and the change goes to OnFrameChanged.
    virtual HRESULT CFFrameChanges_withIDs(int frame, int dt, int id, int st, int flag) {
        (void)dt;
        (void)id;
        (void)st;
        return OnFrameChanged(frame, flag);
    }
};
