// The update server's answer, served by a local HTTP server named as the "Update Server": the
// check fetches it, finds the program's line and compares the version it names with its own.

#include "fuzz/FuzzSupport.h"
#include "platform/registry/Registry.h"
#include "shell/DlgUpdateCheck.h"
#include "testsupport/LocalHttpServer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInit();
    static LocalHttpServer* server = [] {
        auto* local = new LocalHttpServer;
        HKEY key = nullptr;
        if (RegCreateKeyEx(HKEY_LOCAL_MACHINE,
                           QStringLiteral("Software\\Tolvar\\Vidra OS\\Options"), KEY_WRITE,
                           &key) != ERROR_SUCCESS ||
            RegSetString(key, QStringLiteral("Update Server"), local->Address()) != ERROR_SUCCESS)
            std::abort();
        RegCloseKey(key);
        return local;
    }();
    server->Answer(200,
                   QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    CDlgUpdateCheck check;
    QString version;
    QString link;
    QString notes;
    if (!check.FetchLatestVersion(CDlgUpdateCheck::ProductKey(), version, link, notes, FALSE))
        return 0;
    CDlgUpdateCheck::CompareVersions(CDlgUpdateCheck::Version(), version);
    return 0;
}
