#include "platform/cpu_features.h"

namespace {

bool g_avx2Allowed = true;

bool ProcessorHasAvx2() {
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
    // The library checks the operating system's XSAVE support too.
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return avx2;
#else
    return false; // no AVX2 variants are built
#endif
}

} // namespace

bool UseAvx2() {
    return g_avx2Allowed && ProcessorHasAvx2();
}

void SetAvx2AllowedForTesting(bool allowed) {
    g_avx2Allowed = allowed;
}
