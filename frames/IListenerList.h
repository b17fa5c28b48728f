#pragma once

// IListenerList (id 3) and INotifier (id 4, and 5 for a second instance): lists of listener
// root pointers, each entry numbered by a cookie; notifiers also link to one another.

#include "frames/IIdUnknown.h"

class IListenerList : public virtual IIdUnknown {
public:
    static constexpr int kId = kIdListenerList;

    // Appends listener (null too) under a new cookie, written to *cookie when given.
    virtual HRESULT Advise(IIdUnknown* listener, int* cookie) = 0;
    // Removes the first entry with cookie; E_FAIL when there is none.
    virtual HRESULT Unadvise(int cookie) = 0;
    // Removes every entry; listeners are not destroyed.
    virtual HRESULT RemoveAll() = 0;
    virtual HRESULT GetCount(int* count) = 0;
    // E_FAIL for an index out of range or a null listener pointer.
    virtual HRESULT GetItem(int index, IIdUnknown** listener, int* cookie) = 0;
};

class INotifier : public IListenerList {
public:
    static constexpr int kId = kIdNotifier;

    // Advises this and other to each other under one shared cookie. E_POINTER for null.
    virtual HRESULT Connect(INotifier* other) = 0;
    // Removes every entry, and this notifier from the lists of the notifiers it links.
    virtual HRESULT DisconnectAll() = 0;
};

// Tells every listener of list (in advising order) that frame is current. Listeners that are
// unadvised while the walk runs are skipped, so one listener may unadvise itself or another.
void NotifyFrameChanged(IListenerList* list, int frame, int flag);
