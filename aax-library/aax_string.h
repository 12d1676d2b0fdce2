#pragma once
// AAX_IString: the string interface every text crossing the host boundary travels in, and
// AAX_CString, the library's string over a standard byte string.
#include <cstdint>
#include <string>

#include "aax-library/acf.h"

// Host-visible: either side may hold the object, so the slots are fixed and there is no
// virtual destructor; slot 0 is a deleting entry (flag bit 0: free the storage too).
class AAX_IString {
public:
    virtual void ACF_CALL DeleteThis(uint32_t flags) = 0;
    virtual uint32_t ACF_CALL Length() const = 0;
    virtual uint32_t ACF_CALL MaxLength() const = 0;
    virtual const char* ACF_CALL Text() const = 0;
    virtual void ACF_CALL Set(const char* text) = 0;
    virtual AAX_IString& ACF_CALL Assign(const char* text) = 0;
    virtual AAX_IString& ACF_CALL Assign(const AAX_IString& other) = 0;

protected:
    ~AAX_IString() = default;
};

// Strings the host hands over may belong to another module, so the library reaches them by
// slot number rather than by a C++ virtual call.
const char* HostStringText(const AAX_IString& s);                 // slot 3
void HostStringSet(AAX_IString& s, const char* text);             // slot 4
void HostStringAssign(AAX_IString& s, const char* text);          // slot 5
void HostStringAssign(AAX_IString& s, const AAX_IString& other);  // slot 6

class AAX_CString final : public AAX_IString {
public:
    AAX_CString() = default;
    AAX_CString(const char* text) : mText(text ? text : "") {}
    AAX_CString(const AAX_CString& other) : AAX_IString(), mText(other.mText) {}
    AAX_CString& operator=(const AAX_CString& other);
    ~AAX_CString() = default;

    void ACF_CALL DeleteThis(uint32_t flags) override;
    uint32_t ACF_CALL Length() const override { return uint32_t(mText.size()); }
    uint32_t ACF_CALL MaxLength() const override { return 0xFFFFFFFEu; }
    const char* ACF_CALL Text() const override { return mText.c_str(); }
    // A null text counts as the empty text.
    void ACF_CALL Set(const char* text) override;
    AAX_IString& ACF_CALL Assign(const char* text) override;
    AAX_IString& ACF_CALL Assign(const AAX_IString& other) override;

    void Clear() { mText.clear(); }
    // Positions past the end throw std::out_of_range; a count past the end stops at the end.
    void Erase(uint32_t position, uint32_t count) { mText.erase(position, count); }
    void SubString(uint32_t position, uint32_t count, AAX_IString& out) const;
    bool Equals(const AAX_CString& other) const;
    bool Differs(const AAX_CString& other) const { return !Equals(other); }
    char operator[](uint32_t index) const { return mText[index]; }
    void Append(const AAX_CString& other) { mText.append(other.mText.c_str()); }

    // Appends the value in fixed notation with the given digits after the point, classic locale.
    void FormatNumberText(double value, int precision);
    // Reads one number from the start of the text (classic locale); 0.0 and false when none.
    bool ParseNumberText(double& out) const;

private:
    std::string mText;
};
