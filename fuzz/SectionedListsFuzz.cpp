// A tracking file: every kind of sectioned list the tracking records are kept in, each found
// and read from the same bytes, then its entries taken and the list written back and read
// again, as a tracking run loads, uses and saves its data.

#include "fuzz/FuzzSupport.h"
#include "platform/framework/File.h"
#include "tracking/records/CalibrationData.h"
#include "tracking/records/FeatureStyle.h"
#include "tracking/records/TrackFeature.h"
#include "tracking/records/TrackPoint.h"
#include "tracking/records/TrackRegion.h"
#include "tracking/records/TrackSample.h"
#include "tracking/sectioned/SectionedList.h"

#include <algorithm>

namespace {

template <class Item>
void ReadUseAndSave(const QString& path, const char* name) {
    CSectionedList<Item> list;
    list.SetName(QString::fromLatin1(name));
    {
        CFile file(path, CFile::modeRead);
        if (list.ReadFromFile(file) & kSectionFailed)
            return;
    }
    const int frames = list.GetNumFrames();
    const int lists = list.GetNumLists();
    for (int l = 0; l < std::min(lists, 4); ++l) {
        for (const int f : {0, frames / 2, frames - 1})
            list.GetItem(f, l);
    }
    // A file may declare lists of up to a quarter of a gigabyte; writing such a list back is a
    // long job, not a fault, and leaves the fuzzer no time for anything else.
    constexpr int64_t kMostWrittenEntries = 1 << 20;
    if (int64_t{frames} * lists > kMostWrittenEntries)
        return;
    const QString saved = FuzzFile(nullptr, 0, QStringLiteral("saved.trk"));
    try {
        CFile file(saved, CFile::modeCreate | CFile::modeWrite);
        list.WriteToFile(file, 0, std::max(frames - 1, 0), 0);
    } catch (const CInvalidArgException&) {
        // A per-frame list read without frames has no frame 0 to write; nothing was written.
    }
    CSectionedList<Item> again;
    again.SetName(QString::fromLatin1(name));
    CFile file(saved, CFile::modeRead);
    again.ReadFromFile(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.trk"));
    ReadUseAndSave<CTrackPoint>(path, "FC");
    ReadUseAndSave<CTrackRegion>(path, "FR");
    ReadUseAndSave<CTrackFeature>(path, "FO");
    ReadUseAndSave<CTrackSample>(path, "TS");
    ReadUseAndSave<CCalibrationData>(path, "CI");
    ReadUseAndSave<CFeatureStyle>(path, "FS");
    ReadUseAndSave<int32_t>(path, "LG");
    return 0;
}
