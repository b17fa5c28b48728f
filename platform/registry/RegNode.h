#pragma once

#include "platform/wintypes/WinTypes.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// One typed registry value: its name as created, its type code and its raw bytes.
struct RegValue {
    QString name;
    DWORD type = 0;
    QByteArray data;
};

// A registry key in memory: values and subkeys in insertion order, found by name without regard
// to case while keeping the case each was created with. Names are looked up through an index of
// their case-folded form, so a key with tens of thousands of subkeys or values still reads in
// linear time.
class CRegNode {
public:
    explicit CRegNode(QString name) : m_name(std::move(name)) {}
    CRegNode(const CRegNode&) = delete;
    CRegNode& operator=(const CRegNode&) = delete;

    const QString& Name() const { return m_name; }

    const std::vector<std::unique_ptr<CRegNode>>& Children() const { return m_children; }
    CRegNode* FindChild(const QString& name) const;
    // Returns the existing subkey of that name, or appends a new one.
    CRegNode* AddChild(const QString& name, bool* created = nullptr);
    bool RemoveChild(const QString& name);

    const std::vector<RegValue>& Values() const { return m_values; }
    const RegValue* FindValue(const QString& name) const;
    // Replaces type and data in place (name case and position stay) or appends a new value.
    void SetValue(const QString& name, DWORD type, const QByteArray& data);
    bool RemoveValue(const QString& name);

    // Removes every value and subkey.
    void Clear();

    // The key at `path` below this one (empty path: this key), or null.
    CRegNode* Find(const QStringList& path);
    // Creates every missing key along `path`; *created tells whether the last one was new.
    CRegNode* Ensure(const QStringList& path, bool* created = nullptr);

private:
    void RebuildIndexes();

    QString m_name;
    std::vector<RegValue> m_values;
    std::vector<std::unique_ptr<CRegNode>> m_children;
    // Case-folded name to position in m_values / m_children.
    QHash<QString, size_t> m_valueIndex;
    QHash<QString, size_t> m_childIndex;
};

// The deepest key a hive holds below its root, as in the system registry. A hive file asking for
// deeper keys is damaged: every key is written with its whole path, so the written size grows with
// the square of the depth.
inline constexpr int kMaxRegKeyDepth = 512;

// Whether `name` can be stored as a key or value name: valid UTF-16 without NUL, CR or LF,
// which the hive file could not carry.
bool IsStorableRegName(const QString& name);

// REG_SZ data as the wide functions pass it: UTF-16LE with a terminating zero character.
QByteArray RegStringData(const QString& text);
