// UTF-16 text helpers for the interface's String128 fields and 8-bit (UTF-8) texts.
#pragma once

#include "sdk/vst3/basetypes.h"

namespace Sdk {

int32 strlen16(const char16* s);
int32 strcmp16(const char16* a, const char16* b);
// Copies at most dstCount - 1 units and always terminates; a null source gives "".
void strcpy16(char16* dst, const char16* src, int32 dstCount);

// UTF-8 to UTF-16, truncated to dstCount - 1 units (a surrogate pair is never split) and
// terminated. Malformed bytes become U+FFFD. Returns the units written, without the terminator.
int32 utf8ToUtf16(const char8* src, char16* dst, int32 dstCount);
// UTF-16 to UTF-8, truncated to dstBytes - 1 bytes without splitting a sequence, terminated.
// Unpaired surrogates become U+FFFD. Returns the bytes written, without the terminator.
int32 utf16ToUtf8(const char16* src, char8* dst, int32 dstBytes);

namespace Vst {

inline void toString128(const char8* utf8, String128 out) { utf8ToUtf16(utf8, out, 128); }
inline void fromString128(const TChar* text, char8* out, int32 outBytes) { utf16ToUtf8(text, out, outBytes); }

// A String128 filled from UTF-8 text, for passing titles and names to the helper classes.
class UString128 {
public:
    explicit UString128(const char8* utf8) { toString128(utf8, text); }
    operator const TChar*() const { return text; }

private:
    String128 text;
};

// Numbers as parameter display texts, in the classic "C" format.
void printFloat(double value, int32 precision, String128 out);  // "%.*f"
void printInteger(int64 value, String128 out);
// Reads a number at the start of the text (leading blanks allowed, trailing text ignored);
// false when the text does not start with a finite one.
bool parseFloat(const TChar* text, double& value);
bool parseInteger(const TChar* text, int64& value);

}  // namespace Vst
}  // namespace Sdk
