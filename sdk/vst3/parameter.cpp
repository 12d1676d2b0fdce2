#include "sdk/vst3/parameter.h"

#include "sdk/vst3/strings.h"

#include <algorithm>
#include <cstring>

namespace Sdk {
namespace Vst {

namespace {

ParamValue clamp01(ParamValue v) { return v > 0. ? std::min(v, 1.) : 0.; }  // NaN gives 0

// The step index of a normalized value: floor(v * (steps + 1)) within 0..steps (NaN gives 0).
int32 stepIndex(ParamValue normalized, int32 steps) {
    return std::min(steps, static_cast<int32>(clamp01(normalized) * (steps + 1)));
}

}  // namespace

Parameter::Parameter(const TChar* title, ParamID tag, const TChar* units, ParamValue defaultValueNormalized,
                     int32 stepCount, int32 flags, UnitID unitID)
    : valueNormalized(defaultValueNormalized) {
    std::memset(&info, 0, sizeof(info));
    info.id = tag;
    strcpy16(info.title, title, 128);
    strcpy16(info.units, units, 128);
    info.stepCount = stepCount;
    info.defaultNormalizedValue = defaultValueNormalized;
    info.flags = flags;
    info.unitId = unitID;
}

bool Parameter::setNormalized(ParamValue value) {
    value = clamp01(value);
    if (value == valueNormalized) return false;
    valueNormalized = value;
    return true;
}

void Parameter::formatValue(ParamValue value, String128 string) const {
    if (info.stepCount == 1)
        strcpy16(string, value > 0.5 ? u"On" : u"Off", 128);
    else
        printFloat(value, precision, string);
}

void Parameter::toString(ParamValue normalized, String128 string) const { formatValue(normalized, string); }

// The text is the normalized value itself, kept to 0..1.
bool Parameter::fromString(const TChar* string, ParamValue& normalized) const {
    ParamValue parsed;
    if (!parseFloat(string, parsed)) return false;
    normalized = clamp01(parsed);
    return true;
}

RangeParameter::RangeParameter(const TChar* title, ParamID tag, const TChar* units, ParamValue minValuePlain,
                               ParamValue maxValuePlain, ParamValue defaultValuePlain, int32 stepCount, int32 flags,
                               UnitID unitID)
    : Parameter(title, tag, units, 0., stepCount, flags, unitID), minPlain(minValuePlain), maxPlain(maxValuePlain) {
    info.defaultNormalizedValue = valueNormalized = toNormalized(defaultValuePlain);
}

void RangeParameter::toString(ParamValue normalized, String128 string) const {
    ParamValue plain = toPlain(normalized);
    if (info.stepCount > 1)
        printInteger(static_cast<int64>(plain), string);
    else
        formatValue(plain, string);
}

bool RangeParameter::fromString(const TChar* string, ParamValue& normalized) const {
    ParamValue plain;
    if (info.stepCount > 1) {
        int64 stepped;
        if (!parseInteger(string, stepped)) return false;
        plain = static_cast<ParamValue>(stepped);
    } else if (!parseFloat(string, plain)) {
        return false;
    }
    normalized = toNormalized(std::clamp(plain, std::min(minPlain, maxPlain), std::max(minPlain, maxPlain)));
    return true;
}

ParamValue RangeParameter::toPlain(ParamValue normalized) const {
    if (info.stepCount > 1) return stepIndex(normalized, info.stepCount) + minPlain;
    return normalized * (maxPlain - minPlain) + minPlain;
}

ParamValue RangeParameter::toNormalized(ParamValue plain) const {
    if (info.stepCount > 1) return (plain - minPlain) / info.stepCount;
    if (maxPlain == minPlain) return 0.;
    return (plain - minPlain) / (maxPlain - minPlain);
}

StringListParameter::StringListParameter(const TChar* title, ParamID tag, const TChar* units, int32 flags,
                                         UnitID unitID)
    : Parameter(title, tag, units, 0., 0, flags, unitID) {}

void StringListParameter::appendString(const TChar* string) {
    strings.emplace_back();
    strcpy16(strings.back().text, string, 128);
    info.stepCount = getStringCount() - 1;
}

bool StringListParameter::replaceString(int32 index, const TChar* string) {
    if (index < 0 || index >= getStringCount()) return false;
    strcpy16(strings[index].text, string, 128);
    return true;
}

void StringListParameter::toString(ParamValue normalized, String128 string) const {
    int32 index = static_cast<int32>(toPlain(normalized));
    strcpy16(string, index < getStringCount() ? strings[index].text : nullptr, 128);
}

bool StringListParameter::fromString(const TChar* string, ParamValue& normalized) const {
    if (!string) return false;
    for (int32 i = 0; i < getStringCount(); ++i) {
        if (strcmp16(strings[i].text, string) == 0) {
            normalized = toNormalized(i);
            return true;
        }
    }
    return false;
}

ParamValue StringListParameter::toPlain(ParamValue normalized) const {
    if (info.stepCount <= 0) return 0.;
    return stepIndex(normalized, info.stepCount);
}

ParamValue StringListParameter::toNormalized(ParamValue plain) const {
    if (info.stepCount <= 0) return 0.;
    return plain / info.stepCount;
}

Parameter* ParameterContainer::addParameter(Parameter* p) {
    if (!p) return nullptr;
    idToIndex[p->getInfo().id] = params.size();
    params.push_back(p);
    return p;
}

Parameter* ParameterContainer::addParameter(const TChar* title, const TChar* units, int32 stepCount,
                                            ParamValue defaultValueNormalized, int32 flags, int32 tag, UnitID unitID) {
    ParamID id = tag == -1 ? static_cast<ParamID>(getParameterCount()) : static_cast<ParamID>(tag);
    return addParameter(new Parameter(title, id, units, defaultValueNormalized, stepCount, flags, unitID));
}

Parameter* ParameterContainer::getParameterByIndex(int32 index) const {
    if (index < 0 || index >= getParameterCount()) return nullptr;
    return params[index];
}

Parameter* ParameterContainer::getParameter(ParamID tag) const {
    auto it = idToIndex.find(tag);
    return it == idToIndex.end() ? nullptr : params[it->second];
}

void ParameterContainer::removeAll() {
    for (Parameter* p : params) p->release();
    params.clear();
    idToIndex.clear();
}

}  // namespace Vst
}  // namespace Sdk
