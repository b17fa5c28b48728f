// The program's own settings hive, read, walked, changed and saved as the settings layer does.

#include "fuzz/FuzzSupport.h"
#include "platform/registry/Hive.h"
#include "platform/registry/Registry.h"

namespace {

int Walk(const CRegNode* node) {
    int values = static_cast<int>(node->Values().size());
    for (const auto& child : node->Children())
        values += Walk(child.get());
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("HKEY_CURRENT_USER.reg"));
    CHive hive(path, QStringLiteral("HKEY_CURRENT_USER"));
    Walk(hive.Root());
    hive.SetValue({QStringLiteral("Software"), QStringLiteral("Fuzz")}, QStringLiteral("n"),
                  REG_DWORD, QByteArray(4, '\1'));
    hive.Save();
    CHive again(path, QStringLiteral("HKEY_CURRENT_USER"));
    Walk(again.Root());
    return 0;
}
