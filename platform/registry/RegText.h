#pragma once

#include "platform/registry/RegNode.h"

#include <QByteArray>
#include <QString>

// Reads and writes a hive in the .reg text form, UTF-8:
//   [HKEY_CURRENT_USER\Software\Tolvar]
//   "AppBehave : bPR_StartMax"=dword:00000001
//   "Path"="C:\\Data \"new\""
//   "Blob"=hex:01,02,03
//   "LastUpdateCheck"=hex(4):01,02,03,04,05,06,07,08
//   @="default value"
// Every key has its own section, parents before children, so empty keys and the insertion
// order of keys and values survive a write and a read. `dword:` and `"text"` are used only where
// they give the stored bytes back exactly; everything else is written as `hex(type):`.
class CRegText {
public:
    // What a read could not use. A file that was cut short counts its incomplete last line.
    struct Damage {
        int problems = 0;
        int firstLine = 0;  // 1-based line of the first problem
        QString firstReason;
    };

    // Adds the keys and values of `text` under `root`, whose name in section headers is
    // `rootName`. Unreadable lines (and values in sections that cannot be read) are skipped; the
    // rest loads.
    static Damage Read(const QByteArray& text, const QString& rootName, CRegNode* root);
    static QByteArray Write(const CRegNode& root, const QString& rootName);
};
