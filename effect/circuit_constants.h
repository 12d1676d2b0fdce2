#pragma once

// The circuit's constants, in one place for the model (zl4) and the stereo kernels, which must
// compute exactly the same arithmetic.
namespace Circuit {

// The drive path's gained input is scaled by this before the input high-pass.
constexpr double kDriveScale = 0.8;
// The clipper's limits when saturation is off.
constexpr double kClipLimit = 0.7;
// The post low-pass output feeds the tone high-pass at this share.
constexpr double kToneHighPassShare = 0.822172;
// Output compensation: the level factor is 1 - distortion^4 * kCompensationDepth.
constexpr double kCompensationDepth = 0.7;

// Gain into each saturation curve.
constexpr double kSaturationDrive = 3.0;
// The output saturation stage's gain before that: exp(2.40620142217873) (20.9 dB), correctly
// rounded.
constexpr double kOutputGain = 0x1.62ef99d25f8f8p+3;
// Scale of the saturation curve after its limits to -1 .. 1.
constexpr double kSaturationScale = 0.33;

// The saturation curve before its limits: odd, slope about 0.9688 at 0. T is a double or a
// vector of doubles.
template <class T>
inline T SaturationCurve(T m) {
    return m / ((m * 0.37011709966) * m + 1.1605589854) + m * 0.1071000671;
}

// Hiss: a draw r of 0..32767 becomes n = r / kHissHalfRange - 1 (the quotient in single
// precision, n rounded to single precision), added as n * kHissLevel.
constexpr float kHissHalfRange = 16383.5f;
constexpr double kHissLevel = 0.00001;

}  // namespace Circuit
