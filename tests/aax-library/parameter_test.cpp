// Typed parameters, detached and attached to the stand-in host's automation interface.
#include <gtest/gtest.h>

#include <memory>

#include "aax-library/parameter.h"
#include "aax_host.h"

namespace {

using DoubleParam = AAX_CParameter<double>;

std::unique_ptr<DoubleParam> Make(const char* id = "1", double defaultValue = 0) {
    return std::make_unique<DoubleParam>(id, AAX_CString("Dist. Amount"), defaultValue,
                                         AAX_CIFxTaperDelegate<double>(0, 10, 1),
                                         AAX_CNumberDisplayDelegate<double, 2, 0>(), true);
}

IACFUnknown* Unknown(aaxhost::Object* o) { return reinterpret_cast<IACFUnknown*>(o); }

TEST(Parameter, DetachedStoresAtOnce) {
    auto p = Make("0123456789012345678901234567890123456789", 5);
    EXPECT_STREQ("0123456789012345678901234567890", p->Id());
    EXPECT_DOUBLE_EQ(0.5, p->NormalizedValue());
    p->SetNormalizedValue(0.25);
    EXPECT_DOUBLE_EQ(2.5, p->Value());
    EXPECT_DOUBLE_EQ(0.25, p->NormalizedValue());

    // Typed access answers for the instance's own type only.
    int32_t i = 42;
    EXPECT_FALSE(p->GetInt32(i));
    EXPECT_EQ(42, i);
    double d = 0;
    EXPECT_TRUE(p->GetDouble(d));
    EXPECT_EQ(2.5, d);
    EXPECT_FALSE(p->SetBool(true));
    EXPECT_TRUE(p->SetDouble(4));
    EXPECT_EQ(4, p->Value());

    // A new taper keeping the normalized position moves the real value.
    p->SetNormalizedValue(0.5);
    p->SetTaperDelegate(AAX_CIFxTaperDelegate<double>(0, 100, 2), false);
    EXPECT_DOUBLE_EQ(0.5, p->NormalizedValue());
    EXPECT_DOUBLE_EQ(25, p->Value());
}

// A host numbers the slots from the deleting one: slot 1 is the id, slot 0 destroys and frees.
TEST(Parameter, HostSlotNumbers) {
    void* p = static_cast<AAX_IParameter*>(Make("7").release());
    EXPECT_STREQ("7", aaxhost::CallSlot<const char*>(p, 1));
    aaxhost::CallSlot<void>(p, 0, 1u);
}

TEST(Parameter, AttachedChangesWaitForTheHost) {
    aaxhost::Host host;
    aaxhost::Object* unknown = host.InstanceUnknown({aaxhost::id::kAutomation});
    {
        AAX_VAutomationDelegate automation;
        ASSERT_EQ(kACFOk, automation.InterfaceRef().Query(Unknown(unknown), kIID_Automation));
        auto p = Make("1");
        p->SetAutomationDelegate(&automation);
        p->SetNormalizedValue(0.25);
        EXPECT_EQ(0, p->Value());
        p->UpdateNormalizedValue(0.25);
        EXPECT_DOUBLE_EQ(2.5, p->Value());
        p->UpdateNormalizedValue(0.25);  // unchanged: nothing stored or reported
        p.reset();
        const std::vector<std::string> expected = {
            "automation.AddParameterId(1)",          "automation.RequestTouch(1)",
            "automation.RequestValueChange(1,0.25)", "automation.RequestRelease(1)",
            "automation.ReportCurrentValue(1,0.25)", "automation.RemoveParameterId(1)"};
        EXPECT_EQ(expected, host.Operations("automation."));
    }
    EXPECT_TRUE(host.Balanced());
}

TEST(Parameter, AutomationWithoutHostInterfaceStoresNothing) {
    AAX_VAutomationDelegate automation;
    auto p = Make("1", 1);
    p->SetAutomationDelegate(&automation);
    p->SetNormalizedValue(0.9);
    EXPECT_EQ(1, p->Value());
}

TEST(Parameter, Steps) {
    auto p = Make();
    const struct {
        int32_t count;
        double normalized;
        int32_t step;
    } cases[] = {{128, 0.5, 64}, {128, 0.4999, 63}, {128, 1.0, 127}, {2, 0.49, 0},
                 {2, 0.5, 1},    {1, 1.0, 0},       {0, 1.0, 0}};
    for (const auto& c : cases) {
        p->SetStepCount(c.count);
        p->SetNormalizedValue(c.normalized);
        EXPECT_EQ(c.step, p->StepValue()) << c.count << " " << c.normalized;
    }
    p->SetStepCount(128);
    for (int32_t step : {127, 300}) {
        p->SetNormalizedValue(0);
        p->SetStepValue(step);
        EXPECT_EQ(1.0, p->NormalizedValue()) << step;
    }
    p->SetStepCount(1);
    p->SetStepValue(1);
    EXPECT_EQ(1.0, p->NormalizedValue());
    // A negative count read as unsigned must not overflow the step.
    p->SetStepCount(-1);
    EXPECT_EQ(INT32_MAX, p->StepValue());
}

TEST(Parameter, ShortenedNames) {
    auto p = Make();
    p->SetName(AAX_CString("Twelve chars"));
    p->AddShortenedName(AAX_CString("Four"));
    p->AddShortenedName(AAX_CString("Eight ch"));
    const struct {
        int32_t max;
        const char* name;
    } cases[] = {{12, "Twelve chars"}, {20, "Twelve chars"}, {9, "Eight ch"},
                 {5, "Four"},          {2, "Four"},          {-1, "Twelve chars"}};
    for (const auto& c : cases) EXPECT_STREQ(c.name, p->ShortenedName(c.max).Text()) << c.max;
}

TEST(Parameter, TextConversions) {
    auto p = Make();
    double n = -1;
    EXPECT_TRUE(p->NormalizedValueFromString(AAX_CString("2.5"), n));
    EXPECT_DOUBLE_EQ(0.25, n);
    EXPECT_FALSE(p->NormalizedValueFromString(AAX_CString("20"), n));  // outside: written, but false
    EXPECT_DOUBLE_EQ(1.0, n);
    AAX_CString out;
    EXPECT_TRUE(p->StringFromNormalizedValue(0.5, 2, out));
    EXPECT_STREQ("5", out.Text());
    EXPECT_FALSE(p->SetValueFromString(AAX_CString("abc")));
    EXPECT_TRUE(p->SetValueFromString(AAX_CString("7.5")));
    EXPECT_TRUE(p->ValueString(out));
    EXPECT_STREQ("7.50", out.Text());
}

}  // namespace
