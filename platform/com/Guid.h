#pragma once

// Globally unique identifiers (GUID, and its names IID and CLSID) and their "{8-4-4-4-12}" text.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

#include <string_view>

struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

namespace guid_detail {

template <class Char>
constexpr int HexDigit(Char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Parses exactly "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits of either case).
template <class Char>
constexpr bool Parse(std::basic_string_view<Char> text, GUID* out) {
    constexpr int kLength = 38;
    if (static_cast<int>(text.size()) != kLength || text[0] != '{' || text[kLength - 1] != '}')
        return false;
    uint8_t bytes[16] = {};
    int byte = 0;
    for (int i = 1; i < kLength - 1;) {
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (text[i] != '-')
                return false;
            ++i;
            continue;
        }
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[byte++] = static_cast<uint8_t>(high * 16 + low);
        i += 2;
    }
    GUID g;
    g.Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
              bytes[3];
    g.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    g.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = bytes[8 + i];
    *out = g;
    return true;
}

}  // namespace guid_detail

// A GUID written in source as "{...}"; a malformed text does not compile.
consteval GUID GuidLiteral(const char (&text)[39]) {
    GUID g;
    if (!guid_detail::Parse(std::string_view(text, 38), &g))
        throw "malformed GUID literal";
    return g;
}

inline constexpr GUID GUID_NULL{};
inline constexpr IID IID_NULL{};

// Upper-case "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", the form the registry keeps.
QString StringFromGUID(REFGUID guid);
// True and *out set for a well-formed text (braces required, either case); false otherwise,
// *out untouched.
bool GUIDFromString(const QString& text, GUID* out);

// The class id of a "{...}" text: CO_E_CLASSSTRING for a malformed one, E_POINTER for no out.
HRESULT CLSIDFromString(const QString& text, CLSID* clsid);
inline QString StringFromCLSID(REFCLSID clsid) {
    return StringFromGUID(clsid);
}
