#pragma once

// SaveThroughTemporary: writes a file under a temporary name in its target folder and renames
// it over the target only when every byte was written, so a failed save leaves the old file as
// it was and no partial file behind.

#include <QString>

#include <functional>

class CFile;

// write gets the open temporary file and reports failure by throwing (CException or
// std::exception) or by returning false. True when the target now holds what write wrote.
bool SaveThroughTemporary(const QString& path, const std::function<bool(CFile&)>& write);
