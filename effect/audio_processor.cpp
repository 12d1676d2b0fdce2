#include "effect/audio_processor.h"

#include "effect/stereo_kernel.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

void AudioProcessor::SetOversampling(int factor) {
    mOversampling = std::max(factor, 1);
    DesignResamplers();
    UpdateCoefficients();
}

void AudioProcessor::SetMix(double wet) { mMix = wet; }

void AudioProcessor::ResetFilters() { DesignResamplers(); }

void AudioProcessor::SetSampleRate(int hz) {
    if (hz >= 1) mSampleRate = hz;
}

void AudioProcessor::SetChannels(int n) { mChannels = std::max(n, 1); }

void AudioProcessor::DesignResamplers() {
    // The host's Nyquist frequency as a fraction of the oversampled rate.
    const double cutoff = (mSampleRate * 0.5) / static_cast<double>(OversampledRate());
    mUpFilter.Setup(cutoff, 9.0);
    mDownFilter.Setup(cutoff, 9.0);
}

size_t AudioProcessor::ScratchSize(int frames) const {
    const double highRateFrames = static_cast<double>(frames) * mOversampling;
    const double samples = highRateFrames * mChannels;
    if (highRateFrames > INT_MAX || samples * sizeof(double) > static_cast<double>(SIZE_MAX)) return 0;
    return static_cast<size_t>(samples);
}

bool AudioProcessor::Reserve(int maxFrames) {
    if (maxFrames < 1) return true;
    const size_t size = ScratchSize(maxFrames);
    return size > 0 && mDry.Reserve(size) && (mOversampling < 2 || mUp.Reserve(size));
}

void AudioProcessor::MixDry(double* wet, double* dry, size_t count) const {
    const double m = mMix;
    for (size_t i = 0; i < count; ++i) {
        wet[i] = m * wet[i];
        dry[i] = (1 - m) * dry[i];
        wet[i] = wet[i] + dry[i];
    }
}

void AudioProcessor::ProcessBlock(double* buffer, int frames) {
    if (frames < 1 || !Reserve(frames)) return;
    const int f = mOversampling;
    const size_t size = ScratchSize(frames);
    double* dry = mDry.Data();

    if (f < 2) {
        std::memcpy(dry, buffer, size * sizeof(double));
        ProcessSamples(buffer, frames);
        MixDry(buffer, dry, size);
        return;
    }

    const int n = frames * f;
    double* up = mUp.Data();
    if (mChannels == 2.0) {
        for (int i = 0; i < frames; ++i)
            for (int k = 0; k < f; ++k) {
                up[(i * f + k) * 2] = buffer[i * 2];
                up[(i * f + k) * 2 + 1] = buffer[i * 2 + 1];
            }
    } else {
        for (int i = 0; i < frames; ++i)
            for (int k = 0; k < f; ++k) up[i * f + k] = buffer[i];
    }
    Dsp::ProcessDirectFormII(mUpFilter, n, up, 0);
    std::memcpy(dry, up, size * sizeof(double));
    ProcessSamples(up, n);
    MixDry(up, dry, size);
    Downsample(up, buffer, n);
    RestartResamplersIfNotFinite();
}

// A NaN or infinity that reached the resamplers' memories would keep them non-finite for good;
// start them afresh instead.
void AudioProcessor::RestartResamplersIfNotFinite() {
    if (!mUpFilter.StateIsFinite() || !mDownFilter.StateIsFinite()) {
        mUpFilter.ClearState();
        mDownFilter.ClearState();
    }
}

namespace {

void ExportCascade(const Dsp::ChebyIILowPass<6, 1>& filter, StereoCascade& lanes, int lane) {
    const double* m = filter.ChannelState(0);
    for (int s = 0; s < 3; ++s, m += 4) {
        const Dsp::Stage& st = filter.GetStage(s);
        lanes.c1[s].v[lane] = st.c1;
        lanes.c2[s].v[lane] = st.c2;
        lanes.b0[s].v[lane] = st.b0;
        lanes.b1[s].v[lane] = st.b1;
        lanes.b2[s].v[lane] = st.b2;
        lanes.w1[s].v[lane] = m[0];
        lanes.w2[s].v[lane] = m[1];
    }
}

void ImportCascade(Dsp::ChebyIILowPass<6, 1>& filter, const StereoCascade& lanes, int lane) {
    double* m = filter.ChannelState(0);
    for (int s = 0; s < 3; ++s, m += 4) {
        m[0] = lanes.w1[s].v[lane];
        m[1] = lanes.w2[s].v[lane];
    }
}

}  // namespace

void AudioProcessor::ExportResamplers(StereoJob& job, int lane) const {
    ExportCascade(mUpFilter, job.up, lane);
    ExportCascade(mDownFilter, job.down, lane);
}

void AudioProcessor::ImportResamplers(const StereoJob& job, int lane) {
    ImportCascade(mUpFilter, job.up, lane);
    ImportCascade(mDownFilter, job.down, lane);
    RestartResamplersIfNotFinite();
}

void AudioProcessor::Downsample(double* source, double* destination, int count) {
    Dsp::ProcessDirectFormII(mDownFilter, count, source, 0);
    const int f = mOversampling;
    if (mChannels == 2.0) {
        for (int k = 0; k * f < count; ++k) {
            destination[k * 2] = source[k * f * 2];
            destination[k * 2 + 1] = source[k * f * 2 + 1];
        }
    } else {
        for (int k = 0; k * f < count; ++k) destination[k] = source[k * f];
    }
}
