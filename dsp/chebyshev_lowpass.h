#pragma once

#include "dsp/cascade_filter.h"
#include "dsp/layout.h"

namespace Dsp {

// Design record; cutoff is in the unit of sampleRate.
struct FilterParams {
    int order = 0;
    double sampleRate = 0.0;
    double cutoff = 0.0;
    double stopBandDb = 0.0;
};

// Chebyshev type II analog low-pass prototype of order n (at most the layout's capacity),
// normalized to unity gain at DC.
void DesignAnalogLowPass(Layout& analog, int order, double stopBandDb);

// Maps every root of the analog prototype through the prewarped bilinear transform.
void BilinearLowPass(const FilterParams& params, Layout& digital, const Layout& analog);

// A cascade filter designed from poles and zeros; the digital layout is a virtual base.
class PoleFilter : public CascadeFilter, public virtual Layout {
public:
    virtual void Design(const FilterParams& params) = 0;

protected:
    PoleFilter() = default;
    ~PoleFilter() = default;
};

// Analog prototype design: Chebyshev type II.
struct ChebyII {
    static void Design(Layout& analog, const FilterParams& params) {
        DesignAnalogLowPass(analog, params.order, params.stopBandDb);
    }
};

// Analog-to-digital transform: low-pass bilinear.
struct LowPass {
    static void Transform(const FilterParams& params, Layout& digital, const Layout& analog) {
        BilinearLowPass(params, digital, analog);
    }
};

// A pole filter with built-in storage: the digital layout and the stages as its virtual
// bases, the analog layout and Channels channels of sample memory as members.
template <class Prototype, class Transform, int MaxOrder, int Channels>
class PoleFilterSpace : public PoleFilter, public LayoutSpace<MaxOrder>, public CascadeSpace<MaxOrder> {
public:
    PoleFilterSpace() {
        mNumChannels = Channels;
        mState = mStateStorage;
    }

    void Design(const FilterParams& params) override {
        Prototype::Design(mAnalog, params);
        Transform::Transform(params, *this, mAnalog);
        ApplyLayout(*this);
    }

private:
    LayoutSpace<MaxOrder> mAnalog;
    double mStateStorage[Channels * CascadeSpace<MaxOrder>::kMaxStages * 4] = {};
};

template <int MaxOrder, int Channels>
class ChebyIILowPass : public PoleFilterSpace<ChebyII, LowPass, MaxOrder, Channels> {
public:
    // cutoff as a fraction of the sample rate (0.5 is Nyquist).
    void Setup(double cutoff, double stopBandDb) { this->Design({MaxOrder, 1.0, cutoff, stopBandDb}); }
};

}  // namespace Dsp
