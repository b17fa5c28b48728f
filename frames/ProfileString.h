#pragma once

// Reads one value of an INI file the way the system's profile functions do: section and key
// names compare case-insensitively, blanks around names and values are dropped, a value wrapped
// in one pair of quotes loses them, the first matching section and key win, lines starting
// with ';' are comments. The value is cut to maxChars - 1 characters, as a buffer of maxChars
// characters would hold it.

#include <QString>

#include <optional>

// The value, or std::nullopt when the file does not open.
std::optional<QString> ReadProfileString(const QString& path, const QString& section,
                                         const QString& key, const QString& defaultValue,
                                         int maxChars);
