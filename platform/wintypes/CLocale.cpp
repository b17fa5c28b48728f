#include "platform/wintypes/CLocale.h"

#include <locale.h>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

locale_t CLocaleHandle() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Switches this thread to the C locale for the lifetime of the guard.
class CLocaleGuard {
public:
    CLocaleGuard() : m_previous(uselocale(CLocaleHandle())) {}
    ~CLocaleGuard() { uselocale(m_previous); }
    CLocaleGuard(const CLocaleGuard&) = delete;
    CLocaleGuard& operator=(const CLocaleGuard&) = delete;

private:
    locale_t m_previous;
};

std::string VFormat(const char* format, va_list args) {
    CLocaleGuard guard;
    va_list copy;
    va_copy(copy, args);
    char small[256];
    const int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0)
        return {};
    if (n < static_cast<int>(sizeof small))
        return std::string(small, static_cast<size_t>(n));
    std::vector<char> big(static_cast<size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<size_t>(n));
}

}  // namespace

std::string FormatC(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string s = VFormat(format, args);
    va_end(args);
    return s;
}

QString QFormatC(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string s = VFormat(format, args);
    va_end(args);
    return QString::fromStdString(s);
}

int ScanC(const char* text, const char* format, ...) {
    CLocaleGuard guard;
    va_list args;
    va_start(args, format);
    const int n = std::vsscanf(text, format, args);
    va_end(args);
    return n;
}
