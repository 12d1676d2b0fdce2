#include "dsp/complex.h"

#include <cmath>
#include <limits>

namespace Dsp {

Complex Divide(Complex a, Complex b) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (std::isnan(b.re) || std::isnan(b.im)) return {nan, nan};
    Complex result;
    if (std::fabs(b.re) > std::fabs(b.im)) {
        const double r = b.im / b.re;
        const double d = b.im * r + b.re;
        if (std::isnan(d) || d == 0.0) return {nan, nan};
        result = {(a.re + a.im * r) / d, (a.im - a.re * r) / d};
    } else {
        const double r = b.re / b.im;
        const double d = b.re * r + b.im;
        if (std::isnan(d) || d == 0.0) return {nan, nan};
        result = {(a.re * r + a.im) / d, (a.im * r - a.re) / d};
    }
    return result;
}

double Modulus(Complex a) { return std::hypot(a.re, a.im); }

}  // namespace Dsp
