#pragma once

#include "dsp/chebyshev_lowpass.h"
#include "effect/scratch_buffer.h"

struct StereoJob;

// Block processor of one channel: wraps a subclass's per-sample processing in dry/wet mixing
// and, for an oversampling factor of 2 or more, in zero-order-hold upsampling, anti-image
// filtering, anti-alias filtering and decimation. The subclass runs at the oversampled rate.
// Only this module sees the table of its virtual operations (README, "Binary layout").
class AudioProcessor {
public:
    AudioProcessor(const AudioProcessor&) = delete;
    AudioProcessor& operator=(const AudioProcessor&) = delete;

    // Factor below 1 counts as 1; redesigns the resampling filters, then UpdateCoefficients().
    virtual void SetOversampling(int factor);
    // Wet share of the output (1 = fully processed); not clamped.
    virtual void SetMix(double wet);
    // Redesigns the two resampling filters only; memories are kept.
    virtual void ResetFilters();
    // Takes effect with the next SetOversampling or ResetFilters; rates below 1 Hz are ignored.
    virtual void SetSampleRate(int hz);
    // Samples per frame in the buffers given to ProcessBlock; values below 1 count as 1.
    virtual void SetChannels(int n);
    // Processes count samples in place at the oversampled rate.
    virtual void ProcessSamples(double* buffer, int count) = 0;
    // Recomputes the subclass's own coefficients for OversampledRate().
    virtual void UpdateCoefficients() = 0;

    // Processes one block of frames * Channels() samples in place. A block whose temporary
    // storage cannot be had (or addressed) is left unprocessed.
    void ProcessBlock(double* buffer, int frames);

    // Allocates the temporaries for blocks of up to maxFrames frames at the current factor
    // and channel count, so that ProcessBlock need not; false when memory runs out.
    bool Reserve(int maxFrames);

    // Copy the resamplers' coefficients and memories into one lane of a stereo kernel's job, and
    // the memories back; ImportResamplers restarts non-finite memories as ProcessBlock does.
    void ExportResamplers(StereoJob& job, int lane) const;
    void ImportResamplers(const StereoJob& job, int lane);

    int SampleRate() const { return mSampleRate; }
    int Oversampling() const { return mOversampling; }
    double Channels() const { return mChannels; }
    double Mix() const { return mMix; }

protected:
    AudioProcessor() = default;
    ~AudioProcessor() = default;

    long long OversampledRate() const { return static_cast<long long>(mSampleRate) * mOversampling; }

    int mSampleRate = 44100;
    int mOversampling = 1;
    // One sample per frame until told otherwise, so a block given before set-up never runs
    // past the caller's buffer.
    double mChannels = 1.0;
    double mMix = 1.0;
    Dsp::ChebyIILowPass<6, 1> mUpFilter;
    Dsp::ChebyIILowPass<6, 1> mDownFilter;

private:
    void DesignResamplers();
    void Downsample(double* source, double* destination, int count);
    void MixDry(double* wet, double* dry, size_t count) const;
    void RestartResamplersIfNotFinite();
    size_t ScratchSize(int frames) const;

    ScratchBuffer mUp;
    ScratchBuffer mDry;
};
