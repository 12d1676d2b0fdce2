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

TEST(Parameter, ClampsValuesTruncatesTitlesAndParsesTexts) {
    Parameter p(u"Preset", 0x70727374, nullptr, 0.25, 3, ParameterInfo::kIsProgramChange, 2);
    EXPECT_EQ(p.getNormalized(), 0.25);
    EXPECT_TRUE(p.setNormalized(1.5));
    EXPECT_EQ(p.getNormalized(), 1.);
    EXPECT_FALSE(p.setNormalized(1.));
    p.setNormalized(std::nan(""));
    EXPECT_EQ(p.getNormalized(), 0.);
    EXPECT_EQ(strlen16(Parameter(std::u16string(200, u'x').c_str(), 1).getInfo().title), 127);

    Parameter plain(u"Mix", 1);
    EXPECT_EQ(text(plain, 0.123456), "0.1235");
    Parameter toggle(u"On", 2, nullptr, 0., 1);
    EXPECT_EQ(text(toggle, 0.5), "Off");
    EXPECT_EQ(text(toggle, 0.51), "On");
    ParamValue v = -1.;
    EXPECT_TRUE(plain.fromString(u" 0.75 units", v));
    EXPECT_EQ(v, 0.75);
    v = 0.5;
    for (const char16_t* bad : {u"", u"abc", u"nan"}) EXPECT_FALSE(plain.fromString(bad, v));
    EXPECT_EQ(v, 0.5);
}

TEST(RangeParameter, LinearAndSteppedRanges) {
    RangeParameter p(UString128("Level"), 3, UString128("dB"), -24., 12., 0.);
    EXPECT_DOUBLE_EQ(p.getInfo().defaultNormalizedValue, 24. / 36.);
    EXPECT_DOUBLE_EQ(p.toPlain(0.5), -6.);
    EXPECT_DOUBLE_EQ(p.toNormalized(p.toPlain(0.3)), 0.3);
    ParamValue v;
    ASSERT_TRUE(p.fromString(u"100", v));  // clamped to the maximum
    EXPECT_DOUBLE_EQ(v, 1.);
    EXPECT_EQ(RangeParameter(u"Flat", 4, nullptr, 5., 5., 5.).toNormalized(5.), 0.);

    RangeParameter stepped(u"Mode", 5, nullptr, 1., 4., 2., 3);
    const double normalized[] = {-1., 0.2499, 0.25, 0.75, 1.};
    const double plain[] = {1., 1., 2., 4., 4.};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(stepped.toPlain(normalized[i]), plain[i]) << normalized[i];
    EXPECT_EQ(text(stepped, 0.6), "3");
    ASSERT_TRUE(stepped.fromString(u"3", v));
    EXPECT_DOUBLE_EQ(v, 2. / 3.);
    EXPECT_EQ(text(RangeParameter(u"Toggle", 6, nullptr, 0., 1., 1., 1), 1.), "On");
}

TEST(StringListParameter, StepsThroughItsStrings) {
    StringListParameter p(u"Bypass", 0x62706173);
    EXPECT_EQ(text(p, 0.7), "");  // an empty list shows nothing
    p.appendString(u"off");
    EXPECT_EQ(p.getInfo().stepCount, 0);
    p.appendString(u"on");
    EXPECT_EQ(p.getInfo().stepCount, 1);
    EXPECT_EQ(text(p, 0.5), "on");
    EXPECT_EQ(text(p, 0.49), "off");
    ParamValue v = 0.;
    ASSERT_TRUE(p.fromString(u"on", v));
    EXPECT_EQ(v, 1.);
    EXPECT_FALSE(p.fromString(u"On", v));
    EXPECT_FALSE(p.replaceString(2, u"no"));

    StringListParameter three(u"Three", 1);
    for (const char16_t* s : {u"a", u"b", u"c"}) three.appendString(s);
    EXPECT_EQ(text(three, 0.34), "b");
    EXPECT_DOUBLE_EQ(three.toNormalized(1.), 0.5);
}

TEST(ParameterContainer, FindsParametersByIndexAndIdAndHoldsReferences) {
    ParameterContainer container;
    EXPECT_EQ(container.addParameter(u"First", u"%", 0, 0.5)->getInfo().id, 0u);
    auto* range = new RangeParameter(u"Range", 42, nullptr, 0., 10., 5.);
    range->addRef();
    container.addParameter(range);
    EXPECT_EQ(container.addParameter(u"Auto", nullptr)->getInfo().id, 2u);
    EXPECT_EQ(container.getParameterByIndex(1), range);
    EXPECT_EQ(container.getParameterByIndex(3), nullptr);
    EXPECT_EQ(container.getParameterByIndex(-1), nullptr);
    EXPECT_EQ(container.getParameter(42), range);
    EXPECT_EQ(container.addParameter(static_cast<Parameter*>(nullptr)), nullptr);
    // A repeated id finds the newest parameter.
    Parameter* again = container.addParameter(u"Again", nullptr, 0, 0., 0, 42);
    EXPECT_EQ(container.getParameter(42), again);

    EXPECT_EQ(range->getRefCount(), 2);
    container.removeAll();
    EXPECT_EQ(container.getParameter(0), nullptr);
    EXPECT_EQ(range->getRefCount(), 1);
    range->release();
}

namespace {
class Controller : public SingleComponentEffect {
public:
    Controller() { parameters.addParameter(new RangeParameter(u"Drive", 0, u"dB", 0., 20., 10.)); }
};
}  // namespace

TEST(EditController, AnswersParameterQueriesFromItsContainer) {
    auto* controller = new Controller;
    IEditController* ec = controller;
    ParameterInfo info{};
    EXPECT_EQ(ec->getParameterInfo(1, info), kResultFalse);
    EXPECT_EQ(ec->getParameterInfo(-1, info), kResultFalse);
    String128 s;
    EXPECT_EQ(ec->getParamStringByValue(99, 1., s), kResultFalse);
    ParamValue v = 0.;
    TChar bad[] = u"maybe";
    EXPECT_EQ(ec->getParamValueByString(0, bad, v), kResultFalse);
    EXPECT_DOUBLE_EQ(ec->plainParamToNormalized(0, 15.), 0.75);
    EXPECT_EQ(ec->normalizedParamToPlain(99, 0.25), 0.25);  // unknown ids convert to themselves
    EXPECT_EQ(ec->setParamNormalized(0, 3.), kResultOk);
    EXPECT_EQ(ec->getParamNormalized(0), 1.);
    EXPECT_EQ(ec->setParamNormalized(99, 0.5), kResultFalse);
    EXPECT_EQ(ec->getParamNormalized(99), 0.);
    controller->terminate();
    EXPECT_EQ(ec->getParameterCount(), 0);
    controller->release();
}
