#pragma once

// BSTR: a counted UTF-16 string that crosses interfaces. The 32-bit byte length sits just
// before the characters and a zero character follows them; a null BSTR means the empty string.
// Whoever receives a BSTR as an out-value or result frees it with SysFreeString.

#include "platform/wintypes/WinTypes.h"

#include <QString>

using OLECHAR = char16_t;
using BSTR = OLECHAR*;

// A copy of the zero-terminated text; nullptr for a null text.
BSTR SysAllocString(const OLECHAR* text);
// A string of length characters copied from text, or left zero when text is null.
// nullptr when out of memory.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
// Replaces *text by a copy of value (freeing the old string); FALSE when out of memory.
BOOL SysReAllocString(BSTR* text, const OLECHAR* value);
// Length in characters and bytes; 0 for a null BSTR.
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

// Conversions for our own code.
BSTR SysAllocQString(const QString& text);
QString QStringFromBstr(BSTR text);
