#include "lutcontrol/LutEditState.h"

#include <cstring>

namespace {

void PutInt32(BYTE* at, LONG value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<BYTE>(bits >> (8 * i));
}

LONG GetInt32(const BYTE* at) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(at[i]) << (8 * i);
    return static_cast<LONG>(bits);
}

}  // namespace

LONG& LutEditState::Flag(int index) {
    LONG* flags[kFlagCount] = {&stateColor,     &stateRedChan,    &stateGreenChan,
                               &stateBlueChan,  &stateLinkBright, &stateLinkContrast,
                               &stateLinkGamma, &stateLinkExpLog};
    return *flags[index];
}

LONG LutEditState::Flag(int index) const {
    return const_cast<LutEditState*>(this)->Flag(index);
}

void LutEditState::CopyFlags(const LutEditState& other) {
    for (int i = 0; i < kFlagCount; ++i)
        Flag(i) = other.Flag(i);
}

void LutEditState::WriteRecord(BYTE* record) const {
    std::memset(record, 0, kRecordBytes);
    for (int i = 0; i < kFlagCount; ++i)
        PutInt32(record + 4 * i, Flag(i));
}

void LutEditState::ReadRecord(const BYTE* record) {
    for (int i = 0; i < kFlagCount; ++i)
        Flag(i) = GetInt32(record + 4 * i);
}
