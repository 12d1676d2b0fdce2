#pragma once
// Display delegates: turn a parameter's real value into the text the host shows and parse typed
// text back into a value.
#include <cstdint>
#include <memory>
#include <type_traits>

#include "aax-library/aax_number.h"
#include "aax-library/aax_string.h"

// Slot-numbered as the tapers are: slot 0 deletes, then the operations, the destructor last.
class AAX_IDisplayDelegateBase {
public:
    virtual void ACF_CALL DeleteThis(uint32_t flags) = 0;

protected:
    ~AAX_IDisplayDelegateBase() = default;
};

template <typename T>
class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase {
public:
    void ACF_CALL DeleteThis(uint32_t flags) override {
        if (flags & 1)
            delete this;
        else
            this->~AAX_IDisplayDelegate();
    }
    virtual AAX_IDisplayDelegate* ACF_CALL Clone() const = 0;
    virtual bool ACF_CALL FormatValue(T value, int32_t maxLength, AAX_CString& out) const = 0;
    virtual bool ACF_CALL FormatValue(T value, AAX_CString& out) const = 0;
    virtual bool ACF_CALL ParseText(const AAX_CString& text, T& out) const = 0;

protected:
    virtual ~AAX_IDisplayDelegate() = default;
};

// Fixed notation with Precision digits after the point; the third argument changes nothing.
template <typename T, int Precision = 2, int Unused = 0>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T> {
public:
    AAX_IDisplayDelegate<T>* ACF_CALL Clone() const override { return new AAX_CNumberDisplayDelegate(); }

    // Cut to maxLength characters; a point left at the end of the cut text goes too.
    bool ACF_CALL FormatValue(T value, int32_t maxLength, AAX_CString& out) const override {
        FormatValue(value, out);
        const uint32_t m = maxLength < 0 ? 0 : uint32_t(maxLength);
        if (out.Length() > m) out.Erase(m, out.Length() - m);
        if (m > 0 && out.Length() == m && out[m - 1] == '.') out.Erase(m - 1, 1);
        return true;
    }
    bool ACF_CALL FormatValue(T value, AAX_CString& out) const override {
        out.Clear();
        out.FormatNumberText(double(value), Precision);
        return true;
    }
    // Integers keep the number truncated toward zero, saturated at the int32 limits.
    bool ACF_CALL ParseText(const AAX_CString& text, T& out) const override {
        double number = 0.0;
        if (!text.ParseNumberText(number)) {
            out = T(0);
            return false;
        }
        if constexpr (std::is_integral_v<T>) {
            out = T(TruncateToInt32(number));
        } else {
            out = T(number);
        }
        return true;
    }
};

// Wraps another display delegate, which it owns.
template <typename T>
class AAX_IDisplayDelegateDecorator : public AAX_IDisplayDelegate<T> {
public:
    explicit AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& wrapped) : mWrapped(wrapped.Clone()) {}
    AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegateDecorator& other)
        : AAX_IDisplayDelegate<T>(), mWrapped(other.mWrapped->Clone()) {}
    AAX_IDisplayDelegateDecorator& operator=(const AAX_IDisplayDelegateDecorator&) = delete;

    AAX_IDisplayDelegate<T>* ACF_CALL Clone() const override { return new AAX_IDisplayDelegateDecorator(*this); }
    bool ACF_CALL FormatValue(T value, int32_t maxLength, AAX_CString& out) const override {
        return mWrapped->FormatValue(value, maxLength, out);
    }
    bool ACF_CALL FormatValue(T value, AAX_CString& out) const override { return mWrapped->FormatValue(value, out); }
    bool ACF_CALL ParseText(const AAX_CString& text, T& out) const override { return mWrapped->ParseText(text, out); }

protected:
    const AAX_IDisplayDelegate<T>& Wrapped() const { return *mWrapped; }

private:
    std::unique_ptr<AAX_IDisplayDelegate<T>, SlotDelete> mWrapped;
};

// Appends a unit text (no separator) when it fits.
template <typename T>
class AAX_CUnitDisplayDelegateDecorator : public AAX_IDisplayDelegateDecorator<T> {
public:
    AAX_CUnitDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& wrapped, const AAX_CString& unit)
        : AAX_IDisplayDelegateDecorator<T>(wrapped), mUnit(unit) {}

    AAX_IDisplayDelegate<T>* ACF_CALL Clone() const override { return new AAX_CUnitDisplayDelegateDecorator(*this); }

    bool ACF_CALL FormatValue(T value, int32_t maxLength, AAX_CString& out) const override {
        const bool result = this->Wrapped().FormatValue(value, maxLength, out);
        const int64_t room = int64_t(maxLength < 0 ? 0 : maxLength) - int64_t(out.Length());
        if (room > 0 && room >= int64_t(mUnit.Length())) out.Append(mUnit);
        return result;
    }
    bool ACF_CALL FormatValue(T value, AAX_CString& out) const override {
        const bool result = this->Wrapped().FormatValue(value, out);
        out.Append(mUnit);
        return result;
    }
    // A text ending exactly in the unit is parsed without it; any other text is parsed whole.
    bool ACF_CALL ParseText(const AAX_CString& text, T& out) const override {
        const uint32_t u = mUnit.Length(), n = text.Length();
        if (u >= n) return this->Wrapped().ParseText(text, out);
        AAX_CString tail;
        text.SubString(n - u, u, tail);
        if (tail.Differs(mUnit)) return this->Wrapped().ParseText(text, out);
        AAX_CString head;
        text.SubString(0, n - u, head);
        return this->Wrapped().ParseText(head, out);
    }

private:
    AAX_CString mUnit;
};

// Two fixed texts; the maximum length does not shorten them.
template <typename T>
class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T> {
public:
    AAX_CBinaryDisplayDelegate(const char* falseText, const char* trueText) : mFalse(falseText), mTrue(trueText) {}
    AAX_IDisplayDelegate<T>* ACF_CALL Clone() const override { return new AAX_CBinaryDisplayDelegate(*this); }
    bool ACF_CALL FormatValue(T value, int32_t, AAX_CString& out) const override { return FormatValue(value, out); }
    bool ACF_CALL FormatValue(T value, AAX_CString& out) const override {
        out = value ? mTrue : mFalse;
        return true;
    }
    bool ACF_CALL ParseText(const AAX_CString& text, T& out) const override {
        if (text.Equals(mTrue)) {
            out = true;
            return true;
        }
        out = false;
        return text.Equals(mFalse);
    }

private:
    AAX_CString mFalse;
    AAX_CString mTrue;
};
