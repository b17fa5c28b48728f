// An option file loaded into each of the program's option stores, as the stores load their
// files at start, and saved back.

#include "fuzz/FuzzSupport.h"
#include "shell/DlgOptionsAutoDown.h"
#include "shell/DlgOptionsRecord.h"
#include "shell/DlgProgramOptions.h"
#include "shell/DlgSnapkeepOptions.h"

namespace {

void LoadAndSave(CDlgOptionsBase& store, const QString& path) {
    store.LoadFromFile(path);
    store.SaveToFile(FuzzFile(nullptr, 0, QStringLiteral("saved.opt")));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.opt"));
    CDlgProgramOptions program;
    LoadAndSave(program, path);
    CDlgOptionsRecord record;
    LoadAndSave(record, path);
    CDlgOptionsAutoDown autoDown;
    LoadAndSave(autoDown, path);
    CDlgSnapkeepOptions snapkeep;
    LoadAndSave(snapkeep, path);
    return 0;
}
