#include "sensordata/model/DiskSpace.h"

#include "platform/framework/IPrompter.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"

#include <QDir>
#include <QStorageInfo>

namespace {

DiskSpaceQuery& Query() {
    static DiskSpaceQuery s_query;
    return s_query;
}

int64_t SystemFreeBytes(const QString& folder) {
    const QStorageInfo storage(folder.isEmpty() ? QDir::currentPath() : folder);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

}  // namespace

void SetDiskSpaceQuery(DiskSpaceQuery query) {
    Query() = std::move(query);
}

QString FolderOfPath(const QString& path) {
    const int cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return cut < 0 ? QString() : path.left(cut == 0 ? 1 : cut);
}

bool CheckDiskSpaceKb(int64_t neededKb, const QString& folder, bool showMessage) {
    const int64_t freeBytes = Query() ? Query()(folder) : SystemFreeBytes(folder);
    if (freeBytes < 0 || neededKb < (freeBytes >> 10))
        return true;
    if (showMessage) {
        CWnd* main = AfxGetMainWnd();
        AfxPrompter().MessageBox({QStringLiteral("Insufficient Disk Space."),
                                  QStringLiteral("Error"), MB_OK | MB_ICONEXCLAMATION,
                                  main ? main->GetQWidget() : nullptr});
    }
    return false;
}
