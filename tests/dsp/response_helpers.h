#pragma once

#include "dsp/complex.h"

#include <cmath>
#include <vector>

// Discrete-time Fourier transform of a finite sequence at angular frequency w.
inline Dsp::Complex Dtft(const std::vector<double>& h, double w) {
    Dsp::Complex sum;
    for (size_t n = 0; n < h.size(); ++n) sum = sum + h[n] * Dsp::Complex{std::cos(w * n), -std::sin(w * n)};
    return sum;
}

inline double Db(double magnitude) { return 20 * std::log10(magnitude); }

constexpr double kTwoPi = 6.283185307179586;
