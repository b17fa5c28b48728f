#pragma once

// IProjectPlayGroup: what a project asks of the play-group document it holds. The play-group
// document implements it; a group document without it simply is not asked.

#include "platform/wintypes/WinTypes.h"

#include <QString>

class IProjectPlayGroup {
public:
    // The play-group file that the next LoadPlayGroup reads.
    virtual void SetPendingPath(const QString& path) = 0;
    // Loads the pending play-group file into the group; FALSE when it could not.
    virtual BOOL LoadPlayGroup() = 0;
    // Adds one playback of the file; FALSE when the file could not be added (the group has
    // reported why).
    virtual BOOL AddPlaybackFromFile(const QString& path) = 0;
    // Adds the file's similarly named companion files.
    virtual void OpenFileWithSimilarlyNamed(const QString& path) = 0;

protected:
    ~IProjectPlayGroup() = default;
};
