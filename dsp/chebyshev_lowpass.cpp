#include "dsp/chebyshev_lowpass.h"

#include <algorithm>
#include <cmath>

namespace Dsp {

namespace {

constexpr double kPi = 3.141592653589793;

Complex Bilinear(double k, Complex s) {
    const Complex t = k * s;
    return Divide(Complex{1.0, 0.0} + t, Complex{1.0, 0.0} - t);
}

}  // namespace

void DesignAnalogLowPass(Layout& analog, int order, double stopBandDb) {
    const int n = std::clamp(order, 0, std::min(analog.mPoles.mCapacity, analog.mZeros.mCapacity));
    const double e = std::exp(stopBandDb * 0.1 * 2.302585092994046);
    const double g = 1 / std::sqrt(1 / (e - 1));
    const double mu = std::log(std::sqrt(g * g + 1) + g) / n;

    analog.mPoles.mCount = n;
    analog.mZeros.mCount = n;
    for (int k = 0; k < n; ++k) {
        const double theta = (1 - n + 2 * k) * kPi / (2 * n);
        const double re = -(std::cos(theta) * std::sinh(mu));
        const double im = std::sin(theta) * std::cosh(mu);
        const double d = im * im + re * re;
        analog.mPoles.mRoots[k] = {re / d, im / d};

        const double psi = (3 - 2 * n + 4 * k) * kPi / (2 * n);
        analog.mZeros.mRoots[k] = {0.0, 1 / std::cos(psi)};
    }
    analog.mNormalW = 0.0;
    analog.mNormalGain = 1.0;
}

void BilinearLowPass(const FilterParams& params, Layout& digital, const Layout& analog) {
    const double k = std::tan(params.cutoff * 6.283185307179586 / params.sampleRate * 0.5);
    const int poles = std::min(analog.mPoles.mCount, digital.mPoles.mCapacity);
    const int zeros = std::min(analog.mZeros.mCount, digital.mZeros.mCapacity);
    for (int i = 0; i < poles; ++i) digital.mPoles.mRoots[i] = Bilinear(k, analog.mPoles.mRoots[i]);
    for (int i = 0; i < zeros; ++i) digital.mZeros.mRoots[i] = Bilinear(k, analog.mZeros.mRoots[i]);
    digital.mPoles.mCount = poles;
    digital.mZeros.mCount = zeros;
    digital.mNormalW = analog.mNormalW;
    digital.mNormalGain = analog.mNormalGain;
}

}  // namespace Dsp
