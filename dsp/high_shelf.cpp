#include "dsp/high_shelf.h"

#include <cmath>

namespace Dsp {

void HighShelf::Setup(double frequency, double gainDb, double slope) {
    const double A = std::pow(10, gainDb / 40);
    const double w0 = frequency * 6.283185307179586;
    const double cs = std::cos(w0);
    const double t = std::sqrt((1 / A + A) * (1 / slope - 1) + 2);
    const double k = t * (std::sin(w0) * 0.5) * (2 * std::sqrt(A));
    const double ap = A + 1;
    const double am = A - 1;
    const double a0 = ap - am * cs + k;

    Stage& s = mStages[0];
    s.c1 = (am - ap * cs) * -2 / a0;
    s.c2 = (am * cs + k - ap) / a0;
    s.b0 = A * (am * cs + ap + k) / a0;
    s.b1 = -2 * A * (ap * cs + am) / a0;
    s.b2 = A * (am * cs + ap - k) / a0;
}

}  // namespace Dsp
