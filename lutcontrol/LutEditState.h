#pragma once

// LutEditState: the editor's eight state flags (colour mode, channels on, properties linked)
// and the change callback it calls after a user change. Also the last record of a ".lut" file.

#include "platform/wintypes/WinTypes.h"

// Called by the editor after a change; its result is the editor's answer.
using LutChangeCallback = LONG (*)(void* context);

struct LutEditState {
    static constexpr int kFlagCount = 8;
    // The record: eight int32 flags, then callback and context as two 32-bit zeros.
    static constexpr int kRecordBytes = 40;

    LONG stateColor = 1;
    LONG stateRedChan = 1;
    LONG stateGreenChan = 1;
    LONG stateBlueChan = 1;
    LONG stateLinkBright = 1;
    LONG stateLinkContrast = 1;
    LONG stateLinkGamma = 1;
    LONG stateLinkExpLog = 1;
    LutChangeCallback callback = nullptr;
    void* context = nullptr;

    // Flag i (0..7) in record order.
    LONG& Flag(int index);
    LONG Flag(int index) const;
    // Takes the eight flags of other; callback and context stay.
    void CopyFlags(const LutEditState& other);

    // Callback and context are written as zeros: a pointer means nothing in a file.
    void WriteRecord(BYTE* record) const;
    // Takes the eight flags; callback and context stay.
    void ReadRecord(const BYTE* record);
};
