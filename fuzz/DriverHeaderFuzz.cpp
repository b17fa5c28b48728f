// A file on the driver path, found as the program looks for driver modules when it lists the
// device families: anything but a whole driver module is skipped with a report naming it, and
// none of its families is ever listed.

#include "devices/core/DriverLoader.h"
#include "fuzz/FuzzSupport.h"

#include <QFileInfo>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The scratch folder holds no other module.
    const QString path = FuzzFile(data, size, QStringLiteral("input.so"));
    DriverLoader::ResetForTests();
    DriverLoader::ScanFolders({QFileInfo(path).absolutePath()});
    bool listed = false;
    for (const DriverFamilyInfo& family : DriverLoader::ListFamilies())
        listed = listed || family.driver == QStringLiteral("input.so");
    const QStringList reports = DriverLoader::Reports();
    const bool skipped =
        reports.size() == 1 &&
        reports.front().startsWith(QStringLiteral("Driver %1 skipped: ").arg(path));
    if (listed == skipped)
        std::abort();
    DriverLoader::ResetForTests();
    return 0;
}
