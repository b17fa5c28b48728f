#include "platform/com/Bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

uint32_t* Header(BSTR text) {
    return reinterpret_cast<uint32_t*>(text) - 1;
}

size_t Length(const OLECHAR* text) {
    size_t n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    if (length > (std::numeric_limits<uint32_t>::max() - 8) / sizeof(OLECHAR))
        return nullptr;
    const size_t bytes = size_t{length} * sizeof(OLECHAR);
    auto* block = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    block[0] = static_cast<uint32_t>(bytes);
    BSTR result = reinterpret_cast<BSTR>(block + 1);
    if (text)
        std::memcpy(result, text, bytes);
    else
        std::memset(result, 0, bytes);
    result[length] = 0;
    return result;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (!text)
        return nullptr;
    const size_t length = Length(text);
    if (length > std::numeric_limits<UINT>::max())
        return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(length));
}

void SysFreeString(BSTR text) {
    if (text)
        std::free(Header(text));
}

BOOL SysReAllocString(BSTR* text, const OLECHAR* value) {
    if (!text)
        return FALSE;
    BSTR copy = SysAllocString(value);
    if (value && !copy)
        return FALSE;
    SysFreeString(*text);
    *text = copy;
    return TRUE;
}

UINT SysStringByteLen(BSTR text) {
    return text ? *Header(text) : 0;
}

UINT SysStringLen(BSTR text) {
    return SysStringByteLen(text) / sizeof(OLECHAR);
}

BSTR SysAllocQString(const QString& text) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()),
                             static_cast<UINT>(text.size()));
}

QString QStringFromBstr(BSTR text) {
    if (!text)
        return QString();
    return QString::fromUtf16(text, static_cast<qsizetype>(SysStringLen(text)));
}
