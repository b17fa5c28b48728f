#pragma once

// CDataFileSaveTarget: a sensor-data member as a save target: it asks through CDlgSaveData and
// writes the chosen scans as a data file (".mdat").

#include "frames/SaveTargetBase.h"
#include "frames/SharedRef.h"
#include "sensordata/model/SensorDataSet.h"

class CDataFileSaveTarget : public CSaveTargetBase {
public:
    explicit CDataFileSaveTarget(CSharedRef<CSensorDataSet> data) : m_data(std::move(data)) {}

    HRESULT InitParams(CSaveVideoParams* params) override;
    HRESULT Prompt(CSaveVideoParams* params) override;
    // The data set's own result; the done-callback hears of a successful save only.
    HRESULT Save(CSaveVideoParams* params) override;
    HRESULT SetOutputKind(CSaveVideoParams* params, int kind, int subKind) override;
    HRESULT GetRate(double* rate) override;
    HRESULT GetFrameCount(int* count) override;
    HRESULT GetFirstFrameNumber(int* number) override;
    // Scans × active channels × 8 bytes × 1.001.
    HRESULT EstimateSaveSize(int64_t* bytes, int first, int last) override;

private:
    CSharedRef<CSensorDataSet> m_data;
};
