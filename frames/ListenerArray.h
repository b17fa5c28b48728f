#pragma once

// CListenerArray: the plain listener list (id 3), in the order of advising. Cookies come from
// one program-wide counter.

#include "frames/IListenerList.h"
#include "frames/IdObjectBase.h"

#include <vector>

class CListenerArray : public CIdObjectBase, public IListenerList {
public:
    HRESULT QueryInterfaceById(int id, void** out) override;
    HRESULT Advise(IIdUnknown* listener, int* cookie) override;
    HRESULT Unadvise(int cookie) override;
    HRESULT RemoveAll() override;
    HRESULT GetCount(int* count) override;
    HRESULT GetItem(int index, IIdUnknown** listener, int* cookie) override;

    // The next cookie: positive, growing, wrapping from the largest int back to 1.
    static int NextCookie();
    // Makes the next NextCookie repeat the last one (notifiers linking both ways share it).
    static void StepCookieBack();
    // Moves the counter (tests reach the wrap this way).
    static void SetLastCookie(int cookie);

private:
    std::vector<IIdUnknown*> m_listeners;
    std::vector<int> m_cookies;
};
