// A play-group file (".playgrp") read as a group opens it: each line resolved against the
// group's folder, which holds a few member files, and the members that exist collected.

#include "fuzz/FuzzSupport.h"
#include "groups/MeasurementFormDoc.h"

#include <QFileInfo>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const char* member : {"a.raw", "sub/b.mdat", "Mess\u00B01.avi"})
        FuzzFile(nullptr, 0, QString::fromUtf8(member));
    const QString path = FuzzFile(data, size, QStringLiteral("input.playgrp"));
    CMeasurementFormDoc group;
    group.ReadPlayGroupFile(path, 1);
    // Only files that exist are members.
    for (const QString& member : group.GetPendingList()) {
        if (!QFileInfo(member).isFile())
            std::abort();
    }
    return 0;
}
