// UTF-8 / UTF-16 conversion with truncation, String128 helpers and number texts.
#include "sdk/vst3/strings.h"

#include <gtest/gtest.h>

#include <string>

using namespace Sdk;
using namespace Sdk::Vst;

TEST(Strings, ConvertsUtf8ToUtf16AndBack) {
    const char* utf8 = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB8";  // A, e-acute, euro sign, guitar (U+1F3B8)
    String128 wide;
    EXPECT_EQ(utf8ToUtf16(utf8, wide, 128), 5);
    EXPECT_EQ(std::u16string(wide), u"A\u00E9\u20AC\U0001F3B8");
    char back[64];
    EXPECT_EQ(utf16ToUtf8(wide, back, sizeof(back)), 10);
    EXPECT_STREQ(back, utf8);

    toString128("Main Input", wide);
    EXPECT_EQ(strcmp16(wide, u"Main Input"), 0);
    fromString128(u"Host", back, sizeof(back));
    EXPECT_STREQ(back, "Host");

    char16 dst[4];
    strcpy16(dst, u"abcdef", 4);
    EXPECT_EQ(std::u16string(dst), u"abc");
    strcpy16(dst, nullptr, 4);
    EXPECT_EQ(dst[0], 0);
    EXPECT_LT(strcmp16(u"ab", u"abc"), 0);
    EXPECT_GT(strcmp16(u"b", u"abc"), 0);
}

TEST(Strings, TruncatesWithoutSplittingCharacters) {
    String128 wide;
    std::string longText(300, 'a');
    EXPECT_EQ(utf8ToUtf16(longText.c_str(), wide, 128), 127);
    EXPECT_EQ(wide[127], 0);

    // The pair needs two units: with room for one it is dropped whole.
    char16 small[3];
    EXPECT_EQ(utf8ToUtf16("a\xF0\x9F\x8E\xB8", small, 3), 1);
    EXPECT_EQ(small[1], 0);

    // Three bytes of room cannot take a two-byte sequence after "ab".
    char narrow[4];
    EXPECT_EQ(utf16ToUtf8(u"ab\u00E9", narrow, 4), 2);
    EXPECT_STREQ(narrow, "ab");

    char16 none[1] = {u'x'};
    EXPECT_EQ(utf8ToUtf16("abc", none, 1), 0);
    EXPECT_EQ(none[0], 0);
    EXPECT_EQ(utf8ToUtf16(nullptr, wide, 128), 0);
    EXPECT_EQ(wide[0], 0);
}

TEST(Strings, ReplacesMalformedInput) {
    String128 wide;
    utf8ToUtf16("a\xC3(b\xFF", wide, 128);  // truncated sequence, then an invalid byte
    EXPECT_EQ(std::u16string(wide), u"a\uFFFD(b\uFFFD");
    utf8ToUtf16("\xC0\xAF", wide, 128);  // overlong encoding
    EXPECT_EQ(wide[0], 0xFFFD);

    const char16 lone[] = {u'x', 0xD800, u'y', 0};
    char narrow[16];
    utf16ToUtf8(lone, narrow, sizeof(narrow));
    EXPECT_STREQ(narrow, "x\xEF\xBF\xBDy");
}

TEST(Strings, PrintsAndParsesNumbers) {
    String128 a, b, c;
    printFloat(-1.23456, 2, a);
    printFloat(2.5, 0, b);
    printInteger(-9000000000LL, c);
    EXPECT_EQ(std::u16string(a) + u" " + b + u" " + c, u"-1.23 2 -9000000000");

    double d = 0.;
    EXPECT_TRUE(parseFloat(u"  -3.5e2 dB", d));
    EXPECT_EQ(d, -350.);
    for (const char16* bad : {u"dB", u"\u00E9", static_cast<const char16*>(nullptr)}) EXPECT_FALSE(parseFloat(bad, d));
    int64 i = 0;
    EXPECT_TRUE(parseInteger(u"42x", i));
    EXPECT_EQ(i, 42);
    EXPECT_FALSE(parseInteger(u"", i));
    EXPECT_EQ(i, 42);
}
