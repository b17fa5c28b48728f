#pragma once

// printf/scanf-style formatting and parsing in the C locale, whatever locale the user runs:
// numbers in files, registry values and exported text always use '.' as decimal point.

#include <QString>

#include <string>

// Like snprintf with the given format; never truncates.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
QString QFormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Like sscanf; returns the number of fields assigned (or EOF).
int ScanC(const char* text, const char* format, ...) __attribute__((format(scanf, 2, 3)));
