#pragma once

// ISaveTarget: one member of a play group as something to save, so that a synchronized save
// treats a video and a sensor-data file alike: it fills and prompts a save request, maps
// frame ranges between the members' rates, estimates the output size and writes it.

#include "frames/SaveVideoParams.h"

#include <cstdint>

class ISaveTarget {
public:
    virtual ~ISaveTarget() = default;

    // The request's defaults for this kind of member.
    virtual HRESULT InitParams(CSaveVideoParams* params) = 0;
    // S_OK when the user named the output, E_FAIL when cancelled.
    virtual HRESULT Prompt(CSaveVideoParams* params) = 0;
    virtual HRESULT Save(CSaveVideoParams* params) = 0;
    // Names the output folder/fileName (fileName's extension, if any, replacing the
    // request's) and refills the request's names from it; 1.
    virtual int SetOutputName(CSaveVideoParams* params, const QString& folder,
                              const QString& fileName) = 0;
    virtual int SetRange(CSaveVideoParams* params, int first, int last) = 0;
    virtual HRESULT SetOutputKind(CSaveVideoParams* params, int kind, int subKind) = 0;
    virtual HRESULT Reserved() = 0;
    // The range first..last of the reference member (at refRate) in this member's frames (at
    // rate), shifted by offset and kept inside count. E_FAIL for a null out pointer.
    virtual HRESULT MapFrameRange(double rate, int offset, int count, double refRate, int last,
                                  int first, int* outFirst, int* outLast) = 0;
    virtual HRESULT GetRate(double* rate) = 0;
    virtual HRESULT GetFrameCount(int* count) = 0;
    virtual HRESULT GetFirstFrameNumber(int* number) = 0;
    // The bytes a save of first..last (last < 0: to the end) is expected to take.
    virtual HRESULT EstimateSaveSize(int64_t* bytes, int first, int last) = 0;
};
