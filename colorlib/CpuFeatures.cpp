#include "colorlib/CpuFeatures.h"

#ifdef TINTORA_AVX2
#include <cstdlib>
#include <string_view>

namespace {

// TINTORA_BASELINE_ONLY set (to anything but "0") keeps the library on its baseline paths, so
// that they can be run and checked on a processor that offers more.
bool BaselineOnly() {
    const char* value = std::getenv("TINTORA_BASELINE_ONLY");
    return value && *value && std::string_view(value) != "0";
}

}  // namespace

bool HasAvx2() {
    static const bool has = [] {
        if (BaselineOnly())
            return false;
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

bool HasAvx512() {
    static const bool has = [] {
        if (BaselineOnly())
            return false;
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0 &&
               __builtin_cpu_supports("avx512vl") != 0 && __builtin_cpu_supports("avx512vbmi") != 0;
    }();
    return has;
}
#endif
