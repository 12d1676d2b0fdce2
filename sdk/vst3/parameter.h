// Exported parameters of an edit controller and the container that owns them.
#pragma once

#include "sdk/vst3/editcontroller.h"
#include "sdk/vst3/component.h"
#include "sdk/vst3/fobject.h"

#include <map>
#include <vector>

namespace Sdk {
namespace Vst {

// A parameter whose plain value is its normalized value. Titles and units are copied
// (at most 127 characters); the display precision starts at 4 decimals.
class Parameter : public FObject {
public:
    Parameter(const TChar* title, ParamID tag, const TChar* units = nullptr, ParamValue defaultValueNormalized = 0.,
              int32 stepCount = 0, int32 flags = ParameterInfo::kCanAutomate, UnitID unitID = kRootUnitId);

    const ParameterInfo& getInfo() const { return info; }
    ParameterInfo& getInfo() { return info; }
    UnitID getUnitID() const { return info.unitId; }
    void setUnitID(UnitID id) { info.unitId = id; }
    int32 getPrecision() const { return precision; }
    void setPrecision(int32 value) { precision = value; }

    ParamValue getNormalized() const { return valueNormalized; }
    // Clamps to 0..1; true when the value changed.
    virtual bool setNormalized(ParamValue value);

    // stepCount 1 shows "On" above 0.5 and "Off" otherwise; else the value with `precision` decimals.
    virtual void toString(ParamValue valueNormalized, String128 string) const;
    // Reads a number as the normalized value.
    virtual bool fromString(const TChar* string, ParamValue& valueNormalized) const;
    virtual ParamValue toPlain(ParamValue normalized) const { return normalized; }
    virtual ParamValue toNormalized(ParamValue plainValue) const { return plainValue; }

    FOBJECT_CLASS(Parameter, FObject)

protected:
    // The display rule of toString applied to any value.
    void formatValue(ParamValue value, String128 string) const;

    ParameterInfo info;
    ParamValue valueNormalized;
    int32 precision = 4;
};

// A parameter over a plain range. With stepCount > 1 the plain values are the integers
// min, min + 1, ... min + stepCount; otherwise the mapping is linear.
class RangeParameter : public Parameter {
public:
    RangeParameter(const TChar* title, ParamID tag, const TChar* units = nullptr, ParamValue minPlain = 0.,
                   ParamValue maxPlain = 1., ParamValue defaultValuePlain = 0., int32 stepCount = 0,
                   int32 flags = ParameterInfo::kCanAutomate, UnitID unitID = kRootUnitId);

    ParamValue getMin() const { return minPlain; }
    ParamValue getMax() const { return maxPlain; }

    // Stepped ranges show the plain integer; others the plain value by the base rule.
    void toString(ParamValue valueNormalized, String128 string) const override;
    // Reads a plain value (an integer for stepped ranges), clamped to the range.
    bool fromString(const TChar* string, ParamValue& valueNormalized) const override;
    ParamValue toPlain(ParamValue valueNormalized) const override;
    ParamValue toNormalized(ParamValue plainValue) const override;

    FOBJECT_CLASS(RangeParameter, Parameter)

protected:
    ParamValue minPlain;
    ParamValue maxPlain;
};

// A list parameter: each appended string is one step; the plain value is the string's index.
class StringListParameter : public Parameter {
public:
    StringListParameter(const TChar* title, ParamID tag, const TChar* units = nullptr,
                        int32 flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList,
                        UnitID unitID = kRootUnitId);

    // n strings give stepCount n - 1 (0 for an empty list).
    void appendString(const TChar* string);
    bool replaceString(int32 index, const TChar* string);
    int32 getStringCount() const { return static_cast<int32>(strings.size()); }

    // The string at the value's index; empty for an empty list.
    void toString(ParamValue valueNormalized, String128 string) const override;
    // An exact match of one of the strings.
    bool fromString(const TChar* string, ParamValue& valueNormalized) const override;
    ParamValue toPlain(ParamValue valueNormalized) const override;
    ParamValue toNormalized(ParamValue plainValue) const override;

    FOBJECT_CLASS(StringListParameter, Parameter)

private:
    struct Entry {
        String128 text;
    };
    std::vector<Entry> strings;
};

// Owns parameters in the order they were added and finds them by id.
class ParameterContainer {
public:
    ParameterContainer() = default;
    ParameterContainer(const ParameterContainer&) = delete;
    ParameterContainer& operator=(const ParameterContainer&) = delete;
    ~ParameterContainer() { removeAll(); }

    // Takes over the creation reference; a repeated id then finds the newest parameter.
    Parameter* addParameter(Parameter* p);
    // A plain Parameter; tag -1 takes the current count as id.
    Parameter* addParameter(const TChar* title, const TChar* units = nullptr, int32 stepCount = 0,
                            ParamValue defaultValueNormalized = 0., int32 flags = ParameterInfo::kCanAutomate,
                            int32 tag = -1, UnitID unitID = kRootUnitId);

    int32 getParameterCount() const { return static_cast<int32>(params.size()); }
    // Null when out of range or unknown.
    Parameter* getParameterByIndex(int32 index) const;
    Parameter* getParameter(ParamID tag) const;
    void removeAll();

private:
    std::vector<Parameter*> params;
    std::map<ParamID, size_t> idToIndex;
};

}  // namespace Vst
}  // namespace Sdk
