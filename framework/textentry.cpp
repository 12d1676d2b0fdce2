#include "framework/textentry.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

bool TextEntryAccepts(const IFxParam* param, unsigned ch) {
    if (!param || ch == '\b' || param->Kind() == kParamNone) return true;
    if ((ch >= '0' && ch <= '9') || ch == '+' || ch == '-') return true;
    return ch == '.' && param->Kind() == kParamDouble;
}

void TextEntryInitialText(const IFxParam& param, char* out) {
    double value = param.Value();
    if (param.NegateDisplay()) value = -value;
    if (param.DisplayPrecision() > 0)
        std::snprintf(out, kParamTextSize, "%.*f", param.DisplayPrecision(), value);
    else  // truncated toward zero; out-of-range values saturate
        std::snprintf(out, kParamTextSize, "%d",
                      !(value == value)        ? 0
                      : value >= 2147483647.0  ? 2147483647
                      : value <= -2147483648.0 ? INT_MIN
                                               : static_cast<int>(value));
}

// A bool parameter without value texts only ever reaches the entry with digits typed, so a text
// that names no value is read as a number rather than always giving 0.
double TextEntryValue(const IFxParam& param, const char* text) {
    if (param.Kind() == kParamBool || param.Kind() == kParamList) {
        int value = 0;
        if (param.MapDisplayText(text, &value)) return value;
        return std::atof(text);
    }
    const double value = std::atof(text);
    return param.NegateDisplay() ? -value : value;
}
