#pragma once
// Taper delegates: map a parameter's real value to the host's normalized value (0..1) and back,
// and know the real range.
#include <cmath>
#include <cstdint>

#include "aax-library/aax_number.h"
#include "aax-library/acf.h"

// Slot-numbered like the parameters that own them: slot 0 is a deleting entry (flag bit 0: free
// the storage too), then the operations; the destructor, which g++ gives two slots, comes after
// the last one. Owners delete through slot 0.
class AAX_ITaperDelegateBase {
public:
    virtual void ACF_CALL DeleteThis(uint32_t flags) = 0;

protected:
    ~AAX_ITaperDelegateBase() = default;
};

template <typename T>
class AAX_ITaperDelegate : public AAX_ITaperDelegateBase {
public:
    void ACF_CALL DeleteThis(uint32_t flags) override {
        if (flags & 1)
            delete this;
        else
            this->~AAX_ITaperDelegate();
    }
    // A copy owned by the caller.
    virtual AAX_ITaperDelegate* ACF_CALL Clone() const = 0;
    virtual T ACF_CALL Maximum() const = 0;
    virtual T ACF_CALL Minimum() const = 0;
    virtual T ACF_CALL Clamp(T value) const = 0;
    virtual T ACF_CALL ToReal(double normalized) const = 0;
    virtual double ACF_CALL ToNormalized(T value) const = 0;

protected:
    virtual ~AAX_ITaperDelegate() = default;
};

// maximum when above it, minimum when below it, else the value (a NaN comes back unchanged).
template <typename T>
T Bounded(T value, T minimum, T maximum) {
    return value > maximum ? maximum : value < minimum ? minimum : value;
}

// Two values: true exactly when the normalized value is above 0.
template <typename T>
class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T> {
public:
    AAX_ITaperDelegate<T>* ACF_CALL Clone() const override { return new AAX_CBinaryTaperDelegate(); }
    T ACF_CALL Maximum() const override { return true; }
    T ACF_CALL Minimum() const override { return false; }
    T ACF_CALL Clamp(T value) const override { return value; }
    T ACF_CALL ToReal(double normalized) const override { return normalized > 0.0; }
    double ACF_CALL ToNormalized(T value) const override { return value ? 1.0 : 0.0; }
};

// Linear over an integer range; real values are truncated toward zero. The second template
// argument is accepted for the declared instance and changes nothing.
template <typename T, int32_t Unused = 0>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T> {
public:
    AAX_CLinearTaperDelegate(T minimum, T maximum) : mMinimum(minimum), mMaximum(maximum) {}
    AAX_ITaperDelegate<T>* ACF_CALL Clone() const override { return new AAX_CLinearTaperDelegate(*this); }
    T ACF_CALL Maximum() const override { return mMaximum; }
    T ACF_CALL Minimum() const override { return mMinimum; }
    T ACF_CALL Clamp(T value) const override { return Bounded(value, mMinimum, mMaximum); }
    // The host's value arrives unclamped: the real value is confined to the range before it is
    // truncated, so no out-of-range double is converted to an integer.
    T ACF_CALL ToReal(double normalized) const override {
        const double r = (double(mMaximum) - double(mMinimum)) * normalized + double(mMinimum);
        return Clamp(T(TruncateToInt32(ClampToRange(r, double(mMinimum), double(mMaximum)))));
    }
    double ACF_CALL ToNormalized(T value) const override {
        if (mMaximum == mMinimum) return 0.0;
        return (double(Clamp(value)) - double(mMinimum)) / (double(mMaximum) - double(mMinimum));
    }

private:
    T mMinimum;
    T mMaximum;
};

// The framework's power law: normalized = ((v - min) / (max - min)) ^ (1 / shape).
template <typename T>
class AAX_CIFxTaperDelegate : public AAX_ITaperDelegate<T> {
public:
    AAX_CIFxTaperDelegate(T minimum, T maximum, T shape) : mMinimum(minimum), mMaximum(maximum), mShape(shape) {}
    AAX_ITaperDelegate<T>* ACF_CALL Clone() const override { return new AAX_CIFxTaperDelegate(*this); }
    T ACF_CALL Maximum() const override { return mMaximum; }
    T ACF_CALL Minimum() const override { return mMinimum; }
    // A NaN comes back unchanged.
    T ACF_CALL Clamp(T value) const override { return Bounded(value, mMinimum, mMaximum); }
    // The normalized value is not clamped first; only the result is.
    T ACF_CALL ToReal(double normalized) const override {
        return Clamp(
            T(std::pow(normalized, double(mShape)) * (double(mMaximum) - double(mMinimum)) + double(mMinimum)));
    }
    double ACF_CALL ToNormalized(T value) const override {
        if (mMaximum == mMinimum) return 0.0;
        const double x = std::pow((double(Clamp(value)) - mMinimum) / (double(mMaximum) - mMinimum), 1.0 / mShape);
        return std::fmin(1.0, std::fmax(0.0, x));
    }

private:
    T mMinimum;
    T mMaximum;
    T mShape;
};
