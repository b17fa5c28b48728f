#pragma once

// Whether a file is held by a reader: one of ours in this process (COpenFileRegistry), or
// another process holding an advisory lock on it. A file that does not exist is free.

#include <QString>

bool IsFileInUse(const QString& path);
