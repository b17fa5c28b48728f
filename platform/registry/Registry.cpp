#include "platform/registry/Registry.h"

#include "platform/registry/Hive.h"

#include <QDir>

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <unordered_set>

// A handle: the hive it was opened in and the path of its key below the hive's root. Handles
// find their key by path on every call, so they survive the hive being read again; a handle whose
// key was deleted gives ERROR_KEY_DELETED.
struct RegKey {
    int root = 0;
    QString hivePath;
    QStringList path;
    REGSAM access = 0;
};

namespace {

constexpr const char* kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                      "HKEY_LOCAL_MACHINE"};

RegKey s_roots[] = {
    {0, {}, {}, KEY_ALL_ACCESS}, {1, {}, {}, KEY_ALL_ACCESS}, {2, {}, {}, KEY_ALL_ACCESS}};

struct RegistryState {
    // Keyed by file path, so a changed registry folder gets hives of its own.
    std::map<QString, std::unique_ptr<CHive>> hives;
    std::unordered_set<const RegKey*> openKeys;
};

RegistryState& State() {
    static RegistryState state;
    return state;
}

bool IsRoot(HKEY key) {
    return key == &s_roots[0] || key == &s_roots[1] || key == &s_roots[2];
}

QString RegistryFolder() {
    const QString own = qEnvironmentVariable("REELMARK_REGISTRY_DIR");
    if (!own.isEmpty())
        return own;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Tolvar/registry");
}

CHive* HiveAt(const QString& path, int root) {
    auto& hives = State().hives;
    auto it = hives.find(path);
    if (it == hives.end())
        it = hives.emplace(path, std::make_unique<CHive>(path, QLatin1String(kRootNames[root])))
                 .first;
    return it->second.get();
}

// The key a call works on, with its hive and node.
struct Target {
    HKEY key = nullptr;
    CHive* hive = nullptr;
    CRegNode* node = nullptr;
};

long Resolve(HKEY key, Target* target) {
    if (!key)
        return ERROR_INVALID_HANDLE;
    if (IsRoot(key)) {
        const QString path =
            QDir::cleanPath(RegistryFolder() + QChar('/') + QLatin1String(kRootNames[key->root]) +
                            QStringLiteral(".reg"));
        target->hive = HiveAt(path, key->root);
    } else if (State().openKeys.count(key) != 0) {
        target->hive = HiveAt(key->hivePath, key->root);
    } else {
        return ERROR_INVALID_HANDLE;
    }
    target->key = key;
    target->node = target->hive->Root()->Find(key->path);
    return target->node ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// Like Resolve, and also checks that the handle was opened with `needed`.
long ResolveFor(HKEY key, REGSAM needed, Target* target) {
    const long result = Resolve(key, target);
    if (result != ERROR_SUCCESS)
        return result;
    return (key->access & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

// The names of a subkey path; empty parts (as from "a\\\\b" or a leading backslash) are
// skipped. Nothing when a name could not be stored.
std::optional<QStringList> SplitPath(const QString& subKey) {
    const QStringList names = subKey.split(QChar('\\'), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        if (!IsStorableRegName(name))
            return std::nullopt;
    }
    return names;
}

HKEY NewHandle(const Target& parent, const QStringList& path, REGSAM access) {
    auto* key = new RegKey{parent.key->root, parent.hive->FilePath(), path, access};
    State().openKeys.insert(key);
    return key;
}

// Changes made through a root handle are written at once: nobody closes a root handle.
long Finish(const Target& target) {
    return IsRoot(target.key) ? target.hive->Save() : ERROR_SUCCESS;
}

long CopyData(const RegValue& value, DWORD* type, BYTE* data, DWORD* dataBytes) {
    if (type)
        *type = value.type;
    const auto size = static_cast<DWORD>(value.data.size());
    if (data) {
        if (*dataBytes < size) {
            *dataBytes = size;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, value.data.constData(), size);
    }
    if (dataBytes)
        *dataBytes = size;
    return ERROR_SUCCESS;
}

}  // namespace

const HKEY HKEY_CLASSES_ROOT = &s_roots[0];
const HKEY HKEY_CURRENT_USER = &s_roots[1];
const HKEY HKEY_LOCAL_MACHINE = &s_roots[2];

long RegOpenKeyEx(HKEY key, const QString& subKey, DWORD /*options*/, REGSAM access, HKEY* result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    Target parent;
    if (const long error = Resolve(key, &parent); error == ERROR_INVALID_HANDLE)
        return error;
    parent.hive->Refresh();
    if (const long error = Resolve(key, &parent); error != ERROR_SUCCESS)
        return error;
    const auto names = SplitPath(subKey);
    if (!names)
        return ERROR_FILE_NOT_FOUND;
    const QStringList path = key->path + *names;
    if (!parent.hive->Root()->Find(path))
        return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(parent, path, access);
    return ERROR_SUCCESS;
}

long RegCreateKeyEx(HKEY key, const QString& subKey, REGSAM access, HKEY* result,
                    DWORD* disposition) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    Target parent;
    if (const long error = Resolve(key, &parent); error == ERROR_INVALID_HANDLE)
        return error;
    parent.hive->Refresh();
    if (const long error = Resolve(key, &parent); error != ERROR_SUCCESS)
        return error;
    const auto names = SplitPath(subKey);
    if (!names)
        return ERROR_INVALID_PARAMETER;
    const QStringList path = key->path + *names;
    const bool exists = parent.hive->Root()->Find(path) != nullptr;
    if (!exists) {
        if ((key->access & KEY_CREATE_SUB_KEY) == 0)
            return ERROR_ACCESS_DENIED;
        parent.hive->CreateKey(path);
    }
    if (disposition)
        *disposition = exists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *result = NewHandle(parent, path, access);
    return ERROR_SUCCESS;
}

long RegCloseKey(HKEY key) {
    if (IsRoot(key))
        return ERROR_SUCCESS;
    auto& openKeys = State().openKeys;
    if (!key || openKeys.count(key) == 0)
        return ERROR_INVALID_HANDLE;
    CHive* hive = HiveAt(key->hivePath, key->root);
    openKeys.erase(key);
    delete key;
    return hive->Save();
}

long RegQueryValueEx(HKEY key, const QString& valueName, DWORD* type, BYTE* data,
                     DWORD* dataBytes) {
    if (data && !dataBytes)
        return ERROR_INVALID_PARAMETER;
    Target target;
    if (const long error = ResolveFor(key, KEY_QUERY_VALUE, &target); error != ERROR_SUCCESS)
        return error;
    const RegValue* value = target.node->FindValue(valueName);
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    return CopyData(*value, type, data, dataBytes);
}

long RegSetValueEx(HKEY key, const QString& valueName, DWORD type, const BYTE* data,
                   DWORD dataBytes) {
    if (!data && dataBytes != 0)
        return ERROR_INVALID_PARAMETER;
    Target target;
    if (const long error = ResolveFor(key, KEY_SET_VALUE, &target); error != ERROR_SUCCESS)
        return error;
    if (!IsStorableRegName(valueName))
        return ERROR_INVALID_PARAMETER;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(dataBytes));
    target.hive->SetValue(key->path, valueName, type, bytes);
    return Finish(target);
}

long RegDeleteValue(HKEY key, const QString& valueName) {
    Target target;
    if (const long error = ResolveFor(key, KEY_SET_VALUE, &target); error != ERROR_SUCCESS)
        return error;
    if (!target.node->FindValue(valueName))
        return ERROR_FILE_NOT_FOUND;
    target.hive->DeleteValue(key->path, valueName);
    return Finish(target);
}

long RegDeleteKey(HKEY key, const QString& subKey) {
    Target target;
    if (const long error = ResolveFor(key, KEY_SET_VALUE, &target); error != ERROR_SUCCESS)
        return error;
    const auto names = SplitPath(subKey);
    if (names && names->isEmpty())
        return ERROR_INVALID_PARAMETER;
    const CRegNode* node = names ? target.node->Find(*names) : nullptr;
    if (!node)
        return ERROR_FILE_NOT_FOUND;
    if (!node->Children().empty())
        return ERROR_ACCESS_DENIED;
    target.hive->DeleteKey(key->path + *names, false);
    return Finish(target);
}

long RegDeleteTree(HKEY key, const QString& subKey) {
    Target target;
    if (const long error = ResolveFor(key, KEY_SET_VALUE, &target); error != ERROR_SUCCESS)
        return error;
    const auto names = SplitPath(subKey);
    if (!names || !target.node->Find(*names))
        return ERROR_FILE_NOT_FOUND;
    if (names->isEmpty())
        target.hive->ClearKey(key->path);
    else
        target.hive->DeleteKey(key->path + *names, true);
    return Finish(target);
}

long RegEnumKeyEx(HKEY key, DWORD index, QString* name) {
    if (!name)
        return ERROR_INVALID_PARAMETER;
    Target target;
    if (const long error = ResolveFor(key, KEY_ENUMERATE_SUB_KEYS, &target); error != ERROR_SUCCESS)
        return error;
    const auto& children = target.node->Children();
    if (index >= children.size())
        return ERROR_NO_MORE_ITEMS;
    *name = children[index]->Name();
    return ERROR_SUCCESS;
}

long RegEnumValue(HKEY key, DWORD index, QString* name, DWORD* type, BYTE* data, DWORD* dataBytes) {
    if (data && !dataBytes)
        return ERROR_INVALID_PARAMETER;
    Target target;
    if (const long error = ResolveFor(key, KEY_QUERY_VALUE, &target); error != ERROR_SUCCESS)
        return error;
    const auto& values = target.node->Values();
    if (index >= values.size())
        return ERROR_NO_MORE_ITEMS;
    if (name)
        *name = values[index].name;
    return CopyData(values[index], type, data, dataBytes);
}

long RegFlushKey(HKEY key) {
    Target target;
    const long error = Resolve(key, &target);
    if (error == ERROR_INVALID_HANDLE)
        return error;
    return target.hive->Save();
}

long RegQueryDword(HKEY key, const QString& valueName, DWORD* value) {
    if (!value)
        return ERROR_INVALID_PARAMETER;
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (const long error = RegQueryValueEx(key, valueName, nullptr, bytes, &size);
        error != ERROR_SUCCESS)
        return error;
    if (size != sizeof bytes)
        return ERROR_INVALID_DATA;
    *value = bytes[0] | (static_cast<DWORD>(bytes[1]) << 8) | (static_cast<DWORD>(bytes[2]) << 16) |
             (static_cast<DWORD>(bytes[3]) << 24);
    return ERROR_SUCCESS;
}

long RegSetDword(HKEY key, const QString& valueName, DWORD value) {
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                           static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    return RegSetValueEx(key, valueName, REG_DWORD, bytes, sizeof bytes);
}

long RegQueryString(HKEY key, const QString& valueName, QString* value) {
    if (!value)
        return ERROR_INVALID_PARAMETER;
    DWORD type = 0;
    DWORD size = 0;
    if (const long error = RegQueryValueEx(key, valueName, &type, nullptr, &size);
        error != ERROR_SUCCESS)
        return error;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    QByteArray bytes(static_cast<qsizetype>(size), '\0');
    if (const long error =
            RegQueryValueEx(key, valueName, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        error != ERROR_SUCCESS)
        return error;
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<uint8_t>(bytes.at(i)) |
                                                (static_cast<uint8_t>(bytes.at(i + 1)) << 8));
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    *value = text;
    return ERROR_SUCCESS;
}

long RegSetString(HKEY key, const QString& valueName, const QString& value) {
    const QByteArray bytes = RegStringData(value);
    return RegSetValueEx(key, valueName, REG_SZ, reinterpret_cast<const BYTE*>(bytes.constData()),
                         static_cast<DWORD>(bytes.size()));
}
