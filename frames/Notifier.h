#pragma once

// CNotifier: an event source's listener list (ids 3 and 4) that can also be linked both ways
// to another notifier. Destroying it disconnects it from every linked notifier.

#include "frames/IListenerList.h"
#include "frames/IdObjectBase.h"

#include <memory>

class CListenerArray;

class CNotifier : public CIdObjectBase, public INotifier {
public:
    CNotifier();
    ~CNotifier() override;
    CNotifier(const CNotifier&) = delete;
    CNotifier& operator=(const CNotifier&) = delete;

    HRESULT QueryInterfaceById(int id, void** out) override;
    HRESULT Advise(IIdUnknown* listener, int* cookie) override;
    HRESULT Unadvise(int cookie) override;
    HRESULT RemoveAll() override;
    HRESULT GetCount(int* count) override;
    HRESULT GetItem(int index, IIdUnknown** listener, int* cookie) override;
    HRESULT Connect(INotifier* other) override;
    HRESULT DisconnectAll() override;

private:
    std::unique_ptr<CListenerArray> m_list;
};
