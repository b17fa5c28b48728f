#pragma once

// CCfgFileInfo: the timing of a recording (rate, exposure, first frame number, batch layout,
// start time) as kept in its side files, carried between those files and the frame source.

#include "platform/framework/Object.h"

#include <QString>

class CCfgFileInfo : public CObject {
    DECLARE_SERIAL(CCfgFileInfo)

public:
    static constexpr int kFurtherWords = 5;

    CCfgFileInfo() = default;
    CCfgFileInfo(const CCfgFileInfo&) = default;
    CCfgFileInfo& operator=(const CCfgFileInfo&) = default;

    // Writes the record (this one when null) to path through a temporary file: 1, or 0 after
    // "Could not save configuration file." when it cannot be written. An existing file is
    // only replaced by a complete one.
    int Save(const QString& path, const CCfgFileInfo* record = nullptr) const;
    // 1 when recording information was found for path (its .cfg file; with tryAlternatives
    // also the .evt file, the .cih camera header and the folder's "_config.xsv"). A damaged
    // or uninformative .cfg file counts as not found and changes nothing in the record.
    int Load(const QString& path, CCfgFileInfo* record = nullptr, bool tryAlternatives = true);

    // Stores the whole record; loading reads as much of it as the data holds (see Load).
    void Serialize(CArchive& ar) override;

    QString m_name;
    int m_rate = -1;  // frames per second
    int m_reserved1 = 0;
    int m_firstFrame = 0;   // recorded number of frame 0
    int m_exposureNs = -1;  // -1: unknown
    int m_framesPerBatch = -1;
    int m_reserved2 = -1;
    int m_batchOffset = 0;
    int m_cycle = 0;
    int m_further[kFurtherWords] = {};
    double m_rateHz = -1.0;  // the rate a frame source takes over
    int m_hasTimeStamp = 0;
    int m_year = 0;
    int m_month = 0;
    int m_day = 0;
    int m_msOfDay = 0;
    int m_refFrame = 0;  // frame number at that time
};
