#include "devices/core/RecordGroupListener.h"

#include "devices/core/DeviceLink.h"
#include "devices/core/RecordGroup.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<CRecordGroupListener*>& Listeners() {
    static std::vector<CRecordGroupListener*> listeners;
    return listeners;
}

}  // namespace

CRecordGroupListener::CRecordGroupListener() {
    Listeners().push_back(this);
}

CRecordGroupListener::~CRecordGroupListener() {
    auto& listeners = Listeners();
    listeners.erase(std::remove(listeners.begin(), listeners.end(), this), listeners.end());
}

CRecordGroup* CRecordGroupListener::GetGroup() const {
    return m_provider ? dynamic_cast<CRecordGroup*>(m_provider->GetCommandTarget()) : nullptr;
}

void CRecordGroupListener::ForEach(const std::function<void(CRecordGroupListener&)>& visit) {
    // A listener told may close its page, and the page its listener: work on a copy.
    const std::vector<CRecordGroupListener*> listeners = Listeners();
    for (CRecordGroupListener* listener : listeners) {
        if (std::find(Listeners().begin(), Listeners().end(), listener) != Listeners().end())
            visit(*listener);
    }
}

void CRecordGroupListener::ResetForTests() {
    Listeners().clear();
}

void NotifyRecordGroupListeners() {
    CRecordGroupListener::ForEach(
        [](CRecordGroupListener& listener) { listener.OnGroupChanged(); });
}
