// A ".cfg" side file read for a recording, and its values taken by a frame source that then
// shows the time texts of frames, as the status bar does.

#include "frames/CfgFileInfo.h"
#include "frames/FrameSource.h"
#include "fuzz/FuzzSupport.h"

#include <QDir>
#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString cfg = FuzzFile(data, size, QStringLiteral("input.cfg"));
    CCfgFileInfo info;
    if (!info.Load(cfg, nullptr, false))
        return 0;
    CFrameSource source;
    source.SetCfgFileInfo(info);
    QString date;
    QString time;
    source.GetStartTimeText(&date, &time);
    for (const int frame : {0, -1, 1000000, info.m_firstFrame})
        source.GetFrameTimeText(frame, info.m_rateHz, &date, &time);
    // A source opened from no file saves its ".cfg" in the current folder: the scratch folder,
    // and the caller's again afterwards.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QFileInfo(cfg).absolutePath());
    source.SaveCfgFile();
    QDir::setCurrent(before);
    return 0;
}
