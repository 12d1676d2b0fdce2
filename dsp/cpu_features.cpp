#include "dsp/cpu_features.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace Dsp {

namespace {

struct Features {
    bool sse3 = false;
    bool avx2 = false;
    bool avx512 = false;
};

Features gFeatures;

#if defined(__i386__) || defined(__x86_64__)
unsigned long long EnabledRegisterState() {
    unsigned lo, hi;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return (static_cast<unsigned long long>(hi) << 32) | lo;
}

Features Probe() {
    Features f;
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return f;
    f.sse3 = (c & 1u) != 0;
    const bool osxsave = (c & (1u << 27)) != 0;
    const bool avx = (c & (1u << 28)) != 0;
    if (!osxsave || !avx) return f;
    const unsigned long long xcr0 = EnabledRegisterState();
    if ((xcr0 & 0x6) != 0x6 || !__get_cpuid_count(7, 0, &a, &b, &c, &d)) return f;
    f.avx2 = (b & (1u << 5)) != 0;
    // F and VL (EBX bits 16 and 31); opmask, upper 256 bits of zmm0-15 and zmm16-31 enabled.
    f.avx512 = f.avx2 && (b & (1u << 16)) != 0 && (b & (1u << 31)) != 0 && (xcr0 & 0xE0) == 0xE0;
    return f;
}
#else
Features Probe() { return {}; }
#endif

// Probed when the module loads.
const bool gProbed = (ProbeCpuFeatures(), true);

}  // namespace

void ProbeCpuFeatures() { gFeatures = Probe(); }

bool HasSse3() { return gFeatures.sse3; }

bool HasAvx2() { return gFeatures.avx2; }

bool HasAvx512() { return gFeatures.avx512; }

}  // namespace Dsp
