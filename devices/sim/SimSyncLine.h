#pragma once

// The sync cable that chains the simulated devices of one driver: when the master of the line
// (role 0) is triggered or stopped, every armed slave on it (role 1) follows at once, as chained
// recording hardware does. A device alone on the line, or one without a line, records by itself.

#include <algorithm>
#include <vector>

class CSimSyncMember {
public:
    // The master was triggered / stopped; only an armed slave answers.
    virtual void OnSyncTrigger() = 0;
    virtual void OnSyncStop() = 0;

protected:
    ~CSimSyncMember() = default;
};

class CSimSyncLine {
public:
    void Join(CSimSyncMember* member) { m_members.push_back(member); }
    void Leave(CSimSyncMember* member) {
        m_members.erase(std::remove(m_members.begin(), m_members.end(), member), m_members.end());
    }
    // Tells every other member; members never join or leave while they are told.
    void Trigger(const CSimSyncMember* from) const {
        for (CSimSyncMember* member : m_members) {
            if (member != from)
                member->OnSyncTrigger();
        }
    }
    void Stop(const CSimSyncMember* from) const {
        for (CSimSyncMember* member : m_members) {
            if (member != from)
                member->OnSyncStop();
        }
    }

private:
    std::vector<CSimSyncMember*> m_members;
};
