#pragma once

// CSaveTargetBase: the operations both save targets share: naming, the range, the reserved
// operation and the mapping of ranges between rates.

#include "frames/ISaveTarget.h"

class CSaveTargetBase : public ISaveTarget {
public:
    int SetOutputName(CSaveVideoParams* params, const QString& folder,
                      const QString& fileName) override;
    int SetRange(CSaveVideoParams* params, int first, int last) override;
    HRESULT Reserved() override { return E_FAIL; }
    HRESULT MapFrameRange(double rate, int offset, int count, double refRate, int last, int first,
                          int* outFirst, int* outLast) override;

protected:
    // Frames first..last with last < 0 meaning the final frame of count; 0 when empty.
    static int64_t FramesInRange(int first, int last, int count);
};
