// Parameter classes (conversions and display texts), the parameter container and the edit
// controller's parameter queries over it.
#include "sdk/vst3/parameter.h"
#include "sdk/vst3/singlecomponenteffect.h"
#include "sdk/vst3/strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace Sdk;
using namespace Sdk::Vst;

namespace {

std::string text(const Parameter& p, ParamValue normalized) {
    String128 s;
    p.toString(normalized, s);
    char out[512];
    fromString128(s, out, sizeof(out));
    return out;
}

}  // namespace

TEST(Parameter, KeepsItsInfoAndClampsItsValue) {
    Parameter p(u"Preset", 0x70727374, nullptr, 0.25, 3, ParameterInfo::kIsProgramChange, 2);
    const ParameterInfo& info = p.getInfo();
    EXPECT_EQ(info.id, 0x70727374u);
    EXPECT_EQ(strcmp16(info.title, u"Preset"), 0);
    EXPECT_EQ(info.units[0], 0);
    EXPECT_EQ(info.shortTitle[0], 0);
    EXPECT_EQ(info.stepCount, 3);
    EXPECT_EQ(info.defaultNormalizedValue, 0.25);
    EXPECT_EQ(info.flags, 0x8000);
    EXPECT_EQ(info.unitId, 2);
    EXPECT_EQ(p.getNormalized(), 0.25);

    EXPECT_TRUE(p.setNormalized(1.5));
    EXPECT_EQ(p.getNormalized(), 1.);
    EXPECT_FALSE(p.setNormalized(1.));
    EXPECT_TRUE(p.setNormalized(-2.));
    EXPECT_EQ(p.getNormalized(), 0.);
    p.setNormalized(0.5);
    p.setNormalized(std::nan(""));
    EXPECT_EQ(p.getNormalized(), 0.);
}

TEST(Parameter, TruncatesLongTitlesTo127Characters) {
    std::u16string longTitle(200, u'x');
    Parameter p(longTitle.c_str(), 1);
    EXPECT_EQ(strlen16(p.getInfo().title), 127);
}

TEST(Parameter, ShowsValuesWithItsPrecisionOrAsASwitch) {
    Parameter plain(u"Mix", 1);
    EXPECT_EQ(text(plain, 0.123456), "0.1235");
    plain.setPrecision(1);
    EXPECT_EQ(text(plain, 0.26), "0.3");
    Parameter toggle(u"On", 2, nullptr, 0., 1);
    EXPECT_EQ(text(toggle, 0.5), "Off");
    EXPECT_EQ(text(toggle, 0.51), "On");

    ParamValue v = -1.;
    EXPECT_TRUE(plain.fromString(u" 0.75 units", v));
    EXPECT_EQ(v, 0.75);
    EXPECT_TRUE(plain.fromString(u"2", v));
    EXPECT_EQ(v, 2.);  // not clamped
    v = 0.5;
    EXPECT_FALSE(plain.fromString(u"", v));
    EXPECT_FALSE(plain.fromString(u"abc", v));
    EXPECT_FALSE(plain.fromString(u"nan", v));
    EXPECT_EQ(v, 0.5);
}

TEST(RangeParameter, MapsLinearlyBetweenMinAndMax) {
    RangeParameter p(UString128("Level"), 3, UString128("dB"), -24., 12., 0.);
    EXPECT_EQ(strcmp16(p.getInfo().units, u"dB"), 0);
    EXPECT_DOUBLE_EQ(p.getInfo().defaultNormalizedValue, 24. / 36.);
    EXPECT_DOUBLE_EQ(p.getNormalized(), 24. / 36.);
    EXPECT_DOUBLE_EQ(p.toPlain(0.), -24.);
    EXPECT_DOUBLE_EQ(p.toPlain(0.5), -6.);
    EXPECT_DOUBLE_EQ(p.toNormalized(12.), 1.);
    EXPECT_DOUBLE_EQ(p.toNormalized(p.toPlain(0.3)), 0.3);
    p.setPrecision(1);
    EXPECT_EQ(text(p, 0.5), "-6.0");

    ParamValue v;
    ASSERT_TRUE(p.fromString(u"-12", v));
    EXPECT_DOUBLE_EQ(v, 12. / 36.);
    ASSERT_TRUE(p.fromString(u"100", v));  // clamped to the maximum
    EXPECT_DOUBLE_EQ(v, 1.);

    RangeParameter flat(u"Flat", 4, nullptr, 5., 5., 5.);
    EXPECT_EQ(flat.toNormalized(5.), 0.);
}

TEST(RangeParameter, SteppedRangeUsesIntegerPlainValues) {
    RangeParameter p(u"Mode", 5, nullptr, 1., 4., 2., 3);
    EXPECT_DOUBLE_EQ(p.getInfo().defaultNormalizedValue, 1. / 3.);
    EXPECT_EQ(p.toPlain(0.), 1.);
    EXPECT_EQ(p.toPlain(0.2499), 1.);
    EXPECT_EQ(p.toPlain(0.25), 2.);
    EXPECT_EQ(p.toPlain(0.75), 4.);
    EXPECT_EQ(p.toPlain(1.), 4.);
    EXPECT_EQ(p.toPlain(-1.), 1.);
    EXPECT_DOUBLE_EQ(p.toNormalized(3.), 2. / 3.);
    EXPECT_EQ(text(p, 0.6), "3");

    ParamValue v;
    ASSERT_TRUE(p.fromString(u"3", v));
    EXPECT_DOUBLE_EQ(v, 2. / 3.);
    ASSERT_TRUE(p.fromString(u"9", v));
    EXPECT_DOUBLE_EQ(v, 1.);
    EXPECT_FALSE(p.fromString(u"x", v));

    RangeParameter toggle(u"Toggle", 6, nullptr, 0., 1., 1., 1);
    EXPECT_EQ(text(toggle, 1.), "On");
    EXPECT_EQ(text(toggle, 0.), "Off");
}

TEST(StringListParameter, StepsThroughItsStrings) {
    StringListParameter p(u"Bypass", 0x62706173, nullptr,
                          ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass);
    EXPECT_EQ(p.getInfo().flags, 0x10009);
    EXPECT_EQ(p.getInfo().stepCount, 0);
    EXPECT_EQ(text(p, 0.7), "");  // an empty list shows nothing
    p.appendString(u"off");
    EXPECT_EQ(p.getInfo().stepCount, 0);
    EXPECT_EQ(text(p, 1.), "off");
    p.appendString(u"on");
    EXPECT_EQ(p.getInfo().stepCount, 1);
    EXPECT_EQ(p.getStringCount(), 2);

    EXPECT_EQ(text(p, 0.5), "on");
    EXPECT_EQ(text(p, 0.49), "off");
    EXPECT_EQ(p.toPlain(1.), 1.);
    EXPECT_EQ(p.toNormalized(1.), 1.);

    ParamValue v = 0.;
    ASSERT_TRUE(p.fromString(u"on", v));
    EXPECT_EQ(v, 1.);
    EXPECT_FALSE(p.fromString(u"On", v));
    EXPECT_TRUE(p.replaceString(1, u"yes"));
    EXPECT_FALSE(p.replaceString(2, u"no"));
    EXPECT_EQ(text(p, 1.), "yes");

    StringListParameter three(u"Three", 1);
    for (const char16_t* s : {u"a", u"b", u"c"}) three.appendString(s);
    EXPECT_EQ(text(three, 0.34), "b");
    EXPECT_DOUBLE_EQ(three.toNormalized(1.), 0.5);
}

TEST(ParameterContainer, FindsParametersByIndexAndId) {
    ParameterContainer container;
    Parameter* first = container.addParameter(u"First", u"%", 0, 0.5);
    EXPECT_EQ(first->getInfo().id, 0u);
    auto* range = new RangeParameter(u"Range", 42, nullptr, 0., 10., 5.);
    range->addRef();
    container.addParameter(range);
    Parameter* tagged = container.addParameter(u"Tagged", nullptr, 0, 0., 0, 7, 3);
    EXPECT_EQ(tagged->getInfo().unitId, 3);
    Parameter* auto3 = container.addParameter(u"Auto", nullptr);
    EXPECT_EQ(auto3->getInfo().id, 3u);

    EXPECT_EQ(container.getParameterCount(), 4);
    EXPECT_EQ(container.getParameterByIndex(1), range);
    EXPECT_EQ(container.getParameterByIndex(4), nullptr);
    EXPECT_EQ(container.getParameterByIndex(-1), nullptr);
    EXPECT_EQ(container.getParameter(42), range);
    EXPECT_EQ(container.getParameter(7), tagged);
    EXPECT_EQ(container.getParameter(8), nullptr);
    EXPECT_EQ(container.addParameter(static_cast<Parameter*>(nullptr)), nullptr);

    // A repeated id finds the newest parameter.
    Parameter* again = container.addParameter(u"Again", nullptr, 0, 0., 0, 42);
    EXPECT_EQ(container.getParameter(42), again);

    EXPECT_EQ(range->getRefCount(), 2);
    container.removeAll();
    EXPECT_EQ(container.getParameterCount(), 0);
    EXPECT_EQ(container.getParameter(0), nullptr);
    EXPECT_EQ(range->getRefCount(), 1);
    range->release();
}

namespace {

class Controller : public SingleComponentEffect {
public:
    Controller() {
        parameters.addParameter(new RangeParameter(u"Drive", 0, u"dB", 0., 20., 10.));
        auto* list = new StringListParameter(u"Bypass", 0x62706173);
        list->appendString(u"off");
        list->appendString(u"on");
        parameters.addParameter(list);
    }
};

}  // namespace

TEST(EditController, AnswersParameterQueriesFromItsContainer) {
    auto* controller = new Controller;
    IEditController* ec = controller;
    EXPECT_EQ(ec->getParameterCount(), 2);
    ParameterInfo info{};
    EXPECT_EQ(ec->getParameterInfo(1, info), kResultOk);
    EXPECT_EQ(info.id, 0x62706173u);
    EXPECT_EQ(info.stepCount, 1);
    EXPECT_EQ(ec->getParameterInfo(2, info), kResultFalse);
    EXPECT_EQ(ec->getParameterInfo(-1, info), kResultFalse);

    String128 s;
    EXPECT_EQ(ec->getParamStringByValue(0x62706173, 1., s), kResultOk);
    EXPECT_EQ(strcmp16(s, u"on"), 0);
    EXPECT_EQ(ec->getParamStringByValue(99, 1., s), kResultFalse);
    ParamValue v = 0.;
    TChar off[] = u"off";
    EXPECT_EQ(ec->getParamValueByString(0x62706173, off, v), kResultOk);
    EXPECT_EQ(v, 0.);
    EXPECT_EQ(ec->getParamValueByString(99, off, v), kResultFalse);
    TChar bad[] = u"maybe";
    EXPECT_EQ(ec->getParamValueByString(0x62706173, bad, v), kResultFalse);

    EXPECT_DOUBLE_EQ(ec->normalizedParamToPlain(0, 0.25), 5.);
    EXPECT_DOUBLE_EQ(ec->plainParamToNormalized(0, 15.), 0.75);
    EXPECT_EQ(ec->normalizedParamToPlain(99, 0.25), 0.25);
    EXPECT_EQ(ec->plainParamToNormalized(99, 15.), 15.);

    EXPECT_DOUBLE_EQ(ec->getParamNormalized(0), 0.5);
    EXPECT_EQ(ec->setParamNormalized(0, 3.), kResultOk);
    EXPECT_EQ(ec->getParamNormalized(0), 1.);
    EXPECT_EQ(ec->setParamNormalized(99, 0.5), kResultFalse);
    EXPECT_EQ(ec->getParamNormalized(99), 0.);

    controller->terminate();
    EXPECT_EQ(ec->getParameterCount(), 0);
    controller->release();
}
