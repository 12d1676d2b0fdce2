#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "framework/fxparam.h"

namespace {
std::string Format(const IFxParam& p, double v, bool normalized, bool texts) {
    char out[kParamTextSize];
    std::memset(out, 'X', sizeof out);
    p.FormatForHost(v, normalized, out, texts);
    return out;
}
}  // namespace

TEST(FxParam, ToggleRangeStepsAndTexts) {
    IFxParam p;
    p.DefineToggle("Bypass", true, "", "");
    EXPECT_EQ(p.Kind(), kParamBool);
    EXPECT_EQ(p.Value(), 1.0);
    EXPECT_EQ(p.Max(), 1.0);
    EXPECT_EQ(p.Step(), 0.1);
    EXPECT_EQ(p.DisplayPrecision(), 1);
    EXPECT_EQ(p.GetValueTextCount(), 2);

    p.AssignNormalized(0.34);
    EXPECT_DOUBLE_EQ(p.Value(), 0.3);
    EXPECT_EQ(Format(p, p.Value(), false, true), "off");
    p.AssignNormalized(0.97);
    EXPECT_DOUBLE_EQ(p.Value(), 1.0);
    EXPECT_EQ(Format(p, p.Value(), false, true), "on");
    EXPECT_EQ(Format(p, 0.9, false, false), "0.9");
    // The text reads the state the effect acts on: on from 0.5 up.
    const struct {
        double value;
        bool normalized;
        const char* text;
    } states[] = {{0.0, false, "off"}, {0.4, false, "off"}, {0.5, false, "on"}, {0.9, false, "on"},
                  {1.0, false, "on"},  {NAN, false, "off"}, {0.6, true, "on"},  {0.49, true, "off"}};
    for (const auto& c : states) EXPECT_EQ(Format(p, c.value, c.normalized, true), c.text) << c.value;
    EXPECT_STREQ(p.ParamLabelText(), "");

    EXPECT_STREQ(p.GetValueText(5), "");
    int v = -7;
    EXPECT_TRUE(p.MapDisplayText("on", &v));
    EXPECT_EQ(v, 1);
    EXPECT_FALSE(p.MapDisplayText("On", &v));
    EXPECT_EQ(v, 1);

    p.DefineToggle("Again", false, "", "");  // keeps the kind, appends two more texts
    EXPECT_EQ(p.Kind(), kParamBool);
    EXPECT_EQ(p.GetValueTextCount(), 4);
}

TEST(FxParam, DisplayPrecisionFollowsTheStep) {
    const double steps[] = {1, 0.5, 0.1, 0.25, 0.01, 0.001, 1.0 / 3.0};
    const int digits[] = {0, 1, 1, 2, 2, 3, 6};
    for (int i = 0; i < 7; ++i) {
        IFxParam p;
        p.DefineRange("x", 0, 0, 10, steps[i], "", "", 1);
        EXPECT_EQ(p.DisplayPrecision(), digits[i]) << steps[i];
    }
    IFxParam degenerate;
    degenerate.DefineRange("x", 0, 0, 0, 1, "", "", 1);
    EXPECT_EQ(degenerate.Max(), 1.0);
}

TEST(FxParam, QuantizingAndShape) {
    IFxParam stepOne;
    stepOne.DefineRange("x", 0, -10, 10, 1, "", "", 1);
    stepOne.AssignNormalized(12.5 / 20);  // 2.5 rounds away from zero
    EXPECT_EQ(stepOne.Value(), 3.0);
    stepOne.AssignNormalized(7.5 / 20);
    EXPECT_EQ(stepOne.Value(), -3.0);

    IFxParam half;
    half.DefineRange("x", 0, 0, 10, 0.5, "", "", 1);
    half.AssignNormalized(0.237);
    EXPECT_DOUBLE_EQ(half.Value(), 2.37);

    IFxParam wide;
    wide.DefineRange("x", 0, 0, 10, 0.5, "", "", 1);
    wide.AssignNormalized(1.5);
    EXPECT_EQ(wide.Value(), 10.0);
    EXPECT_EQ(wide.ToNormalized(11), 1.0);
    EXPECT_EQ(wide.ToNormalized(-1), 0.0);

    IFxParam curved;
    curved.DefineRange("x", 0, 0, 1, 0.01, "", "", 2);
    curved.AssignNormalized(0.5);
    EXPECT_DOUBLE_EQ(curved.Value(), 0.25);
    EXPECT_DOUBLE_EQ(curved.NormalizedValue(), 0.5);
    curved.SetCurve(0);
    EXPECT_EQ(curved.Shape(), 2.0);
}

// Hosts hand over values unchecked: nothing outside the range, and no NaN, may become the value.
TEST(FxParam, HostValuesOutsideTheContract) {
    IFxParam p;
    p.DefineRange("x", 5, 1, 10, 0.1, "", "", 0.5);
    const double bad[] = {-0.5, 1e300, std::numeric_limits<double>::quiet_NaN(),
                          -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    for (double v : bad) {
        p.AssignNormalized(v);
        EXPECT_GE(p.Value(), 1.0) << v;
        EXPECT_LE(p.Value(), 10.0) << v;
        const double n = p.ToNormalized(v);
        EXPECT_TRUE(n >= 0.0 && n <= 1.0) << v;
    }
    IFxParam flat;
    flat.DefineRange("x", 0, 0, 0, 0, "", "", 1);
    EXPECT_EQ(flat.ToNormalized(0), 0.0);
}

TEST(FxParam, FormattedTextsAreBounded) {
    IFxParam p;
    p.DefineRange("x", 0, 0, 100, 0.1, "%", "", 1);
    EXPECT_EQ(Format(p, 42.26, false, true), "42.3");
    EXPECT_EQ(Format(p, 0.5, true, true), "50.0");
    EXPECT_EQ(Format(p, 1e300, false, true).size(), 31u);
    EXPECT_STREQ(p.ParamLabelText(), "%");

    IFxParam whole;
    whole.DefineRange("x", 0, -100, 100, 1, "", "", 1);
    EXPECT_EQ(Format(whole, -3.7, false, false), "-3");
    EXPECT_EQ(Format(whole, 1e300, false, false), "2147483647");
    whole.SetNegateDisplay(true);
    EXPECT_EQ(Format(whole, 3, false, false), "-3");

    IFxParam named;
    named.DefineRange("a name well beyond thirty-one characters", 0, 0, 1, 1, "", "", 1);
    EXPECT_EQ(std::strlen(named.ParamNameText()), 31u);
}
