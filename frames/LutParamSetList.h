#pragma once

// CLutParamSetList: a sectioned list whose items are display parameter sets, for display
// settings kept per movie in project files. Its items are stored as the sets' record images.

#include "frames/lutparams/LutParamSet.h"
#include "tracking/sectioned/SectionedList.h"

#include <algorithm>
#include <cstring>

template <>
struct SectionedItemTraits<CLutParamSet> {
    static constexpr int kRecordSize = CLutParamSet::kRecordBytes;
    static void Store(const CLutParamSet& item, uint8_t* record) { item.WriteRecord(record); }
    static void Load(CLutParamSet& item, const uint8_t* record) { item.ReadRecord(record); }
    // Record images are compared, so that a set that differs from the default only in its label
    // or type is still written.
    static bool Equal(const CLutParamSet& a, const CLutParamSet& b) {
        uint8_t left[kRecordSize] = {};
        uint8_t right[kRecordSize] = {};
        a.WriteRecord(left);
        b.WriteRecord(right);
        return std::memcmp(left, right, kRecordSize) == 0;
    }
};

class CLutParamSetList : public CSectionedList<CLutParamSet> {
public:
    // Writes every entry as one section named by SetName at the file's position.
    // CFileException passes to the caller.
    void WriteToFile(CFile& file) const {
        CSectionedList::WriteToFile(file, 0, std::max(GetNumFrames() - 1, 0), 0);
    }
    // Finds the named section anywhere in the file and reads it: false when it is missing or
    // breaks off. CFileException passes to the caller.
    bool ReadFromFile(CFile& file) {
        return (CSectionedList::ReadFromFile(file) & kSectionFailed) == 0;
    }
};
