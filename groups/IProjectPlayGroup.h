#pragma once

// IProjectPlayGroup: what a project asks of the play-group document it holds. The play-group
// document implements it; a group document without it simply is not asked.

#include "platform/wintypes/WinTypes.h"

#include <QString>

class CDocument;
class CView;

class IProjectPlayGroup {
public:
    // The play-group file (or media file) that the next LoadPlayGroup reads.
    virtual void SetPendingPath(const QString& path) = 0;
    // Loads the group from the pending path; modifiedAfterOpen is the modified flag each
    // opened entry leaves.
    virtual void LoadPlayGroup(int modifiedAfterOpen) = 0;
    // Adds one playback of the file (viewFlag for the group view, takePathName 1: the member
    // takes the path as its own); FALSE when the file could not be added (the group has
    // reported why). The outputs, when given, receive the member's document and view.
    virtual BOOL AddPlaybackFromFile(const QString& path, int viewFlag, int takePathName,
                                     CDocument** outDoc, CView** outView) = 0;
    // Adds the file's similarly named companion files; FALSE when there is none.
    virtual BOOL OpenFileWithSimilarlyNamed(const QString& path) = 0;

protected:
    ~IProjectPlayGroup() = default;
};
