#pragma once
// AAX_IParameter and AAX_CParameter<T>: one host-visible, automatable value (bool, int32 or
// double) identified by a short ID text. The value is kept in real units; an owned taper maps it
// to the host's normalized value and an owned display turns it into text. With an automation
// delegate attached, plug-in changes go to the host as requests, and the value is stored only
// when the host answers through UpdateNormalizedValue.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <type_traits>

#include "aax-library/aax_display.h"
#include "aax-library/aax_number.h"
#include "aax-library/aax_string.h"
#include "aax-library/aax_taper.h"
#include "aax-library/host_proxies.h"

constexpr int kAAXParameterIdSize = 32;  // 31 characters and a NUL

class AAX_IParameter {
public:
    virtual ~AAX_IParameter() = default;
    virtual const char* Id() const = 0;
    virtual void SetName(const AAX_CString& name) = 0;
    virtual const AAX_CString& Name() const = 0;
    virtual void AddShortenedName(const AAX_CString& name) = 0;
    virtual const AAX_CString& ShortenedName(int32_t maxLength) const = 0;
    virtual void ClearShortenedNames() = 0;
    virtual bool IsAutomatable() const = 0;
    virtual void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) = 0;
    virtual void Touch() = 0;
    virtual void ReleaseTouch() = 0;
    virtual void SetNormalizedValue(double normalized) = 0;
    virtual double NormalizedValue() const = 0;
    virtual void SetNormalizedDefaultValue(double normalized) = 0;
    virtual double NormalizedDefaultValue() const = 0;
    virtual void SetToDefaultValue() = 0;
    virtual void SetStepCount(int32_t steps) = 0;
    virtual int32_t StepCount() const = 0;
    virtual int32_t StepValue() const = 0;
    virtual void SetStepValue(int32_t step) = 0;
    virtual bool ValueString(int32_t maxLength, AAX_CString& out) const = 0;
    virtual bool ValueString(AAX_CString& out) const = 0;
    virtual bool NormalizedValueFromString(const AAX_CString& text, double& out) const = 0;
    virtual bool StringFromNormalizedValue(double normalized, int32_t maxLength, AAX_CString& out) const = 0;
    virtual bool StringFromNormalizedValue(double normalized, AAX_CString& out) const = 0;
    virtual bool SetValueFromString(const AAX_CString& text) = 0;
    virtual bool GetBool(bool& out) const = 0;
    virtual bool GetInt32(int32_t& out) const = 0;
    virtual bool GetFloat(float& out) const = 0;
    virtual bool GetDouble(double& out) const = 0;
    virtual bool GetText(AAX_IString& out) const = 0;
    virtual bool SetBool(bool value) = 0;
    virtual bool SetInt32(int32_t value) = 0;
    virtual bool SetFloat(float value) = 0;
    virtual bool SetDouble(double value) = 0;
    virtual bool SetText(const AAX_IString& text) = 0;
    virtual void SetType(int32_t type) = 0;
    virtual int32_t Type() const = 0;
    virtual void SetOrientation(int32_t orientation) = 0;
    virtual int32_t Orientation() const = 0;
    // A taper or display of another value type than the parameter's is ignored.
    virtual void SetTaperDelegate(const AAX_ITaperDelegateBase& taper, bool keepRealValue) = 0;
    virtual void SetDisplayDelegate(const AAX_IDisplayDelegateBase& display) = 0;
    // The host's value arrives (its answer to a request, or automation playback).
    virtual void UpdateNormalizedValue(double normalized) = 0;
};

// No lock of its own: its callers fix the threads and locks.
template <typename T>
class AAX_CParameter : public AAX_IParameter {
public:
    AAX_CParameter(const char* id, const AAX_CString& name, T defaultValue, const AAX_ITaperDelegate<T>& taper,
                   const AAX_IDisplayDelegate<T>& display, bool automatable)
        : mName(name), mAutomatable(automatable), mTaper(taper.Clone()), mDisplay(display.Clone()),
          mDefault(defaultValue) {
        std::strncpy(mId, id ? id : "", kAAXParameterIdSize - 1);
        mId[kAAXParameterIdSize - 1] = '\0';
        SetValue(defaultValue);
    }
    AAX_CParameter(const AAX_CParameter&) = delete;
    AAX_CParameter& operator=(const AAX_CParameter&) = delete;
    ~AAX_CParameter() override {
        if (AAX_IAutomationDelegate* delegate = mAutomation) {
            mAutomation = nullptr;
            delegate->RemoveParameterId(mId);
        }
        delete mTaper;
        delete mDisplay;
    }

    // The one road by which the plug-in changes the value.
    void SetValue(T value) {
        const double normalized = mTaper->ToNormalized(value);
        if (!mAutomation) {
            mNeedsUpdate = true;
            UpdateNormalizedValue(normalized);
            return;
        }
        Touch();
        mAutomation->RequestValueChange(mId, normalized);
        ReleaseTouch();
    }
    T Value() const { return mValue; }

    const char* Id() const override { return mId; }
    void SetName(const AAX_CString& name) override { mName = name; }
    const AAX_CString& Name() const override { return mName; }
    void AddShortenedName(const AAX_CString& name) override { mShortNames[name.Length()] = name; }
    // The full name, or the longest shortened name not above maxLength (the shortest one when
    // every one is longer).
    const AAX_CString& ShortenedName(int32_t maxLength) const override {
        if (maxLength < 0 || maxLength >= int32_t(mName.Length()) || mShortNames.empty()) return mName;
        auto above = mShortNames.upper_bound(uint32_t(maxLength));
        return above == mShortNames.begin() ? above->second : std::prev(above)->second;
    }
    void ClearShortenedNames() override { mShortNames.clear(); }
    bool IsAutomatable() const override { return mAutomatable; }
    void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) override {
        if (mAutomation) mAutomation->RemoveParameterId(mId);
        mAutomation = delegate;
        if (mAutomation) mAutomation->AddParameterId(mId);
    }
    void Touch() override {
        if (mAutomation) mAutomation->RequestTouch(mId);
    }
    void ReleaseTouch() override {
        if (mAutomation) mAutomation->RequestRelease(mId);
    }
    void SetNormalizedValue(double normalized) override { SetValue(mTaper->ToReal(normalized)); }
    double NormalizedValue() const override { return mTaper->ToNormalized(mValue); }
    void SetNormalizedDefaultValue(double normalized) override {
        mDefault = mTaper->Clamp(mTaper->ToReal(normalized));
    }
    double NormalizedDefaultValue() const override { return mTaper->ToNormalized(mDefault); }
    void SetToDefaultValue() override { SetValue(mDefault); }
    void SetStepCount(int32_t steps) override { mStepCount = steps; }
    int32_t StepCount() const override { return mStepCount; }
    int32_t StepValue() const override {
        const uint32_t steps = uint32_t(mStepCount);
        if (steps < 2) return 0;
        double r = NormalizedValue() / (1.0 / (steps - 1)) + 0.5;
        if (r < 0) return 0;
        r = std::min(double(steps - 1), r);
        return TruncateToInt32(r);
    }
    void SetStepValue(int32_t step) override {
        const uint32_t steps = uint32_t(mStepCount);
        if (steps < 2) return;
        const double n = (1.0 / (steps - 1)) * double(uint32_t(step));
        SetNormalizedValue(std::min(1.0, std::max(0.0, n)));
    }
    bool ValueString(int32_t maxLength, AAX_CString& out) const override {
        return mDisplay->FormatValue(mValue, maxLength, out);
    }
    bool ValueString(AAX_CString& out) const override { return mDisplay->FormatValue(mValue, out); }
    // Writes the normalized value even when the parsed value lies outside the range (then false).
    bool NormalizedValueFromString(const AAX_CString& text, double& out) const override {
        T value{};
        if (!mDisplay->ParseText(text, value)) return false;
        out = mTaper->ToNormalized(value);
        return InRange(value);
    }
    bool StringFromNormalizedValue(double normalized, int32_t maxLength, AAX_CString& out) const override {
        const T value = mTaper->ToReal(normalized);
        return mDisplay->FormatValue(value, maxLength, out) && InRange(value);
    }
    bool StringFromNormalizedValue(double normalized, AAX_CString& out) const override {
        const T value = mTaper->ToReal(normalized);
        return mDisplay->FormatValue(value, out) && InRange(value);
    }
    bool SetValueFromString(const AAX_CString& text) override {
        T value{};
        if (!mDisplay->ParseText(text, value)) return false;
        SetValue(value);
        return true;
    }
    bool GetBool(bool& out) const override { return Get(out); }
    bool GetInt32(int32_t& out) const override { return Get(out); }
    bool GetFloat(float&) const override { return false; }
    bool GetDouble(double& out) const override { return Get(out); }
    bool GetText(AAX_IString&) const override { return false; }
    bool SetBool(bool value) override { return Set(value); }
    bool SetInt32(int32_t value) override { return Set(value); }
    bool SetFloat(float) override { return false; }
    bool SetDouble(double value) override { return Set(value); }
    bool SetText(const AAX_IString&) override { return false; }
    void SetType(int32_t type) override { mType = type; }
    int32_t Type() const override { return mType; }
    void SetOrientation(int32_t orientation) override { mOrientation = orientation; }
    int32_t Orientation() const override { return mOrientation; }
    void SetTaperDelegate(const AAX_ITaperDelegateBase& taper, bool keepRealValue) override {
        auto* typed = dynamic_cast<const AAX_ITaperDelegate<T>*>(&taper);
        if (!typed) return;
        const double normalized = NormalizedValue();
        AAX_ITaperDelegate<T>* old = mTaper;
        mTaper = typed->Clone();
        delete old;
        mNeedsUpdate = true;
        if (keepRealValue) {
            SetValue(mValue);
        } else {
            UpdateNormalizedValue(normalized);
        }
    }
    void SetDisplayDelegate(const AAX_IDisplayDelegateBase& display) override {
        auto* typed = dynamic_cast<const AAX_IDisplayDelegate<T>*>(&display);
        if (!typed) return;
        AAX_IDisplayDelegate<T>* old = mDisplay;
        mDisplay = typed->Clone();
        delete old;
        if (mAutomation) mAutomation->ReportCurrentValue(mId, NormalizedValue());
    }
    // Stores and reports the value when it changed or an update is due; reports the normalized
    // value exactly as received.
    void UpdateNormalizedValue(double normalized) override {
        const T value = mTaper->ToReal(normalized);
        if (!mNeedsUpdate && value == mValue) return;
        mValue = value;
        if (mAutomation) mAutomation->ReportCurrentValue(mId, normalized);
        mNeedsUpdate = false;
    }

private:
    bool InRange(T value) const { return !(value > mTaper->Maximum() || value < mTaper->Minimum()); }
    template <typename U>
    bool Get(U& out) const {
        if constexpr (std::is_same_v<T, U>) {
            out = mValue;
            return true;
        }
        return false;
    }
    template <typename U>
    bool Set(U value) {
        if constexpr (std::is_same_v<T, U>) {
            SetValue(value);
            return true;
        }
        return false;
    }

    char mId[kAAXParameterIdSize] = {};
    AAX_CString mName;
    std::map<uint32_t, AAX_CString> mShortNames;
    bool mAutomatable;
    int32_t mStepCount = 128;
    int32_t mType = 1;
    int32_t mOrientation = 0;
    AAX_ITaperDelegate<T>* mTaper;
    AAX_IDisplayDelegate<T>* mDisplay;
    AAX_IAutomationDelegate* mAutomation = nullptr;
    bool mNeedsUpdate = true;
    T mValue{};
    T mDefault;
};
