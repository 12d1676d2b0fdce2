#include "effect/one_pole_filter.h"

#include <cmath>

namespace {

double Pole(float hz, long long rate) {
    const double q = hz / static_cast<float>(rate);
    return std::pow(2.718281828459045, q * -6.283185307179586);
}

}  // namespace

void OnePoleFilter::SetLowPass(float hz, long long rate) {
    const double p = Pole(hz, rate);
    a0 = 1 - p;
    a1 = 0.0;
    b1 = p;
}

void OnePoleFilter::SetHighPass(float hz, long long rate) {
    const double p = Pole(hz, rate);
    a0 = (p + 1) * 0.5;
    a1 = (p + 1) * -0.5;
    b1 = p;
}

bool OnePoleFilter::IsFinite() const { return std::isfinite(x1) && std::isfinite(y1); }
