#pragma once

#include "platform/registry/RegNode.h"

#include <QStringList>
#include <QtGlobal>

// A hive's keys and values as one line each, in tree and insertion order, for comparing whole
// hives in tests: "Software\Tolvar" for a key, "Software\Tolvar|Name|4|2a000000" for a value.
inline void DumpNode(const CRegNode& node, const QString& path, QStringList* lines) {
    if (!path.isEmpty())
        lines->append(path);
    for (const RegValue& value : node.Values()) {
        lines->append(QStringLiteral("%1|%2|%3|%4")
                          .arg(path, value.name)
                          .arg(value.type)
                          .arg(QString::fromLatin1(value.data.toHex())));
    }
    for (const auto& child : node.Children())
        DumpNode(*child, path.isEmpty() ? child->Name() : path + '\\' + child->Name(), lines);
}

inline QStringList Dump(const CRegNode& root) {
    QStringList lines;
    DumpNode(root, QString(), &lines);
    return lines;
}

// Collects the warnings logged while it lives instead of printing them.
class WarningCatcher {
public:
    WarningCatcher() : m_previous(qInstallMessageHandler(&Catch)) { Caught().clear(); }
    ~WarningCatcher() { qInstallMessageHandler(m_previous); }
    WarningCatcher(const WarningCatcher&) = delete;
    WarningCatcher& operator=(const WarningCatcher&) = delete;

    const QStringList& Warnings() const { return Caught(); }

private:
    static QStringList& Caught() {
        static QStringList caught;
        return caught;
    }
    static void Catch(QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtWarningMsg)
            Caught().append(text);
    }

    QtMessageHandler m_previous;
};
