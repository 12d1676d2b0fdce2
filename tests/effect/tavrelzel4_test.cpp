#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "effect/oversampling.h"
#include "effect/product.h"
#include "effect/tavrelzel4.h"
#include "effect/zl4.h"
#include "framework/igraphicswin.h"

namespace {
// Before any instance loads them: the headless editor reads the images from the source tree.
const bool kImageFolderSet = (IGraphicsWin::SetImageFolder(TZ_SOURCE_DIR), true);

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

TEST(TavrelZel4, EachParameterReachesBothModels) {
    TavrelZel4 plug;
    const std::pair<int, double> values[] = {{TavrelZel4::kDistAmount, 0.5},  {TavrelZel4::kTone, 0.3},
                                             {TavrelZel4::kLevel, 0.8},       {TavrelZel4::kDryWet, 0.25},
                                             {TavrelZel4::kSaturation, 0.0},  {TavrelZel4::kHiss, 0.0},
                                             {TavrelZel4::kCompensation, 0.0}};
    for (auto [idx, value] : values) SetNormalized(plug, idx, value);
    zl4 reference;
    reference.SetDistortion(0.5);
    for (zl4* m : {plug.LeftModel(), plug.RightModel()}) {
        EXPECT_EQ(m->Drive(), reference.Drive());
        EXPECT_DOUBLE_EQ(m->Tone(), 0.3);
        EXPECT_DOUBLE_EQ(m->Level(), 0.8);
        EXPECT_DOUBLE_EQ(m->Mix(), 0.25);
        EXPECT_FALSE(m->Saturation() || m->Hiss() || m->Compensation());
    }
    // Bypass switches at one half.
    for (double v : {0.5, 0.4}) {
        plug.GetParam(TavrelZel4::kBypass)->SetValue(v);
        plug.ParameterChanged(TavrelZel4::kBypass, kSourceHost);
        EXPECT_EQ(plug.LeftModel()->Bypass(), v >= 0.5);
        EXPECT_EQ(plug.RightModel()->Bypass(), v >= 0.5);
    }
    // Indices outside the parameters change nothing.
    plug.GetParam(TavrelZel4::kTone)->SetValue(100);
    plug.ParameterChanged(8, kSourceHost);
    plug.ParameterChanged(-1, kSourceHost);
    EXPECT_DOUBLE_EQ(plug.LeftModel()->Tone(), 0.3);
}

TEST(TavrelZel4, SampleRatesPickTheOversamplingFactor) {
    TavrelZel4 plug;
    const std::pair<double, int> cases[] = {{22050, 4}, {44100, 4},  {48000, 4},  {88199.9, 4}, {88200, 2},
                                            {96000, 2}, {191999, 2}, {192000, 1}, {384000, 1},  {NAN, 1}};
    for (auto [rate, factor] : cases) {
        Prepare(plug, rate, 64);
        EXPECT_EQ(OversamplingForSampleRate(rate), factor) << rate;
        EXPECT_EQ(plug.LeftModel()->Oversampling(), factor) << rate;
        EXPECT_EQ(plug.RightModel()->Oversampling(), factor) << rate;
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

    const std::vector<double> tones[] = {Tone(256, 440, 44100), Tone(256, 1000, 44100)};
    std::vector<double> in0 = tones[0], in1 = tones[1], out[] = {std::vector<double>(256), std::vector<double>(256)};
    double* ins[] = {in0.data(), in1.data()};
    double* outs[] = {out[0].data(), out[1].data()};
    plug.ProcessDoubles(ins, outs, 256);
    EXPECT_EQ(in0, tones[0]);
    EXPECT_EQ(in1, tones[1]);

    // Each channel equals a model set up by hand with the same values.
    for (int c = 0; c < 2; ++c) {
        zl4 m;
        m.SetSampleRate(44100);
        m.SetOversampling(4);
        m.SetChannels(1);
        m.ResetFilters();
        m.SetDistortion(plug.GetParam(TavrelZel4::kDistAmount)->NormalizedValue());
        m.SetTone(0.5);
        m.SetLevel(0.5);
        m.SetHiss(false);
        std::vector<double> ref = tones[c];
        m.ProcessBlock(ref.data(), 256);
        EXPECT_EQ(out[c], ref) << c;
        EXPECT_NE(out[c], tones[c]) << c;
    }

    std::vector<double> untouched(256, 7.0);
    double* quiet[] = {untouched.data(), untouched.data()};
    plug.ProcessDoubles(ins, quiet, 0);
    plug.ProcessDoubles(ins, quiet, -3);
    EXPECT_EQ(untouched, std::vector<double>(256, 7.0));
}

TEST(TavrelZel4Editor, LayoutImagesAndBypassLed) {
    TavrelZel4 plug;
    IGraphics* editor = plug.GetGraphics();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Width(), 410);
    EXPECT_EQ(editor->Height(), 460);
    ASSERT_EQ(editor->NControls(), 11);
    EXPECT_EQ(editor->GetControl(0)->Rect(), (IBounds{0, 0, 410, 460}));
    EXPECT_EQ(editor->GetControl(2)->Rect(), (IBounds{25, 13, 115, 103}));   // 100 frames of 90 x 90
    EXPECT_EQ(editor->GetControl(4)->Rect(), (IBounds{314, 64, 350, 120}));  // 2 frames of 36 x 56
    EXPECT_EQ(editor->GetControl(7)->Rect(), (IBounds{342, 281, 390, 329}));
    EXPECT_EQ(editor->GetControl(9)->Rect(), (IBounds{148, 17, 166, 35}));
    EXPECT_EQ(static_cast<ITextControl*>(editor->GetControl(10))->GetText(), std::string("v") + Product::kVersionText);
    EXPECT_DOUBLE_EQ(editor->GetControl(1)->Value(), 0.5);  // Tone 25 on a square-root shape
    EXPECT_EQ(editor->GetControl(4)->Value(), 1.0);         // saturation on

    // A fresh instance is active: the LED is lit, and a bypass change is drawn.
    IControl* led = editor->GetControl(9);
    EXPECT_EQ(led->Value(), 1.0);
    for (int i = 0; i < 2; ++i) led->MarkClean();
    plug.GetParam(TavrelZel4::kBypass)->SetValue(1.0);
    plug.ParameterChanged(TavrelZel4::kBypass, kSourceHost);
    EXPECT_EQ(led->Value(), 0.0);
    EXPECT_TRUE(led->IsDirty());
}
