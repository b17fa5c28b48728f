#pragma once

// What every simulated device shares: the host clock, the test script, the sync line and the
// answers of the operations a kind of device does not have (1, "not supported").

#include "devices/core/DriverApi.h"
#include "devices/sim/SimClock.h"
#include "devices/sim/SimScript.h"
#include "devices/sim/SimSyncLine.h"

#include <memory>

class CSimDeviceBase : public IDriverDevice, public CSimSyncMember {
public:
    explicit CSimDeviceBase(const DriverHostServices* host) { m_clock.host = host; }
    ~CSimDeviceBase() override {
        if (m_sync)
            m_sync->Leave(this);
    }
    CSimDeviceBase(const CSimDeviceBase&) = delete;
    CSimDeviceBase& operator=(const CSimDeviceBase&) = delete;

    CSimScript& Script() { return m_script; }
    // Chains the device to the others on line.
    void JoinSyncLine(std::shared_ptr<CSimSyncLine> line) {
        if (m_sync)
            m_sync->Leave(this);
        m_sync = std::move(line);
        if (m_sync)
            m_sync->Join(this);
    }

    void SetSecondId(int id) { m_secondId = id; }
    int GetSecondId(int* id) override {
        if (!id)
            return 1;
        *id = m_secondId;
        return 0;
    }

    int GetStopSupport() override { return m_script.Enter("GetStopSupport") ? kNoSoftwareStop : 0; }
    int Reset() override { return m_script.Enter("Reset"); }
    int SelfTest() override { return m_script.Enter("SelfTest"); }
    int SetRole(int role) override {
        if (int refused = m_script.Enter("SetRole"))
            return refused;
        if (role != kRoleMaster && role != kRoleSlave)
            return 1;
        m_role = role;
        return 0;
    }
    int GetRole() override { return m_role; }
    int GetRecordParams(DriverRecordParams* params) override {
        if (!params)
            return 1;
        *params = m_params;
        return 0;
    }
    int SetRecordParams(const DriverRecordParams& params, int, int) override {
        if (int refused = m_script.Enter("SetRecordParams"))
            return refused;
        m_params = params;
        return 0;
    }
    int GetClockSources(std::vector<std::string>* sources) override {
        if (!sources)
            return 1;
        *sources = {"Internal", "External"};
        return 0;
    }
    int SetClockSource(int index) override { return index == 0 || index == 1 ? 0 : 1; }
    int GetCounterRange(int, int* minimum, int* maximum) override {
        if (!minimum || !maximum)
            return 1;
        *minimum = 0;
        *maximum = 65535;
        return 0;
    }
    int GetGauges(double* first, double* second) override {
        if (!first || !second)
            return 1;
        *first = 35.0;   // sensor temperature, degrees
        *second = 12.0;  // supply, volts
        return 0;
    }

    // Camera-only operations.
    int GetExposure(double*) override { return 1; }
    int SetExposure(double) override { return 1; }
    int GetResolution(int*, int*) override { return 1; }
    int SetResolution(int, int) override { return 1; }
    int GetResolutionList(std::vector<std::pair<int, int>>*) override { return 1; }
    int GetImageFormat(DriverImageFormat*) override { return 1; }
    int GetActiveAreaLimits(DriverActiveAreaLimits*) override { return 1; }
    int GetMaxActiveArea(double, int, int*, int*) override { return 1; }
    int GetActiveArea(DriverRect*) override { return 1; }
    int SetActiveArea(const DriverRect&) override { return 1; }
    IDriverColourProcessor* GetColourProcessor() override { return nullptr; }
    int SetVideoTriggerRegion(const DriverRect&) override { return 1; }
    int SetVideoTriggerLevels(int, int) override { return 1; }
    int TrainVideoTrigger() override { return 1; }
    int ReadLiveFrame(void*, int64_t, int64_t*) override { return 1; }
    int ReadMemoryFrame(int, void*, int64_t) override { return 1; }
    // Data-card-only operations.
    int GetChannelCount(int*) override { return 1; }
    int StartAcquisition() override { return 1; }
    int StopAcquisition() override { return 1; }
    int SetAcquisitionParams(double, int) override { return 1; }
    int ReadSamples(int64_t, int, std::vector<double>*) override { return 1; }
    int SetDac0(double) override { return 1; }

protected:
    // What a master tells its slaves.
    void SyncTrigger() const {
        if (m_sync && m_role == kRoleMaster)
            m_sync->Trigger(this);
    }
    void SyncStop() const {
        if (m_sync && m_role == kRoleMaster)
            m_sync->Stop(this);
    }

    SimClock m_clock;
    CSimScript m_script;
    int m_role = kRoleMaster;
    int m_secondId = 0;
    DriverRecordParams m_params;
    std::shared_ptr<CSimSyncLine> m_sync;
};
