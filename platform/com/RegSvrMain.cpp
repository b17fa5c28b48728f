// regsvr: registers (or with -u unregisters) the classes of an in-process server module by
// calling its DllRegisterServer / DllUnregisterServer. Prints one line; exit status 0 on
// success, 1 for wrong usage, 2 when the module cannot be loaded, 3 when it lacks the entry
// point, 4 when the entry point fails.

#include "platform/com/ComServer.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: regsvr [-u] MODULE\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    const char* moduleArg = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-u") == 0 && !unregister)
            unregister = true;
        else if (!moduleArg && argv[i][0] != '-')
            moduleArg = argv[i];
        else
            return Usage();
    }
    if (!moduleArg)
        return Usage();

    const QFileInfo file(QFile::decodeName(moduleArg));
    const QByteArray path = QFile::encodeName(file.absoluteFilePath());
    if (!file.isFile()) {
        std::fprintf(stderr, "regsvr: %s: no such module\n", path.constData());
        return 2;
    }
    void* handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "regsvr: %s: cannot load: %s\n", path.constData(), dlerror());
        return 2;
    }
    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto entry = reinterpret_cast<DllRegisterServerFunction>(dlsym(handle, entryName));
    if (!entry) {
        std::fprintf(stderr, "regsvr: %s: no %s\n", path.constData(), entryName);
        dlclose(handle);
        return 3;
    }
    const HRESULT hr = entry();
    dlclose(handle);
    if (FAILED(hr)) {
        std::fprintf(stderr, "regsvr: %s: %s failed (0x%08X)\n", path.constData(), entryName,
                     static_cast<unsigned>(hr));
        return 4;
    }
    std::printf("regsvr: %s %s\n", unregister ? "unregistered" : "registered", path.constData());
    return 0;
}
