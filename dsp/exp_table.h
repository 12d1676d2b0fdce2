#pragma once

#include <cstdint>

namespace Dsp {

// Constants of Dsp::Exp: x = k ln2 / 128 + r, exp(x) = 2^(k / 128) exp(r).
struct ExpData {
    double invLn2N;
    double negLn2HighN;
    double negLn2LowN;
    // Per i = 0..127: the bits of the relative error of the double nearest 2^(i / 128), then
    // the bits of that double less i << 45.
    uint64_t table[2 * 128];
};

extern const ExpData kExpData;

}  // namespace Dsp
