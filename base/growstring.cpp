#include "base/growstring.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

GrowString::GrowString(const char* text, int maxLen) {
    if (!text) return;
    int len = 0;
    if (maxLen <= 0)
        len = static_cast<int>(std::strlen(text));
    else
        while (len < maxLen && text[len]) ++len;
    Set(0, text, len);
}

const char* GrowString::Get() const {
    const char* text = static_cast<const char*>(mBuffer.Get());
    return text ? text : "";
}

void GrowString::Set(int offset, const char* text, int len) {
    if (len == 0) {
        if (offset != 0) return;
        mBuffer.Resize(1, false);
        if (mBuffer.GetSize() == 1) static_cast<char*>(mBuffer.Get())[0] = 0;
        return;
    }
    if (len < 0 || offset < 0) return;

    const int sizeOnEntry = mBuffer.GetSize();
    const int need = offset + len + 1;
    if (sizeOnEntry < need) {
        const char* oldData = static_cast<const char*>(mBuffer.Get());
        const bool pointsIntoSelf = oldData && text >= oldData && text < oldData + sizeOnEntry;
        const std::ptrdiff_t textOffset = pointsIntoSelf ? text - oldData : 0;
        mBuffer.Resize(need, false);
        if (mBuffer.GetSize() < need) return;
        if (pointsIntoSelf) text = static_cast<const char*>(mBuffer.Get()) + textOffset;
    }
    char* data = static_cast<char*>(mBuffer.Get());
    if (text) std::memmove(data + offset, text, static_cast<size_t>(len));
    data[offset + len] = 0;
    if (need < sizeOnEntry) mBuffer.Resize(need, false);
}

const char* GrowString::SetFormatted(int maxLen, const char* format, ...) {
    if (maxLen < 0) return Get();
    mBuffer.Resize(maxLen + 1, false);
    if (mBuffer.GetSize() != maxLen + 1) return Get();
    char* data = static_cast<char*>(mBuffer.Get());
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(data, static_cast<size_t>(maxLen) + 1, format, args);
    va_end(args);
    int length = written;
    if (written < 0 || written >= maxLen) {
        length = data[0] ? maxLen : 0;
        data[length] = 0;
    }
    mBuffer.Resize(length + 1, false);
    return Get();
}
