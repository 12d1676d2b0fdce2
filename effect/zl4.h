#pragma once

#include "dsp/high_shelf.h"
#include "effect/audio_processor.h"
#include "effect/noise_source.h"
#include "effect/one_pole_filter.h"

#include <cstdint>

// Circuit model of one channel of the analog drive stage: input gain, high-pass, clipper,
// drive-dependent low-pass, the clean signal added back, saturation, low-pass, tone blend,
// level, output compensation, a second saturation stage and a faint hiss. Runs at the
// oversampled rate inside AudioProcessor::ProcessBlock.
class zl4 final : public AudioProcessor {
public:
    zl4();

    // d: normalized distortion amount 0..1; sets the drive gain and the drive low-pass corner.
    void SetDistortion(double d);
    void SetTone(double tone) { mTone = tone; }
    void SetLevel(double level) { mLevel = level; }
    void SetBypass(bool on) { mBypass = on; }
    void SetHiss(bool on) { mHiss = on; }
    void SetSaturation(bool on) { mSaturation = on; }
    void SetCompensation(bool on) { mCompensation = on; }
    // Restarts the hiss from a given seed, for repeatable output.
    void SetNoiseSeed(uint32_t seed) { mNoise.Seed(seed); }

    double Drive() const { return mDrive; }
    double Tone() const { return mTone; }
    double Level() const { return mLevel; }
    bool Bypass() const { return mBypass; }
    bool Hiss() const { return mHiss; }
    bool Saturation() const { return mSaturation; }
    bool Compensation() const { return mCompensation; }

    // Whether two models can share a stereo kernel (effect/stereo_block.h): the same factor, one
    // sample per frame, three-stage resamplers, and the same bypass, saturation and hiss.
    bool SharesStructureWith(const zl4& other) const;
    // Copy coefficients, memories and the hiss state into one lane of a stereo job, and back;
    // ImportLane restarts non-finite memories as ProcessBlock does.
    void ExportLane(StereoJob& job, int lane) const;
    void ImportLane(const StereoJob& job, int lane);

    void ProcessSamples(double* buffer, int count) override;
    void UpdateCoefficients() override;

private:
    double Circuit(double x);
    double CompensationFactor() const;
    void ClearIfNotFinite();

    OnePoleFilter mInputHighPass;
    OnePoleFilter mDriveLowPass;
    OnePoleFilter mPostLowPass;
    Dsp::HighShelf mShelf;
    OnePoleFilter mToneHighPass;
    double mDrive = 0.0;
    double mDriveCutoff = 20000.0;
    double mTone = 0.5;
    double mLevel = 1.0;
    double mDistortion4 = 1.0;
    bool mBypass = false;
    bool mHiss = true;
    bool mSaturation = true;
    bool mCompensation = true;
    NoiseSource mNoise;
};
