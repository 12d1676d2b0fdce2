#include "sdk/vst3/strings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Sdk {

int32 strlen16(const char16* s) {
    int32 n = 0;
    if (s)
        while (s[n]) ++n;
    return n;
}

int32 strcmp16(const char16* a, const char16* b) {
    for (;; ++a, ++b) {
        if (*a != *b) return *a < *b ? -1 : 1;
        if (*a == 0) return 0;
    }
}

void strcpy16(char16* dst, const char16* src, int32 dstCount) {
    if (dstCount <= 0) return;
    int32 n = 0;
    if (src)
        for (; n < dstCount - 1 && src[n]; ++n) dst[n] = src[n];
    dst[n] = 0;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at s, advancing it.
char32_t decodeUtf8(const unsigned char*& s) {
    unsigned char lead = *s++;
    if (lead < 0x80) return lead;
    int extra;
    char32_t cp, min;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < extra; ++i) {
        if ((*s & 0xC0) != 0x80) return kReplacement;  // the terminator stops here too
        cp = (cp << 6) | (*s++ & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

}  // namespace

int32 utf8ToUtf16(const char8* src, char16* dst, int32 dstCount) {
    if (dstCount <= 0) return 0;
    int32 n = 0;
    auto s = reinterpret_cast<const unsigned char*>(src ? src : "");
    while (*s) {
        char32_t cp = decodeUtf8(s);
        if (cp >= 0x10000) {
            if (n + 2 > dstCount - 1) break;
            cp -= 0x10000;
            dst[n++] = static_cast<char16>(0xD800 + (cp >> 10));
            dst[n++] = static_cast<char16>(0xDC00 + (cp & 0x3FF));
        } else {
            if (n + 1 > dstCount - 1) break;
            dst[n++] = static_cast<char16>(cp);
        }
    }
    dst[n] = 0;
    return n;
}

int32 utf16ToUtf8(const char16* src, char8* dst, int32 dstBytes) {
    if (dstBytes <= 0) return 0;
    int32 n = 0;
    for (const char16* s = src ? src : u""; *s;) {
        char32_t cp = *s++;
        if (cp >= 0xD800 && cp <= 0xDBFF && *s >= 0xDC00 && *s <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (*s++ - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = kReplacement;
        int32 len = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
        if (n + len > dstBytes - 1) break;
        if (len == 1) {
            dst[n++] = static_cast<char8>(cp);
            continue;
        }
        static const unsigned char leads[] = {0, 0, 0xC0, 0xE0, 0xF0};
        dst[n++] = static_cast<char8>(leads[len] | (cp >> (6 * (len - 1))));
        for (int32 i = len - 2; i >= 0; --i) dst[n++] = static_cast<char8>(0x80 | ((cp >> (6 * i)) & 0x3F));
    }
    dst[n] = 0;
    return n;
}

namespace Vst {

namespace {

void widenAscii(const char* text, String128 out) {
    int32 n = 0;
    for (; n < 127 && text[n]; ++n) out[n] = static_cast<TChar>(static_cast<unsigned char>(text[n]));
    out[n] = 0;
}

// Narrows the ASCII prefix of a text; false when that prefix is too long to be a number.
bool narrowAscii(const TChar* text, char (&out)[128]) {
    int32 n = 0;
    for (; text[n] && text[n] < 0x80; ++n) {
        if (n == 127) return false;
        out[n] = static_cast<char>(text[n]);
    }
    out[n] = 0;
    return true;
}

}  // namespace

void printFloat(double value, int32 precision, String128 out) {
    char buffer[512];
    std::snprintf(buffer, sizeof(buffer), "%.*f", precision, value);
    widenAscii(buffer, out);
}

void printInteger(int64 value, String128 out) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%lld", static_cast<long long>(value));
    widenAscii(buffer, out);
}

bool parseFloat(const TChar* text, double& value) {
    char buffer[128];
    if (!text || !narrowAscii(text, buffer)) return false;
    char* end = nullptr;
    double parsed = std::strtod(buffer, &end);
    if (end == buffer || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool parseInteger(const TChar* text, int64& value) {
    char buffer[128];
    if (!text || !narrowAscii(text, buffer)) return false;
    char* end = nullptr;
    long long parsed = std::strtoll(buffer, &end, 10);
    if (end == buffer) return false;
    value = parsed;
    return true;
}

}  // namespace Vst
}  // namespace Sdk
