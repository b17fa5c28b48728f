#pragma once

// What the tests script into a simulated device: refusals per operation and the call log.

#include <map>
#include <string>
#include <vector>

class CSimScript {
public:
    // The next `times` calls of operation answer result instead of running.
    void Refuse(const std::string& operation, int result, int times = 1) {
        m_refusals[operation] = {result, times};
    }
    // Logs the call: 0 to run it, or the scripted refusal.
    int Enter(const std::string& operation) {
        m_log.push_back(operation);
        auto found = m_refusals.find(operation);
        if (found == m_refusals.end() || found->second.times <= 0)
            return 0;
        --found->second.times;
        return found->second.result;
    }
    const std::vector<std::string>& CallLog() const { return m_log; }
    void ClearLog() { m_log.clear(); }

private:
    struct Refusal {
        int result = 0;
        int times = 0;
    };
    std::map<std::string, Refusal> m_refusals;
    std::vector<std::string> m_log;
};
