#pragma once
// IFxParam: one automatable parameter: kind, plain value, range, step and shape, display
// precision, texts, and the conversions between plain and normalized (0..1) values.
#include <atomic>
#include <cstdint>

#include "base/growbuffer.h"

enum ParamKind : int32_t { kParamNone = 0, kParamBool = 1, kParamInt = 2, kParamList = 3, kParamDouble = 4 };

constexpr int kParamTextSize = 32;  // 31 characters and a NUL

// A toggle is on from a plain value of 0.5 up, as the effect reads it; a non-number is off.
inline bool ToggleIsOn(double plain) { return plain >= 0.5; }

struct IValueText {
    int32_t value;
    char text[kParamTextSize];
};
static_assert(sizeof(IValueText) == 36, "value-text entries are 36 bytes");

class IFxParam {
public:
    IFxParam() = default;
    IFxParam(const IFxParam&) = delete;
    IFxParam& operator=(const IFxParam&) = delete;

    void DefineToggle(const char* name, bool defaultOn, const char* label, const char* group);
    void DefineRange(const char* name, double defaultValue, double min, double max, double step, const char* label,
                     const char* group, double shape);
    void SetCurve(double shape);
    void AddValueText(int value, const char* text);

    // Sets the value from a normalized one; inputs outside 0..1 (and NaN, as 0) are clamped first.
    void AssignNormalized(double normalized);
    double NormalizedValue() const { return ToNormalized(Value()); }
    double ToNormalized(double plain) const;
    double FromNormalized(double normalized) const;
    // Writes at most kParamTextSize - 1 characters and a NUL into out.
    void FormatForHost(double value, bool isNormalized, char* out, bool useTexts) const;
    // The value-text key of a plain value: a toggle's state (0 or 1), else the value truncated.
    int TextKey(double plain) const;

    const char* ParamNameText() const { return mName; }
    const char* ParamGroupText() const { return mGroup; }
    const char* ParamLabelText() const;
    int GetValueTextCount() const;
    const IValueText* GetValueTextEntry(int i) const;
    const char* GetValueText(int value) const;
    bool MapDisplayText(const char* text, int* value) const;

    ParamKind Kind() const { return mKind; }
    double Value() const { return mValue.load(std::memory_order_relaxed); }
    void SetValue(double v) { mValue.store(v, std::memory_order_relaxed); }
    double Min() const { return mMin; }
    double Max() const { return mMax; }
    double Step() const { return mStep; }
    double Shape() const { return mShape; }
    double Default() const { return mDefault; }
    int DisplayPrecision() const { return mDisplayPrecision; }
    bool NegateDisplay() const { return mNegateDisplay; }
    void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }
    bool CanAutomate() const { return mCanAutomate; }
    void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }
    // Clamps a plain value into min..max (a non-number counts as 0 before clamping).
    double Clamp(double plain) const;

private:
    ParamKind mKind = kParamNone;
    // A host's controller sets and reads it beside the audio thread, which takes no lock for it.
    std::atomic<double> mValue{0.0};
    static_assert(std::atomic<double>::is_always_lock_free, "the value is shared without a lock");
    double mMin = 0.0;
    double mMax = 1.0;
    double mStep = 1.0;
    double mShape = 1.0;
    double mDefault = 0.0;
    int32_t mDisplayPrecision = 0;
    char mName[kParamTextSize] = {};
    char mLabel[kParamTextSize] = {};
    char mGroup[kParamTextSize] = {};
    bool mNegateDisplay = false;
    bool mCanAutomate = true;
    GrowBuffer mValueTexts{4096};
};
