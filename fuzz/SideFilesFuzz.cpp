// The side files other programs leave beside a recording: the same bytes read as the event
// file (".evt"), the camera header (".cih") and the acquisition settings ("_config.xsv"), each
// into the record of a recording, which a frame source then takes.

#include "frames/CfgFileInfo.h"
#include "frames/FrameSource.h"
#include "frames/SideFileReaders.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using Reader = int (*)(const QString&, CCfgFileInfo*);
    const struct {
        const char* name;
        Reader read;
    } readers[] = {
        {"input.evt", ReadEventFile},
        {"input.cih",
         [](const QString& path, CCfgFileInfo* record) {
             return ReadCameraHeaderFile(path, record, false);
         }},
        {"input_config.xsv", ReadAcquisitionIniFile},
    };
    for (const auto& reader : readers) {
        const QString path = FuzzFile(data, size, QString::fromLatin1(reader.name));
        CCfgFileInfo record;
        if (!reader.read(path, &record))
            continue;
        CFrameSource source;
        source.SetCfgFileInfo(record);
        QString date;
        QString time;
        source.GetStartTimeText(&date, &time);
        source.GetFrameTimeText(record.m_firstFrame, record.m_rateHz, &date, &time);
    }
    return 0;
}
