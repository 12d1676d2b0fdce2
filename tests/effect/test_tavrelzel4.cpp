#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "effect/oversampling.h"
#include "effect/tavrelzel4.h"
#include "effect/zl4.h"

namespace {
void SetNormalized(TavrelZel4& plug, int idx, double normalized) {
    plug.GetParam(idx)->AssignNormalized(normalized);
    plug.ParameterChanged(idx, kSourceHost);
}

void Prepare(TavrelZel4& plug, double rate, int block) {
    plug.SetSampleRate(rate);
    plug.ChangeBlockSize(block);
    plug.ResetProcessing();
}

std::vector<double> Tone(int frames, double freq, double rate) {
    std::vector<double> x(frames);
    for (int i = 0; i < frames; ++i) x[i] = 0.5 * std::sin(6.283185307179586 * freq * i / rate);
    return x;
}
}  // namespace

// Titles, flags and defaults as a host sees them are checked end to end under tests/hosts/vst3.
TEST(TavrelZel4, ParametersPresetAndIds) {
    TavrelZel4 plug;
    EXPECT_EQ(plug.GetParam(TavrelZel4::kTone)->Shape(), 2.0);
    EXPECT_EQ(plug.GetParam(TavrelZel4::kDistAmount)->DisplayPrecision(), 1);
    EXPECT_STREQ(plug.GetPresetSlotName(0), "-");
    EXPECT_EQ(plug.NPresets(), 1);
    EXPECT_EQ(plug.GetUniqueId(), FourCC("Zel4"));
    EXPECT_EQ(plug.GetMakerId(), FourCC("TvRl"));
    // A fresh instance keeps the models' own settings until parameters are delivered.
    EXPECT_EQ(plug.LeftModel()->Level(), 1.0);
}

TEST(TavrelZel4, EachParameterReachesBothModels) {
    TavrelZel4 plug;
    SetNormalized(plug, TavrelZel4::kDistAmount, 0.5);
    SetNormalized(plug, TavrelZel4::kTone, 0.3);
    SetNormalized(plug, TavrelZel4::kLevel, 0.8);
    SetNormalized(plug, TavrelZel4::kDryWet, 0.25);
    SetNormalized(plug, TavrelZel4::kSaturation, 0.0);
    SetNormalized(plug, TavrelZel4::kHiss, 0.0);
    SetNormalized(plug, TavrelZel4::kCompensation, 0.0);
    zl4 reference;
    reference.SetDistortion(0.5);
    for (zl4* m : {plug.LeftModel(), plug.RightModel()}) {
        EXPECT_EQ(m->Drive(), reference.Drive());
        EXPECT_DOUBLE_EQ(m->Tone(), 0.3);
        EXPECT_DOUBLE_EQ(m->Level(), 0.8);
        EXPECT_DOUBLE_EQ(m->Mix(), 0.25);
        EXPECT_FALSE(m->Saturation() || m->Hiss() || m->Compensation());
    }

    plug.GetParam(TavrelZel4::kBypass)->SetValue(0.5);
    plug.ParameterChanged(TavrelZel4::kBypass, kSourceHost);
    EXPECT_TRUE(plug.LeftModel()->Bypass() && plug.RightModel()->Bypass());
    plug.GetParam(TavrelZel4::kBypass)->SetValue(0.4);
    plug.ParameterChanged(TavrelZel4::kBypass, kSourceHost);
    EXPECT_FALSE(plug.LeftModel()->Bypass() || plug.RightModel()->Bypass());

    plug.GetParam(TavrelZel4::kTone)->SetValue(100);
    plug.ParameterChanged(8, kSourceHost);
    plug.ParameterChanged(-1, kSourceHost);
    EXPECT_DOUBLE_EQ(plug.LeftModel()->Tone(), 0.3);
}

TEST(TavrelZel4, SampleRatesPickTheOversamplingFactor) {
    TavrelZel4 plug;
    const double rates[] = {22050, 44100, 48000, 88199.9, 88200, 96000, 191999, 192000, 384000,
                            std::numeric_limits<double>::quiet_NaN()};
    const int factors[] = {4, 4, 4, 4, 2, 2, 2, 1, 1, 1};
    for (int i = 0; i < 10; ++i) {
        Prepare(plug, rates[i], 64);
        EXPECT_EQ(plug.LeftModel()->Oversampling(), factors[i]) << rates[i];
        EXPECT_EQ(plug.RightModel()->Oversampling(), factors[i]) << rates[i];
        EXPECT_EQ(OversamplingForSampleRate(rates[i]), factors[i]);
    }
    Prepare(plug, 48000, 64);
    EXPECT_EQ(plug.LeftModel()->SampleRate(), 48000);
    Prepare(plug, std::numeric_limits<double>::quiet_NaN(), 64);
    EXPECT_EQ(plug.LeftModel()->SampleRate(), 48000);  // a non-number is not passed on
}

TEST(TavrelZel4, BlocksRunThroughBothModelsAndLeaveInputsAlone) {
    TavrelZel4 plug;
    Prepare(plug, 44100, 256);
    plug.ResetAllParams(kSourceRestore);
    SetNormalized(plug, TavrelZel4::kHiss, 0.0);
    SetNormalized(plug, TavrelZel4::kDistAmount, 0.6);

    zl4 left, right;
    for (zl4* m : {&left, &right}) {
        m->SetSampleRate(44100);
        m->SetOversampling(4);
        m->SetChannels(1);
        m->ResetFilters();
        m->SetDistortion(plug.GetParam(TavrelZel4::kDistAmount)->NormalizedValue());
        m->SetTone(0.5);
        m->SetLevel(0.5);
        m->SetHiss(false);
    }

    std::vector<double> in0 = Tone(256, 440, 44100), in1 = Tone(256, 1000, 44100);
    const std::vector<double> keep0 = in0, keep1 = in1;
    std::vector<double> out0(256), out1(256);
    double* ins[] = {in0.data(), in1.data()};
    double* outs[] = {out0.data(), out1.data()};
    plug.ProcessDoubles(ins, outs, 256);
    EXPECT_EQ(in0, keep0);
    EXPECT_EQ(in1, keep1);

    std::vector<double> ref0 = keep0, ref1 = keep1;
    left.ProcessBlock(ref0.data(), 256);
    right.ProcessBlock(ref1.data(), 256);
    EXPECT_EQ(out0, ref0);
    EXPECT_EQ(out1, ref1);
    EXPECT_NE(out0, keep0);

    std::vector<double> untouched(256, 7.0);
    double* quiet[] = {untouched.data(), untouched.data()};
    plug.ProcessDoubles(ins, quiet, 0);
    plug.ProcessDoubles(ins, quiet, -3);
    EXPECT_EQ(untouched, std::vector<double>(256, 7.0));
}
