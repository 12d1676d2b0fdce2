#include "effect/zl4.h"

#include "dsp/exp.h"
#include "effect/circuit_constants.h"
#include "effect/stereo_kernel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <ctime>

namespace {

// Gains of the drive path: exp(4.7202994406377) (41 dB) and exp(2.4177143476437) (21 dB),
// correctly rounded.
constexpr double kDriveRange = 0x1.c0ceb09185fb4p+6;
constexpr double kDriveMin = 0x1.670bc0746b416p+3;

// Highest shelf corner, as a fraction of the oversampled rate: above half the rate the
// shelf's poles leave the unit circle. Only host rates below 14223 Hz reach this limit.
constexpr double kMaxShelfFrequency = 0.45;

// Odd soft saturation curve, limited to +-0.33. A NaN passes unchanged.
double Saturate(double m) {
    double o = Circuit::SaturationCurve(m);
    if (o < -1.0) o = -1.0;
    if (o > 1.0) o = 1.0;
    return Circuit::kSaturationScale * o;
}

// Distinct hiss seeds for models made in the same second.
uint32_t NextNoiseSeed() {
    static std::atomic<uint32_t> counter{0};
    return static_cast<uint32_t>(std::time(nullptr)) + counter.fetch_add(1) * 0x9E3779B9u;
}

}  // namespace

zl4::zl4() : mNoise(NextNoiseSeed()) { UpdateCoefficients(); }

void zl4::SetDistortion(double d) {
    mDistortion4 = ((d * d) * d) * d;
    mDrive = kDriveRange * mDistortion4 + kDriveMin;
    mDriveCutoff = 20000 - mDistortion4 * 12000;
    mDriveLowPass.SetLowPass(static_cast<float>(mDriveCutoff), OversampledRate());
}

void zl4::UpdateCoefficients() {
    const long long rate = OversampledRate();
    mInputHighPass.SetHighPass(720.0f, rate);
    mDriveLowPass.SetLowPass(static_cast<float>(mDriveCutoff), rate);
    mPostLowPass.SetLowPass(723.4f, rate);
    // The corner moves with the factor (1600 Hz at x1, 25600 Hz at 44.1 kHz x4): that is the
    // tone's sound.
    mShelf.Setup(std::min(1600.0 / mSampleRate * mOversampling, kMaxShelfFrequency), 15.0, 0.707);
    mToneHighPass.SetHighPass(3170.0f, rate);
}

// The output level's cut for the distortion amount: 1.0 at none, 0.3 at full.
double zl4::CompensationFactor() const { return 1 - mDistortion4 * Circuit::kCompensationDepth; }

double zl4::Circuit(double x) {
    double v = (x * mDrive) * Circuit::kDriveScale;
    v = mInputHighPass.Process(v);
    if (mSaturation)
        v = v > 0 ? 1 - Dsp::Exp(-v) : -(1 - Dsp::Exp(-std::fabs(v)));
    else if (v > Circuit::kClipLimit)
        v = Circuit::kClipLimit;
    else if (v < -Circuit::kClipLimit)
        v = -Circuit::kClipLimit;
    v = mDriveLowPass.Process(v);

    double s = v + x;
    if (mSaturation) s = Saturate(Circuit::kSaturationDrive * s);
    const double u = mPostLowPass.Process(s);

    const double h = mToneHighPass.Process(Circuit::kToneHighPassShare * u);
    const double b = mShelf.Process(u);
    double y = (u - h) * (1 - mTone) + mTone * b;
    y = y * mLevel;
    if (mCompensation) y = CompensationFactor() * y;
    return y;
}

void zl4::ProcessSamples(double* buffer, int count) {
    for (int i = 0; i < count; ++i) {
        if (!mBypass) buffer[i] = Circuit(buffer[i]);
        if (mSaturation) buffer[i] = Saturate((Circuit::kOutputGain * buffer[i]) * Circuit::kSaturationDrive);
        if (mHiss) {
            const float n = static_cast<float>(static_cast<double>(mNoise.Next() / Circuit::kHissHalfRange) - 1.0);
            buffer[i] = n * Circuit::kHissLevel + buffer[i];
        }
    }
    ClearIfNotFinite();
}

bool zl4::SharesStructureWith(const zl4& other) const {
    return mOversampling == other.mOversampling && mChannels == 1.0 && other.mChannels == 1.0 &&
           mUpFilter.StageCount() == 3 && mDownFilter.StageCount() == 3 && other.mUpFilter.StageCount() == 3 &&
           other.mDownFilter.StageCount() == 3 && mBypass == other.mBypass && mSaturation == other.mSaturation &&
           mHiss == other.mHiss;
}

namespace {

void ExportOnePole(const OnePoleFilter& f, StereoOnePole& lanes, int lane) {
    lanes.a0.v[lane] = f.a0;
    lanes.a1.v[lane] = f.a1;
    lanes.b1.v[lane] = f.b1;
    lanes.x1.v[lane] = f.x1;
    lanes.y1.v[lane] = f.y1;
}

void ImportOnePole(OnePoleFilter& f, const StereoOnePole& lanes, int lane) {
    f.x1 = lanes.x1.v[lane];
    f.y1 = lanes.y1.v[lane];
}

}  // namespace

void zl4::ExportLane(StereoJob& job, int lane) const {
    ExportResamplers(job, lane);
    ExportOnePole(mInputHighPass, job.inputHighPass, lane);
    ExportOnePole(mDriveLowPass, job.driveLowPass, lane);
    ExportOnePole(mPostLowPass, job.postLowPass, lane);
    ExportOnePole(mToneHighPass, job.toneHighPass, lane);
    const Dsp::Stage& st = mShelf.GetStage(0);
    const double* m = mShelf.ChannelState(0);
    StereoShelf& shelf = job.shelf;
    shelf.b0.v[lane] = st.b0;
    shelf.b1.v[lane] = st.b1;
    shelf.b2.v[lane] = st.b2;
    shelf.c1.v[lane] = st.c1;
    shelf.c2.v[lane] = st.c2;
    shelf.x1.v[lane] = m[0];
    shelf.x2.v[lane] = m[1];
    shelf.y1.v[lane] = m[2];
    shelf.y2.v[lane] = m[3];
    job.drive.v[lane] = mDrive;
    job.tone.v[lane] = mTone;
    job.level.v[lane] = mLevel;
    job.compensation.v[lane] = mCompensation ? CompensationFactor() : 1.0;
    job.mix.v[lane] = mMix;
    job.noise[lane] = mNoise.State();
    job.bypass = mBypass;
    job.saturation = mSaturation;
    job.hiss = mHiss;
}

void zl4::ImportLane(const StereoJob& job, int lane) {
    ImportOnePole(mInputHighPass, job.inputHighPass, lane);
    ImportOnePole(mDriveLowPass, job.driveLowPass, lane);
    ImportOnePole(mPostLowPass, job.postLowPass, lane);
    ImportOnePole(mToneHighPass, job.toneHighPass, lane);
    double* m = mShelf.ChannelState(0);
    m[0] = job.shelf.x1.v[lane];
    m[1] = job.shelf.x2.v[lane];
    m[2] = job.shelf.y1.v[lane];
    m[3] = job.shelf.y2.v[lane];
    mNoise.Seed(job.noise[lane]);
    ClearIfNotFinite();
    ImportResamplers(job, lane);
}

// A NaN or infinity caught in a filter memory would silence the channel for good; the
// circuit starts afresh instead.
void zl4::ClearIfNotFinite() {
    if (mInputHighPass.IsFinite() && mDriveLowPass.IsFinite() && mPostLowPass.IsFinite() && mToneHighPass.IsFinite() &&
        mShelf.StateIsFinite())
        return;
    mInputHighPass.Clear();
    mDriveLowPass.Clear();
    mPostLowPass.Clear();
    mToneHighPass.Clear();
    mShelf.ClearState();
}
