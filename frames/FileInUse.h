#pragma once

// Whether a file is held by a reader: one of ours in this process (COpenFileRegistry), or
// another process holding an advisory lock on it. A file that does not exist is free.

#include <QString>
#include <QStringList>

bool IsFileInUse(const QString& path);

// What every writer asks before it opens a destination the user named: while the file is held
// as above (under any of its names, a hard link included), or is one of the files in
// alsoProtected (the inputs of the write, compared by device and inode), it shows a message
// naming the file and returns false, having written nothing. True when it may be written.
bool CheckWriteDestination(const QString& destination, const QStringList& alsoProtected = {});
