#pragma once

#include "dsp/complex.h"

namespace Dsp {

// A list of roots (poles or zeros) in storage owned elsewhere.
struct RootList {
    int mCapacity = 0;
    int mCount = 0;
    Complex* mRoots = nullptr;
};

// Poles and zeros of a filter, plus the angular frequency (radians per sample) and the gain
// at which a cascade built from it is normalized.
class Layout {
public:
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    RootList mPoles;
    RootList mZeros;
    double mNormalW = 0.0;
    double mNormalGain = 1.0;

protected:
    Layout() = default;
    ~Layout() = default;
};

// A layout with built-in room for MaxOrder poles and MaxOrder zeros.
template <int MaxOrder>
class LayoutSpace : public virtual Layout {
public:
    LayoutSpace() {
        mPoles = {MaxOrder, 0, mPoleStorage};
        mZeros = {MaxOrder, 0, mZeroStorage};
    }

private:
    Complex mPoleStorage[MaxOrder];
    Complex mZeroStorage[MaxOrder];
};

}  // namespace Dsp
