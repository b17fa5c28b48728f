// Writes numbered DWORD values into one key of HKEY_CURRENT_USER, closing the key after each so
// that every value is saved on its own: the other process in the registry's two-writer tests.
//   registry_writer KEY PREFIX COUNT   ->  PREFIX0=0, PREFIX1=1, ...

#include "platform/registry/Registry.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: registry_writer KEY PREFIX COUNT\n");
        return 2;
    }
    const QString key = QString::fromLocal8Bit(argv[1]);
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        HKEY handle = nullptr;
        if (RegCreateKeyEx(HKEY_CURRENT_USER, key, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS ||
            RegSetDword(handle, prefix + QString::number(i), static_cast<DWORD>(i)) !=
                ERROR_SUCCESS) {
            std::fprintf(stderr, "registry_writer: writing %s%d failed\n", argv[2], i);
            return 1;
        }
        if (const long error = RegCloseKey(handle); error != ERROR_SUCCESS) {
            std::fprintf(stderr, "registry_writer: saving %s%d failed (%ld)\n", argv[2], i, error);
            return 1;
        }
    }
    return 0;
}
