// Tapers and displays: the conversions and texts of each concrete delegate.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "aax-library/aax_display.h"
#include "aax-library/aax_taper.h"
#include "aax_host.h"

namespace {

TEST(Taper, PowerLaw) {
    const AAX_CIFxTaperDelegate<double> t(0, 10, 2);
    EXPECT_DOUBLE_EQ(2.5, t.ToReal(0.5));
    EXPECT_DOUBLE_EQ(10, t.ToReal(1.5));
    const struct { double real, normalized; } cases[] = {{2.5, 0.5}, {20, 1.0}, {-5, 0.0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(c.normalized, t.ToNormalized(c.real)) << c.real;
    EXPECT_TRUE(std::isnan(t.Clamp(std::nan(""))));
    std::unique_ptr<AAX_ITaperDelegate<double>, SlotDelete> clone(t.Clone());
    EXPECT_EQ(10, clone->Maximum());
    EXPECT_DOUBLE_EQ(0.5, clone->ToNormalized(2.5));
}

TEST(Taper, LinearTruncatesTowardZero) {
    const AAX_CLinearTaperDelegate<int32_t, 0> t(0, 100), signedRange(-10, 10);
    EXPECT_EQ(99, t.ToReal(0.999));
    EXPECT_EQ(100, t.ToReal(1.0));
    EXPECT_DOUBLE_EQ(0.5, t.ToNormalized(50));
    EXPECT_DOUBLE_EQ(1.0, t.ToNormalized(150));
    EXPECT_EQ(-4, signedRange.ToReal(0.26));
    // Host values far outside 0..1 (and NaN) stay inside the range instead of overflowing int32.
    EXPECT_EQ(100, t.ToReal(1e12));
    EXPECT_EQ(0, t.ToReal(-1e12));
    EXPECT_EQ(0, t.ToReal(std::numeric_limits<double>::quiet_NaN()));
}

TEST(Taper, Binary) {
    const AAX_CBinaryTaperDelegate<bool> t;
    EXPECT_FALSE(t.ToReal(0.0));
    EXPECT_TRUE(t.ToReal(0.001));
    EXPECT_EQ(1.0, t.ToNormalized(true));
}

std::string Format(const AAX_IDisplayDelegate<double>& d, double v, int32_t max) {
    AAX_CString out("junk");
    EXPECT_TRUE(d.FormatValue(v, max, out));
    return out.Text();
}

TEST(Display, NumberAndUnitTexts) {
    const AAX_CNumberDisplayDelegate<double, 2, 0> number;
    const AAX_CUnitDisplayDelegateDecorator<double> unit(number, "dB");
    std::unique_ptr<AAX_IDisplayDelegate<double>, SlotDelete> unitClone(unit.Clone());
    AAX_CString out;
    number.FormatValue(0.5, out);
    EXPECT_STREQ("0.50", out.Text());
    unitClone->FormatValue(0.5, out);
    EXPECT_STREQ("0.50dB", out.Text());

    const struct {
        const AAX_IDisplayDelegate<double>* d;
        double value;
        int32_t max;
        const char* text;
    } cases[] = {
        {&number, 123.456, 5, "123.4"}, {&number, 1234.5, 5, "1234"}, {&number, 1.0, 0, ""},
        {&number, 1.0, -3, ""},         {&unit, 0.5, 6, "0.50dB"},    {&unit, 0.5, 5, "0.50"},
        {&unit, 12.345, 4, "12.3"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, Format(*c.d, c.value, c.max)) << c.value << " " << c.max;
}

TEST(Display, Parsing) {
    const AAX_CNumberDisplayDelegate<double, 2, 0> number;
    const AAX_CUnitDisplayDelegateDecorator<double> unit(number, "dB");
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {{"0.5dB", true, 0.5}, {"0.5 dB", true, 0.5}, {"dB", false, 0.0}, {"0.5db", true, 0.5}};
    for (const auto& c : cases) {
        double v = 99;
        EXPECT_EQ(c.ok, unit.ParseText(c.text, v)) << c.text;
        EXPECT_EQ(c.value, v) << c.text;
    }

    const AAX_CNumberDisplayDelegate<int32_t, 2, 0> integer;
    AAX_CString out;
    integer.FormatValue(7, out);
    EXPECT_STREQ("7.00", out.Text());
    const struct {
        const char* text;
        bool ok;
        int32_t value;
    } ints[] = {{"3.9", true, 3}, {"-3.9", true, -3}, {"abc", false, 0}, {"1e12", true, INT32_MAX}};
    for (const auto& c : ints) {
        int32_t v = 99;
        EXPECT_EQ(c.ok, integer.ParseText(c.text, v)) << c.text;
        EXPECT_EQ(c.value, v) << c.text;
    }
}

TEST(Display, BinaryTexts) {
    const AAX_CBinaryDisplayDelegate<bool> d("off", "on");
    AAX_CString out;
    d.FormatValue(true, 1, out);
    EXPECT_STREQ("on", out.Text());
    const struct {
        const char* text;
        bool ok, value;
    } cases[] = {{"on", true, true}, {"off", true, false}, {"On", false, false}};
    for (const auto& c : cases) {
        bool v = !c.value;
        EXPECT_EQ(c.ok, d.ParseText(c.text, v)) << c.text;
        EXPECT_EQ(c.value, v) << c.text;
    }
}

// Slot numbers as a host counts them: slot 0 destroys (flag 1 frees the storage too), then the
// operations of each table in order. Clones made through slot 1 are destroyed through slot 0.
TEST(Delegates, SlotsAsTheHostNumbersThem) {
    using aaxhost::CallSlot;
    const AAX_CIFxTaperDelegate<double> taper(0, 10, 2);
    void* t = CallSlot<void*>(
        const_cast<AAX_ITaperDelegate<double>*>(static_cast<const AAX_ITaperDelegate<double>*>(&taper)), 1);
    const struct {
        int slot;
        double argument, expected;
    } cases[] = {{2, 0, 10}, {3, 0, 0}, {4, 20, 10}, {5, 0.5, 2.5}, {6, 2.5, 0.5}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.expected, c.slot < 4 ? CallSlot<double>(t, c.slot) : CallSlot<double>(t, c.slot, c.argument))
            << c.slot;
    CallSlot<void>(t, 0, 1u);

    const AAX_CUnitDisplayDelegateDecorator<double> unit(AAX_CNumberDisplayDelegate<double, 2, 0>(), "dB");
    void* d = CallSlot<void*>(
        const_cast<AAX_IDisplayDelegate<double>*>(static_cast<const AAX_IDisplayDelegate<double>*>(&unit)), 1);
    AAX_CString out;
    EXPECT_TRUE(CallSlot<bool>(d, 2, 0.25, int32_t(5), &out));
    EXPECT_STREQ("0.25", out.Text());
    EXPECT_TRUE(CallSlot<bool>(d, 3, 0.25, &out));
    EXPECT_STREQ("0.25dB", out.Text());
    const AAX_CString text("1.5dB");
    double parsed = 0;
    EXPECT_TRUE(CallSlot<bool>(d, 4, &text, &parsed));
    EXPECT_EQ(1.5, parsed);
    CallSlot<void>(d, 0, 1u);
}

}  // namespace
