#include "platform/cpu_features.h"

#if defined(_MSC_VER) && defined(_M_X64) && !defined(__clang__)
#include <immintrin.h>
#include <intrin.h>
#endif

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
#elif defined(_MSC_VER) && defined(_M_X64)
    // The processor's AVX2 bit, and the system's saving of the YMM registers (XSAVE enabled,
    // XMM and YMM state in XCR0).
    static const bool avx2 = [] {
        int info[4] = {};
        __cpuid(info, 0);
        if (info[0] < 7) {
            return false;
        }
        __cpuid(info, 1);
        constexpr int kOsXsave = 1 << 27;
        constexpr int kAvx = 1 << 28;
        if ((info[2] & kOsXsave) == 0 || (info[2] & kAvx) == 0 || (_xgetbv(0) & 0x6) != 0x6) {
            return false;
        }
        __cpuidex(info, 7, 0);
        constexpr int kAvx2 = 1 << 5;
        return (info[1] & kAvx2) != 0;
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
