#pragma once

// CRecordGroupListener: an object (a record page) that follows one record group and hears when it
// changes. It finds its group through its provider, the one that also gives the pages' device
// links their command target. Every listener is on a process-wide list while it lives.

#include <functional>

class CRecordGroup;
class IDeviceCommandTargetProvider;

class CRecordGroupListener {
public:
    CRecordGroupListener();
    virtual ~CRecordGroupListener();
    CRecordGroupListener(const CRecordGroupListener&) = delete;
    CRecordGroupListener& operator=(const CRecordGroupListener&) = delete;

    // The followed group is going away.
    virtual void OnGroupClosed() {}
    // The followed group changed (its devices, their settings or its state).
    virtual void OnGroupChanged() {}

    void SetProvider(IDeviceCommandTargetProvider* provider) { m_provider = provider; }
    // The provider's command target when that is a record group, else null.
    CRecordGroup* GetGroup() const;

    // Calls visit for every listener alive when it runs; a listener that goes meanwhile is
    // skipped.
    static void ForEach(const std::function<void(CRecordGroupListener&)>& visit);
    // Test fixtures: forgets every listener.
    static void ResetForTests();

private:
    IDeviceCommandTargetProvider* m_provider = nullptr;
};

// Tells every listener that its record group changed.
void NotifyRecordGroupListeners();
