#pragma once

#include "platform/framework/Clock.h"

// A clock that moves only when the test moves it; installs itself while it lives.
class ManualClock : public IClock {
public:
    explicit ManualClock(int64_t frequency = 1000000) : m_frequency(frequency) {
        m_previous = AfxSetClock(this);
    }
    ~ManualClock() override { AfxSetClock(m_previous); }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    int64_t Counter() const override { return m_counter; }
    int64_t Frequency() const override { return m_frequency; }
    void Advance(int64_t ticks) { m_counter += ticks; }
    void Set(int64_t counter) { m_counter = counter; }

private:
    int64_t m_frequency;
    int64_t m_counter = 0;
    IClock* m_previous = nullptr;
};
