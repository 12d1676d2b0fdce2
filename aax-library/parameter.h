#pragma once
// AAX_IParameter and AAX_CParameter<T>: one host-visible, automatable value (bool, int32 or
// double) identified by a short ID text. The value is kept in real units; an owned taper maps it
// to the host's normalized value and an owned display turns it into text. With an automation
// delegate attached, plug-in changes go to the host as requests, and the value is stored only
// when the host answers through UpdateNormalizedValue.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <type_traits>

#include "aax-library/aax_display.h"
#include "aax-library/aax_number.h"
#include "aax-library/aax_string.h"
#include "aax-library/aax_taper.h"
#include "aax-library/host_proxies.h"

constexpr int kAAXParameterIdSize = 32;  // 31 characters and a NUL

// Host-visible: the host receives parameters from the effect parameters and calls them by slot
// number, so slot 0 is a deleting entry (flag bit 0: free the storage too) and the destructor,
// which g++ gives two slots, comes after the last slot. The library deletes through slot 0.
class AAX_IParameter {
public:
    virtual void ACF_CALL DeleteThis(uint32_t flags) {
        if (flags & 1)
            delete this;
        else
            this->~AAX_IParameter();
    }
    virtual const char* ACF_CALL Id() const = 0;
    virtual void ACF_CALL SetName(const AAX_CString& name) = 0;
    virtual const AAX_CString& ACF_CALL Name() const = 0;
    virtual void ACF_CALL AddShortenedName(const AAX_CString& name) = 0;
    virtual const AAX_CString& ACF_CALL ShortenedName(int32_t maxLength) const = 0;
    virtual void ACF_CALL ClearShortenedNames() = 0;
    virtual bool ACF_CALL IsAutomatable() const = 0;
    virtual void ACF_CALL SetAutomationDelegate(AAX_IAutomationDelegate* delegate) = 0;
    virtual void ACF_CALL Touch() = 0;
    virtual void ACF_CALL ReleaseTouch() = 0;
    virtual void ACF_CALL SetNormalizedValue(double normalized) = 0;
    virtual double ACF_CALL NormalizedValue() const = 0;
    virtual void ACF_CALL SetNormalizedDefaultValue(double normalized) = 0;
    virtual double ACF_CALL NormalizedDefaultValue() const = 0;
    virtual void ACF_CALL SetToDefaultValue() = 0;
    virtual void ACF_CALL SetStepCount(int32_t steps) = 0;
    virtual int32_t ACF_CALL StepCount() const = 0;
    virtual int32_t ACF_CALL StepValue() const = 0;
    virtual void ACF_CALL SetStepValue(int32_t step) = 0;
    virtual bool ACF_CALL ValueString(int32_t maxLength, AAX_CString& out) const = 0;
    virtual bool ACF_CALL ValueString(AAX_CString& out) const = 0;
    virtual bool ACF_CALL NormalizedValueFromString(const AAX_CString& text, double& out) const = 0;
    virtual bool ACF_CALL StringFromNormalizedValue(double normalized, int32_t maxLength, AAX_CString& out) const = 0;
    virtual bool ACF_CALL StringFromNormalizedValue(double normalized, AAX_CString& out) const = 0;
    virtual bool ACF_CALL SetValueFromString(const AAX_CString& text) = 0;
    virtual bool ACF_CALL GetBool(bool& out) const = 0;
    virtual bool ACF_CALL GetInt32(int32_t& out) const = 0;
    virtual bool ACF_CALL GetFloat(float& out) const = 0;
    virtual bool ACF_CALL GetDouble(double& out) const = 0;
    virtual bool ACF_CALL GetText(AAX_IString& out) const = 0;
    virtual bool ACF_CALL SetBool(bool value) = 0;
    virtual bool ACF_CALL SetInt32(int32_t value) = 0;
    virtual bool ACF_CALL SetFloat(float value) = 0;
    virtual bool ACF_CALL SetDouble(double value) = 0;
    virtual bool ACF_CALL SetText(const AAX_IString& text) = 0;
    virtual void ACF_CALL SetType(int32_t type) = 0;
    virtual int32_t ACF_CALL Type() const = 0;
    virtual void ACF_CALL SetOrientation(int32_t orientation) = 0;
    virtual int32_t ACF_CALL Orientation() const = 0;
    // A taper or display of another value type than the parameter's is ignored.
    virtual void ACF_CALL SetTaperDelegate(const AAX_ITaperDelegateBase& taper, bool keepRealValue) = 0;
    virtual void ACF_CALL SetDisplayDelegate(const AAX_IDisplayDelegateBase& display) = 0;
    // The host's value arrives (its answer to a request, or automation playback).
    virtual void ACF_CALL UpdateNormalizedValue(double normalized) = 0;

protected:
    virtual ~AAX_IParameter() = default;
};

// No lock of its own: the value is atomic, as the host reads it from any thread while another
// updates it; names, tapers and displays are set up before the host uses the parameter.
template <typename T>
class AAX_CParameter : public AAX_IParameter {
public:
    AAX_CParameter(const char* id, const AAX_CString& name, T defaultValue, const AAX_ITaperDelegate<T>& taper,
                   const AAX_IDisplayDelegate<T>& display, bool automatable)
        : mName(name),
          mAutomatable(automatable),
          mTaper(taper.Clone()),
          mDisplay(display.Clone()),
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

    const char* ACF_CALL Id() const override { return mId; }
    void ACF_CALL SetName(const AAX_CString& name) override { mName = name; }
    const AAX_CString& ACF_CALL Name() const override { return mName; }
    void ACF_CALL AddShortenedName(const AAX_CString& name) override { mShortNames[name.Length()] = name; }
    // The full name, or the longest shortened name not above maxLength (the shortest one when
    // every one is longer).
    const AAX_CString& ACF_CALL ShortenedName(int32_t maxLength) const override {
        if (maxLength < 0 || maxLength >= int32_t(mName.Length()) || mShortNames.empty()) return mName;
        auto above = mShortNames.upper_bound(uint32_t(maxLength));
        return above == mShortNames.begin() ? above->second : std::prev(above)->second;
    }
    void ACF_CALL ClearShortenedNames() override { mShortNames.clear(); }
    bool ACF_CALL IsAutomatable() const override { return mAutomatable; }
    void ACF_CALL SetAutomationDelegate(AAX_IAutomationDelegate* delegate) override {
        if (mAutomation) mAutomation->RemoveParameterId(mId);
        mAutomation = delegate;
        if (mAutomation) mAutomation->AddParameterId(mId);
    }
    void ACF_CALL Touch() override {
        if (mAutomation) mAutomation->RequestTouch(mId);
    }
    void ACF_CALL ReleaseTouch() override {
        if (mAutomation) mAutomation->RequestRelease(mId);
    }
    void ACF_CALL SetNormalizedValue(double normalized) override { SetValue(mTaper->ToReal(normalized)); }
    double ACF_CALL NormalizedValue() const override { return mTaper->ToNormalized(mValue); }
    void ACF_CALL SetNormalizedDefaultValue(double normalized) override {
        mDefault = mTaper->Clamp(mTaper->ToReal(normalized));
    }
    double ACF_CALL NormalizedDefaultValue() const override { return mTaper->ToNormalized(mDefault); }
    void ACF_CALL SetToDefaultValue() override { SetValue(mDefault); }
    void ACF_CALL SetStepCount(int32_t steps) override { mStepCount = steps; }
    int32_t ACF_CALL StepCount() const override { return mStepCount; }
    int32_t ACF_CALL StepValue() const override {
        const uint32_t steps = uint32_t(mStepCount);
        if (steps < 2) return 0;
        double r = NormalizedValue() / (1.0 / (steps - 1)) + 0.5;
        if (r < 0) return 0;
        r = std::min(double(steps - 1), r);
        return TruncateToInt32(r);
    }
    void ACF_CALL SetStepValue(int32_t step) override {
        const uint32_t steps = uint32_t(mStepCount);
        if (steps < 2) return;
        const double n = (1.0 / (steps - 1)) * double(uint32_t(step));
        SetNormalizedValue(std::min(1.0, std::max(0.0, n)));
    }
    bool ACF_CALL ValueString(int32_t maxLength, AAX_CString& out) const override {
        return mDisplay->FormatValue(mValue, maxLength, out);
    }
    bool ACF_CALL ValueString(AAX_CString& out) const override { return mDisplay->FormatValue(mValue, out); }
    // Writes the normalized value even when the parsed value lies outside the range (then false).
    bool ACF_CALL NormalizedValueFromString(const AAX_CString& text, double& out) const override {
        T value{};
        if (!mDisplay->ParseText(text, value)) return false;
        out = mTaper->ToNormalized(value);
        return InRange(value);
    }
    bool ACF_CALL StringFromNormalizedValue(double normalized, int32_t maxLength, AAX_CString& out) const override {
        const T value = mTaper->ToReal(normalized);
        return mDisplay->FormatValue(value, maxLength, out) && InRange(value);
    }
    bool ACF_CALL StringFromNormalizedValue(double normalized, AAX_CString& out) const override {
        const T value = mTaper->ToReal(normalized);
        return mDisplay->FormatValue(value, out) && InRange(value);
    }
    bool ACF_CALL SetValueFromString(const AAX_CString& text) override {
        T value{};
        if (!mDisplay->ParseText(text, value)) return false;
        SetValue(value);
        return true;
    }
    bool ACF_CALL GetBool(bool& out) const override { return Get(out); }
    bool ACF_CALL GetInt32(int32_t& out) const override { return Get(out); }
    bool ACF_CALL GetFloat(float&) const override { return false; }
    bool ACF_CALL GetDouble(double& out) const override { return Get(out); }
    bool ACF_CALL GetText(AAX_IString&) const override { return false; }
    bool ACF_CALL SetBool(bool value) override { return Set(value); }
    bool ACF_CALL SetInt32(int32_t value) override { return Set(value); }
    bool ACF_CALL SetFloat(float) override { return false; }
    bool ACF_CALL SetDouble(double value) override { return Set(value); }
    bool ACF_CALL SetText(const AAX_IString&) override { return false; }
    void ACF_CALL SetType(int32_t type) override { mType = type; }
    int32_t ACF_CALL Type() const override { return mType; }
    void ACF_CALL SetOrientation(int32_t orientation) override { mOrientation = orientation; }
    int32_t ACF_CALL Orientation() const override { return mOrientation; }
    void ACF_CALL SetTaperDelegate(const AAX_ITaperDelegateBase& taper, bool keepRealValue) override {
        auto* typed = dynamic_cast<const AAX_ITaperDelegate<T>*>(&taper);
        if (!typed) return;
        const double normalized = NormalizedValue();
        mTaper.reset(typed->Clone());
        mNeedsUpdate = true;
        if (keepRealValue) {
            SetValue(mValue);
        } else {
            UpdateNormalizedValue(normalized);
        }
    }
    void ACF_CALL SetDisplayDelegate(const AAX_IDisplayDelegateBase& display) override {
        auto* typed = dynamic_cast<const AAX_IDisplayDelegate<T>*>(&display);
        if (!typed) return;
        mDisplay.reset(typed->Clone());
        if (mAutomation) mAutomation->ReportCurrentValue(mId, NormalizedValue());
    }
    // Stores and reports the value when it changed or an update is due; reports the normalized
    // value exactly as received.
    void ACF_CALL UpdateNormalizedValue(double normalized) override {
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
    std::unique_ptr<AAX_ITaperDelegate<T>, SlotDelete> mTaper;
    std::unique_ptr<AAX_IDisplayDelegate<T>, SlotDelete> mDisplay;
    AAX_IAutomationDelegate* mAutomation = nullptr;
    bool mNeedsUpdate = true;
    std::atomic<T> mValue{};
    T mDefault;
};
