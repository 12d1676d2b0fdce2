#pragma once
// GrowString: a NUL-terminated text on a GrowBuffer of granularity 128. The size counts the NUL;
// a string that was never set has size 0 and reads as "".
#include "base/growbuffer.h"

class GrowString {
public:
    // maxLen <= 0 takes the whole text; a null text leaves the string empty.
    explicit GrowString(const char* text = nullptr, int maxLen = 0);

    // Replaces everything from offset on with len bytes of text (which may point into this string).
    void Set(int offset, const char* text, int len);
    // Formats into the string, cut to at most maxLen characters; returns the text.
    const char* SetFormatted(int maxLen, const char* format, ...) __attribute__((format(printf, 3, 4)));
    const char* Get() const;
    int GetSize() const { return mBuffer.GetSize(); }
    int GetCapacity() const { return mBuffer.GetCapacity(); }
    void Free() { mBuffer.Free(); }

private:
    GrowBuffer mBuffer{128};
};
