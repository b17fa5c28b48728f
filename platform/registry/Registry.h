#pragma once

// The registry: hives of keys and typed values with the Win32 function semantics, kept in one
// text file per hive (see README: "Where settings live"). Functions return Win32 error numbers
// (ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_MORE_DATA, ...). Key and value names compare
// case-insensitively and keep the case they were created with. One thread only.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

struct RegKey;
using HKEY = RegKey*;

extern const HKEY HKEY_CLASSES_ROOT;
extern const HKEY HKEY_CURRENT_USER;
extern const HKEY HKEY_LOCAL_MACHINE;

using REGSAM = DWORD;
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// String values (REG_SZ, REG_EXPAND_SZ) travel as UTF-16LE bytes with a terminating zero
// character, as the wide Win32 functions pass them; RegQueryString/RegSetString do that for you.

// Opens an existing key; the handle must be closed with RegCloseKey.
long RegOpenKeyEx(HKEY key, const QString& subKey, DWORD options, REGSAM access, HKEY* result);
// Opens or creates a key and every missing key above it. *disposition (optional) tells which.
long RegCreateKeyEx(HKEY key, const QString& subKey, REGSAM access, HKEY* result,
                    DWORD* disposition = nullptr);
long RegCloseKey(HKEY key);

// Win32 rules: a missing value gives ERROR_FILE_NOT_FOUND; data == nullptr asks only for type
// and size; a buffer smaller than the value gives ERROR_MORE_DATA with *dataBytes set to the
// size needed.
long RegQueryValueEx(HKEY key, const QString& valueName, DWORD* type, BYTE* data, DWORD* dataBytes);
// Keeps the type and the bytes exactly as given (8 bytes under REG_DWORD stay 8 bytes).
// A handle opened without KEY_SET_VALUE gives ERROR_ACCESS_DENIED.
long RegSetValueEx(HKEY key, const QString& valueName, DWORD type, const BYTE* data,
                   DWORD dataBytes);
long RegDeleteValue(HKEY key, const QString& valueName);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED otherwise, as on Windows).
long RegDeleteKey(HKEY key, const QString& subKey);
// Deletes a key with all its subkeys and values.
long RegDeleteTree(HKEY key, const QString& subKey);

// Enumeration in insertion order; ERROR_NO_MORE_ITEMS past the end.
long RegEnumKeyEx(HKEY key, DWORD index, QString* name);
long RegEnumValue(HKEY key, DWORD index, QString* name, DWORD* type, BYTE* data, DWORD* dataBytes);

// Writes the hive of the key to its file now (otherwise done on RegCloseKey of a changed key).
long RegFlushKey(HKEY key);

// Conveniences over the functions above.
long RegQueryDword(HKEY key, const QString& valueName, DWORD* value);
long RegSetDword(HKEY key, const QString& valueName, DWORD value);
long RegQueryString(HKEY key, const QString& valueName, QString* value);
long RegSetString(HKEY key, const QString& valueName, const QString& value);
