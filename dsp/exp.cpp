#include "dsp/exp.h"

#include "dsp/exp_table.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace Dsp {

namespace {

// Adding it rounds a double below 2^51 in magnitude to an integer held in the low mantissa bits.
constexpr double kShift = 0x1.8p52;

uint64_t Bits(double x) {
    uint64_t u;
    std::memcpy(&u, &x, sizeof u);
    return u;
}

double FromBits(uint64_t u) {
    double x;
    std::memcpy(&x, &u, sizeof x);
    return x;
}

// The scale 2^(k / 128) leaves the double range for |x| >= 512: build the result in two steps.
double ScaleOutOfRange(double tmp, uint64_t sbits, uint64_t ki) {
    if ((ki & 0x80000000u) == 0) {
        const double scale = FromBits(sbits - (1009ull << 52));
        return 0x1p1009 * (scale + scale * tmp);
    }
    const double scale = FromBits(sbits + (1022ull << 52));
    double y = scale + scale * tmp;
    if (y < 1.0) {
        // A subnormal result: add in a range where the sum is rounded once, to its final bits.
        double lo = scale - y + scale * tmp;
        const double hi = 1.0 + y;
        lo = 1.0 - hi + y + lo;
        y = (hi + lo) - 1.0;
        if (y == 0.0) y = 0.0;
    }
    return 0x1p-1022 * y;
}

}  // namespace

double Exp(double x) {
    const double ax = std::fabs(x);
    if (!(ax < 512.0)) {
        if (std::isnan(x)) return x + 1.0;
        if (ax >= 1024.0) return x < 0 ? 0.0 : HUGE_VAL;
    }
    // x = k ln2 / 128 + r with |r| <= ln2 / 256; exp(x) = 2^(k / 128) exp(r).
    const double z = kExpData.invLn2N * x;
    double kd = z + kShift;
    const uint64_t ki = Bits(kd);
    kd -= kShift;
    const double r = x + kd * kExpData.negLn2HighN + kd * kExpData.negLn2LowN;
    const unsigned idx = 2 * (ki % 128);
    const double tail = FromBits(kExpData.table[idx]);
    const uint64_t sbits = kExpData.table[idx + 1] + (ki << 45);
    // 2^(k / 128) exp(r) = scale (1 + tail) (1 + (exp(r) - 1)), to first order in the tail.
    const double r2 = r * r;
    const double tmp = tail + r + r2 * (0.5 + r * (1.0 / 6)) + r2 * r2 * (1.0 / 24 + r * (1.0 / 120));
    if (!(ax < 512.0)) return ScaleOutOfRange(tmp, sbits, ki);
    const double scale = FromBits(sbits);
    return scale + scale * tmp;
}

}  // namespace Dsp
