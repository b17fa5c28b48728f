#pragma once

// CVideoSaveTarget: a video member as a save target; the frame source asks and saves.

#include "frames/FrameSourcePtr.h"
#include "frames/SaveTargetBase.h"

class CVideoSaveTarget : public CSaveTargetBase {
public:
    explicit CVideoSaveTarget(CFrameSourcePtr source) : m_source(std::move(source)) {}

    HRESULT InitParams(CSaveVideoParams* params) override;
    HRESULT Prompt(CSaveVideoParams* params) override;
    HRESULT Save(CSaveVideoParams* params) override;
    HRESULT SetOutputKind(CSaveVideoParams* params, int kind, int subKind) override;
    HRESULT GetRate(double* rate) override;
    HRESULT GetFrameCount(int* count) override;
    HRESULT GetFirstFrameNumber(int* number) override;
    HRESULT EstimateSaveSize(int64_t* bytes, int first, int last) override;

private:
    CFrameSourcePtr m_source;
};
