#pragma once
// Safe double-to-integer conversions for values that arrive from the host or from typed text.
#include <cstdint>

// Confines v to lo..hi; a NaN becomes lo.
inline double ClampToRange(double v, double lo, double hi) {
    if (!(v >= lo)) return lo;
    return v > hi ? hi : v;
}

// Truncates toward zero, saturating at the int32 limits (a NaN gives 0).
inline int32_t TruncateToInt32(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return int32_t(v);
}
