#include "framework/fxparam.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
void CopyText(char* field, const char* text) { std::snprintf(field, kParamTextSize, "%s", text ? text : ""); }

// Truncation toward zero that saturates instead of overflowing (a non-number gives 0).
int TruncateToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(v);
}
}  // namespace

void IFxParam::DefineToggle(const char* name, bool defaultOn, const char* label, const char* group) {
    if (mKind == kParamNone) mKind = kParamBool;
    DefineRange(name, defaultOn ? 1.0 : 0.0, 0.0, 1.0, 0.1, label, group, 1.0);
    AddValueText(0, "off");
    AddValueText(1, "on");
}

void IFxParam::DefineRange(const char* name, double defaultValue, double min, double max, double step,
                           const char* label, const char* group, double shape) {
    if (mKind == kParamNone) mKind = kParamDouble;
    CopyText(mName, name);
    CopyText(mLabel, label);
    CopyText(mGroup, group);
    mMin = min;
    mStep = step;
    mValue = mDefault = defaultValue;
    mDisplayPrecision = 0;
    for (double x = step; x != std::floor(x) && mDisplayPrecision < 6; x *= 10.0) ++mDisplayPrecision;
    mMax = std::max(max, min + step);
    if (shape != 0.0) mShape = shape;
}

void IFxParam::SetCurve(double shape) {
    if (shape != 0.0) mShape = shape;
}

void IFxParam::AddValueText(int value, const char* text) {
    const int count = GetValueTextCount();
    mValueTexts.Resize((count + 1) * static_cast<int>(sizeof(IValueText)), true);
    if (GetValueTextCount() != count + 1) return;
    IValueText* entry = static_cast<IValueText*>(mValueTexts.Get()) + count;
    entry->value = value;
    CopyText(entry->text, text);
}

double IFxParam::Clamp(double plain) const {
    if (std::isnan(plain)) plain = 0.0;
    return plain < mMin ? mMin : std::min(plain, mMax);
}

double IFxParam::FromNormalized(double normalized) const { return std::pow(normalized, mShape) * (mMax - mMin) + mMin; }

void IFxParam::AssignNormalized(double normalized) {
    // Hosts pass their values through unchecked; out-of-range input would reach the model.
    normalized = std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
    double v = FromNormalized(normalized);
    if (mKind != kParamDouble) {
        if (mStep > 0.0) v = std::floor(v / mStep + 0.5) * mStep;
    } else if (mStep == 1.0) {
        v = std::round(v);
    }
    SetValue(std::min(v, mMax));
}

double IFxParam::ToNormalized(double plain) const {
    if (mMax == mMin) return 0.0;
    const double r = std::pow((Clamp(plain) - mMin) / (mMax - mMin), 1.0 / mShape);
    return std::isnan(r) ? 0.0 : std::clamp(r, 0.0, 1.0);
}

void IFxParam::FormatForHost(double value, bool isNormalized, char* out, bool useTexts) const {
    if (isNormalized) value = FromNormalized(value);
    if (useTexts && GetValueTextCount() > 0) {
        const char* text = GetValueText(TextKey(value));
        if (*text) {
            CopyText(out, text);
            return;
        }
    }
    if (mNegateDisplay) value = -value;
    if (mDisplayPrecision == 0)
        std::snprintf(out, kParamTextSize, "%d", TruncateToInt(value));
    else
        std::snprintf(out, kParamTextSize, "%.*f", mDisplayPrecision, value);
}

// A toggle's text shows the state the effect acts on, so 0.9 reads "on", not a truncated "off".
int IFxParam::TextKey(double plain) const {
    if (mKind == kParamBool) return ToggleIsOn(plain) ? 1 : 0;
    return TruncateToInt(plain);
}

const char* IFxParam::ParamLabelText() const { return *GetValueText(TextKey(mValue)) ? "" : mLabel; }

int IFxParam::GetValueTextCount() const { return mValueTexts.GetSize() / static_cast<int>(sizeof(IValueText)); }

const IValueText* IFxParam::GetValueTextEntry(int i) const {
    if (i < 0 || i >= GetValueTextCount()) return nullptr;
    return static_cast<const IValueText*>(mValueTexts.Get()) + i;
}

const char* IFxParam::GetValueText(int value) const {
    for (int i = 0; i < GetValueTextCount(); ++i)
        if (GetValueTextEntry(i)->value == value) return GetValueTextEntry(i)->text;
    return "";
}

bool IFxParam::MapDisplayText(const char* text, int* value) const {
    for (int i = 0; i < GetValueTextCount(); ++i) {
        if (std::strcmp(GetValueTextEntry(i)->text, text) == 0) {
            *value = GetValueTextEntry(i)->value;
            return true;
        }
    }
    return false;
}
