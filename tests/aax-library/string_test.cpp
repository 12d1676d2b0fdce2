// AAX_CString: its host-visible slots, editing operations and locale-independent numbers.
#include <gtest/gtest.h>

#include <locale>

#include "aax-library/aax_string.h"

namespace {

template <class R, class... A>
R Slot(void* iface, int slot, A... args) {
    using Fn = R(ACF_CALL*)(void*, A...);
    return reinterpret_cast<Fn>((*static_cast<void***>(iface))[slot])(iface, args...);
}

TEST(AaxString, HostSlotsInOrder) {
    AAX_CString s(nullptr);
    AAX_CString other("other");
    void* p = static_cast<AAX_IString*>(&s);
    EXPECT_EQ(0u, Slot<uint32_t>(p, 1));
    EXPECT_EQ(0xFFFFFFFEu, Slot<uint32_t>(p, 2));
    Slot<void>(p, 4, "abc");
    EXPECT_STREQ("abc", Slot<const char*>(p, 3));
    EXPECT_EQ(p, Slot<void*>(p, 5, "12.50"));
    EXPECT_EQ(5u, s.Length());
    Slot<void*>(p, 6, static_cast<const AAX_IString*>(&other));
    EXPECT_STREQ("other", s.Text());
    s.Set(nullptr);
    EXPECT_STREQ("", s.Text());
}

TEST(AaxString, EditingOperations) {
    AAX_CString s("12.50");
    s.Erase(2, s.Length() - 2);
    EXPECT_STREQ("12", s.Text());
    s.Erase(s.Length() - 1, 1);
    EXPECT_STREQ("1", s.Text());

    AAX_CString sub;
    AAX_CString("abc").SubString(1, 100, sub);
    EXPECT_STREQ("bc", sub.Text());
    EXPECT_THROW(sub.Erase(5, 1), std::out_of_range);

    AAX_CString a("on"), b("on");
    EXPECT_TRUE(a.Equals(b));
    EXPECT_TRUE(a.Differs(AAX_CString("On")));
    a.Append(AAX_CString("dB"));
    EXPECT_STREQ("ondB", a.Text());
    a = a;
    EXPECT_STREQ("ondB", a.Text());
}

// A process locale whose decimal separator is a comma must not reach the library's numbers.
struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(AaxString, NumbersIgnoreTheProcessLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    const struct {
        double value;
        int precision;
        const char* text;
    } formats[] = {{0.5, 2, "0.50"}, {-12, 2, "-12.00"}, {3.14159, 0, "3"}};
    for (const auto& f : formats) {
        AAX_CString s("x");
        s.FormatNumberText(f.value, f.precision);
        EXPECT_EQ(std::string("x") + f.text, s.Text());
    }
    const struct {
        const char* text;
        bool ok;
        double value;
    } parses[] = {{"1.5 dB", true, 1.5}, {"  7.25xyz", true, 7.25}, {"dB", false, 0.0}, {"", false, 0.0}};
    for (const auto& p : parses) {
        double v = 99;
        EXPECT_EQ(p.ok, AAX_CString(p.text).ParseNumberText(v)) << p.text;
        EXPECT_EQ(p.value, v) << p.text;
    }
    std::locale::global(previous);
}

}  // namespace
