#pragma once

// CRecordTab: the record page of a record group: "Live", "Record", "Trigger", "Stop" and "Idle"
// for the whole group, each enabled only when the group can take it, and the group's chain
// setting (kept, never shown). The page follows its group as a listener and refreshes on
// every change of it, as its update operation and on every 20th event of its own window.

#include "devices/PageEventCounter.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/RecordGroupListener.h"
#include "views/panels/TabDlg.h"

#include <functional>

class CRecordGroup;
class IDeviceCommandTargetProvider;

inline constexpr UINT kRecordTabTemplate = 340;

class CRecordTab : public CTabDlg {
    DECLARE_DYNAMIC(CRecordTab)
    DECLARE_MESSAGE_MAP()

public:
    enum Control : int {
        kLive = 1577,
        kRecord = 1575,
        kTrigger = 1576,
        kStop = 1006,
        kIdle = 1000,
        kChain = 1578,
    };
    static constexpr UINT kLiveIcon = 193;
    static constexpr UINT kRecordIcon = 191;
    static constexpr UINT kTriggerIcon = 189;
    static constexpr UINT kStopIcon = 192;
    static constexpr UINT kIdleIcon = 190;
    static constexpr int kPollPeriod = 20;
    // The group queries whose answers the buttons depend on.
    static constexpr int kQueryFirst = 1;
    static constexpr int kQuerySecond = 14;

    // What the five buttons may do.
    struct Enabling {
        bool live = false;
        bool record = false;
        bool trigger = false;
        bool stop = false;
        bool idle = false;
        bool operator==(const Enabling&) const = default;
    };
    // For chain setting chain, a device open or not, record state state, answers first and
    // second to the two queries, and mayRecord (the group's manual control).
    static Enabling EnablingFor(int chain, bool deviceOpen, int state, int first, int second,
                                int mayRecord);

    // The template holds the buttons; the record panels have their own templates for them.
    explicit CRecordTab(UINT nIDTemplate = kRecordTabTemplate, CWnd* pParentWnd = nullptr);

    // The group's provider: the page follows its group and sends its queries to it.
    void SetGroupProvider(IDeviceCommandTargetProvider* provider);
    CRecordGroup* GetGroup() const { return m_listener.GetGroup(); }
    CDeviceLink& GetLink() { return m_link; }
    const CPageEventCounter& GetEventCounter() const { return m_events; }

    // Enables the buttons for the group's state; all disabled without a group.
    void Refresh();
    void UpdatePage() override;
    BOOL OnInitDialog() override;

    void OnLive();
    void OnRecord();
    void OnTrigger();
    void OnStop();
    void OnIdle();
    void OnChainRecording();

private:
    class Listener : public CRecordGroupListener {
    public:
        explicit Listener(CRecordTab& page) : m_page(page) {}
        void OnGroupChanged() override { m_page.Refresh(); }

    private:
        CRecordTab& m_page;
    };

    // Runs the group command with the links' alternate notification on, then refreshes.
    void RunCommand(const std::function<void(CRecordGroup&)>& command);
    // The group's status answer to query code.
    int Query(CRecordGroup& group, int code);

    Listener m_listener;
    CDeviceLink m_link;
    CPageEventCounter m_events;
};
