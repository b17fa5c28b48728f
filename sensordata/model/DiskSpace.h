#pragma once

// CheckDiskSpaceKb: whether a folder's volume has room for a file of a given size, with the
// message the data exports show when it has not.

#include <QString>

#include <cstdint>
#include <functional>

// Free bytes available to the caller on the volume of a folder; negative when unknown.
using DiskSpaceQuery = std::function<int64_t(const QString& folder)>;
// Replaces the system query (tests simulate a full disk); nullptr restores it.
void SetDiskSpaceQuery(DiskSpaceQuery query);

// True when neededKb is strictly below the free kilobytes of the folder's volume (the current
// folder's when folder is empty), or when the free space cannot be learnt and the write itself
// has to tell. Otherwise, with showMessage, "Insufficient Disk Space." / "Error" on the main
// window, and false.
bool CheckDiskSpaceKb(int64_t neededKb, const QString& folder, bool showMessage);
// The folder part of a path: up to its last '/' or '\', empty when it has neither.
QString FolderOfPath(const QString& path);
