#pragma once

// The registry: hives of keys and typed values with the Win32 function semantics, kept in one
// text file per hive (see README: "Where settings live"). Functions return Win32 error numbers
// (ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_MORE_DATA, ...). Key and value names compare
// case-insensitively and keep the case they were created with; keys and values enumerate in the
// order they were created. One thread only.
//
// Files: HKEY_CLASSES_ROOT.reg, HKEY_CURRENT_USER.reg and HKEY_LOCAL_MACHINE.reg in
// $REELMARK_REGISTRY_DIR, else $XDG_CONFIG_HOME/Tolvar/registry, else ~/.config/Tolvar/registry
// (the folder is looked up again on every call through a root handle). A hive is read on first
// use and read again when a key of it is opened or created after another process replaced its
// file. A damaged file loads its readable part; the damaged file is kept as "<file>.damaged" and
// reported once on stderr.
//
// When changes are written: a hive with unsaved changes is written when any handle of it is
// closed (RegCloseKey) or flushed (RegFlushKey); a change made directly through a root handle
// (HKEY_CURRENT_USER, ...) is written at once. Writing takes the hive's lock file, reads the file
// again and applies only this process's changes on top, so values that other processes wrote in
// the meantime are kept; the file is replaced atomically. When writing fails, the call returns
// ERROR_CANTWRITE (or ERROR_CANTREAD when the file cannot be read back), the change stays in
// memory and is written with the next successful write.
//
// Names holding NUL, CR, LF or broken UTF-16 cannot be stored: creating or setting them gives
// ERROR_INVALID_PARAMETER, looking them up ERROR_FILE_NOT_FOUND. Empty parts of a subkey path
// (doubled or leading backslashes) are skipped. An invalid or closed handle gives
// ERROR_INVALID_HANDLE; a handle whose key was deleted gives ERROR_KEY_DELETED.

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

// Opens an existing key (empty subKey: the key itself); the handle must be closed with
// RegCloseKey. `options` is not used.
long RegOpenKeyEx(HKEY key, const QString& subKey, DWORD options, REGSAM access, HKEY* result);
// Opens or creates a key and every missing key above it. *disposition (optional) tells which.
// Creating needs a parent handle with KEY_CREATE_SUB_KEY (ERROR_ACCESS_DENIED otherwise).
long RegCreateKeyEx(HKEY key, const QString& subKey, REGSAM access, HKEY* result,
                    DWORD* disposition = nullptr);
// Frees the handle (closing a root handle does nothing) and writes its hive when it has unsaved
// changes; the handle is gone even when that write fails.
long RegCloseKey(HKEY key);

// Access: querying and enumerating values needs KEY_QUERY_VALUE, enumerating subkeys
// KEY_ENUMERATE_SUB_KEYS, setting and deleting values and deleting keys KEY_SET_VALUE; a handle
// without the right gives ERROR_ACCESS_DENIED (a KEY_READ handle refuses every change). Root
// handles have every right.

// Win32 rules: a missing value gives ERROR_FILE_NOT_FOUND; data == nullptr asks only for type
// and size; a buffer smaller than the value gives ERROR_MORE_DATA with *dataBytes set to the
// size needed.
long RegQueryValueEx(HKEY key, const QString& valueName, DWORD* type, BYTE* data, DWORD* dataBytes);
// Keeps the type and the bytes exactly as given (8 bytes under REG_DWORD stay 8 bytes).
// A handle opened without KEY_SET_VALUE gives ERROR_ACCESS_DENIED.
long RegSetValueEx(HKEY key, const QString& valueName, DWORD type, const BYTE* data,
                   DWORD dataBytes);
long RegDeleteValue(HKEY key, const QString& valueName);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED otherwise, as on Windows). An empty
// subKey gives ERROR_INVALID_PARAMETER.
long RegDeleteKey(HKEY key, const QString& subKey);
// Deletes a key with all its subkeys and values; with an empty subKey it empties the key itself.
long RegDeleteTree(HKEY key, const QString& subKey);

// Enumeration in insertion order; ERROR_NO_MORE_ITEMS past the end. RegEnumValue fills the
// value's data as RegQueryValueEx does (the name is filled even when it gives ERROR_MORE_DATA).
long RegEnumKeyEx(HKEY key, DWORD index, QString* name);
long RegEnumValue(HKEY key, DWORD index, QString* name, DWORD* type, BYTE* data, DWORD* dataBytes);

// Writes the unsaved changes of the key's hive to its file now.
long RegFlushKey(HKEY key);

// Conveniences over the functions above.
// Reads 4 bytes of any type as a little-endian number; longer data gives ERROR_MORE_DATA,
// shorter ERROR_INVALID_DATA.
long RegQueryDword(HKEY key, const QString& valueName, DWORD* value);
long RegSetDword(HKEY key, const QString& valueName, DWORD value);
// Reads a REG_SZ or REG_EXPAND_SZ value up to its first zero character; other types give
// ERROR_INVALID_DATA.
long RegQueryString(HKEY key, const QString& valueName, QString* value);
long RegSetString(HKEY key, const QString& valueName, const QString& value);
