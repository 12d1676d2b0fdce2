#include "aax-library/aax_string.h"

#include <cstring>
#include <iomanip>
#include <locale>
#include <sstream>

namespace {
template <class R, class... A>
R StringSlot(const AAX_IString& s, int slot, A... args) {
    using Method = R(ACF_CALL*)(const AAX_IString*, A...);
    return reinterpret_cast<Method>((*reinterpret_cast<void* const* const*>(&s))[slot])(&s, args...);
}
}  // namespace

const char* HostStringText(const AAX_IString& s) { return StringSlot<const char*>(s, 3); }
void HostStringSet(AAX_IString& s, const char* text) { StringSlot<void>(s, 4, text); }
void HostStringAssign(AAX_IString& s, const char* text) { StringSlot<void*>(s, 5, text); }
void HostStringAssign(AAX_IString& s, const AAX_IString& other) { StringSlot<void*>(s, 6, &other); }

AAX_CString& AAX_CString::operator=(const AAX_CString& other) {
    if (this != &other) mText = other.mText;
    return *this;
}

void ACF_CALL AAX_CString::DeleteThis(uint32_t flags) {
    if (flags & 1) {
        delete this;
    } else {
        this->~AAX_CString();
    }
}

void ACF_CALL AAX_CString::Set(const char* text) { mText = text ? text : ""; }

AAX_IString& ACF_CALL AAX_CString::Assign(const char* text) {
    Set(text);
    return *this;
}

AAX_IString& ACF_CALL AAX_CString::Assign(const AAX_IString& other) {
    if (&other != this) Set(HostStringText(other));
    return *this;
}

void AAX_CString::SubString(uint32_t position, uint32_t count, AAX_IString& out) const {
    HostStringSet(out, mText.substr(position, count).c_str());
}

bool AAX_CString::Equals(const AAX_CString& other) const {
    return std::strcmp(mText.c_str(), other.mText.c_str()) == 0;
}

void AAX_CString::FormatNumberText(double value, int precision) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(precision) << value;
    mText += out.str();
}

bool AAX_CString::ParseNumberText(double& out) const {
    std::istringstream in(mText);
    in.imbue(std::locale::classic());
    double value = 0.0;
    if (!(in >> value)) {
        out = 0.0;
        return false;
    }
    out = value;
    return true;
}
