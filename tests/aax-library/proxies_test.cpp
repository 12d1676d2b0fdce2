// Host proxies against the stand-in host: the host slot each operation reaches, the codes without
// a host interface, and the balance of host references.
#include <gtest/gtest.h>

#include "aax-library/description.h"
#include "aax-library/host_proxies.h"
#include "aax_host.h"

namespace {

IACFUnknown* Unknown(aaxhost::Object* o) { return reinterpret_cast<IACFUnknown*>(o); }

TEST(Description, DeclarationsReachTheHostAndEveryReferenceIsReleased) {
    aaxhost::Host host;
    IACFUnknown* unknown = Unknown(host.RegistrationUnknown(aaxhost::FactoryMode::kOffered));
    {
        AAX_VCollection collection(unknown);
        ASSERT_NE(nullptr, collection.DefinitionInterface());
        for (int i = 0; i < 2; ++i) {
            AAX_IEffectDescriptor* effect = collection.CreateEffectDescriptor();
            AAX_IComponentDescriptor* component = effect->CreateComponentDescriptor();
            AAX_IPropertyMap* map = component->CreatePropertyMap();
            EXPECT_EQ(0, map->WriteProperty(11, 5));
            EXPECT_EQ(0, component->DeclareAudioInput(0));
            EXPECT_EQ(0, component->DeclareProcessProcedure(nullptr, map, nullptr, nullptr, nullptr));
            EXPECT_EQ(0, effect->DeclareComponent(component));
            EXPECT_EQ(0, effect->DeclareProcedure(nullptr, 1));
            EXPECT_EQ(0, collection.DeclareEffect("id", effect));
        }
        EXPECT_EQ(0, collection.DeclarePackageVersion(7));
        EXPECT_EQ(kAAXNoHostInterface, collection.DeclareEffect("id", nullptr));
        EXPECT_EQ(1011, collection.CreateEffectDescriptor()->ForwardSlot11());  // second interface
    }
    std::vector<std::string> expected;
    for (const std::string n : {"1", "2"}) {
        const std::vector<std::string> one = {"map" + n + ".WriteProperty(11,5)",
                                              "component" + n + ".DeclareAudioInput(0)",
                                              "component" + n + ".DeclareProcessProcedure(map" + n + ")",
                                              "effect" + n + ".DeclareComponent(component" + n + ")",
                                              "effect" + n + ".DeclareProcedure(1)",
                                              "definition1.DeclareEffect(id,effect" + n + ")"};
        expected.insert(expected.end(), one.begin(), one.end());
    }
    expected.push_back("definition1.DeclarePackageVersion(7)");
    expected.push_back("effect3.slot11()");
    EXPECT_EQ(expected, host.Operations());
    std::string report;
    EXPECT_TRUE(host.Balanced(&report)) << report;
}

TEST(Description, WithoutFactoryEveryOperationAnswersAbsent) {
    aaxhost::Host host;
    AAX_VCollection collection(Unknown(host.RegistrationUnknown(aaxhost::FactoryMode::kAbsent)));
    AAX_IEffectDescriptor* effect = collection.CreateEffectDescriptor();
    ASSERT_NE(nullptr, effect);
    AAX_IComponentDescriptor* component = effect->CreateComponentDescriptor();
    AAX_IPropertyMap* map = component->CreatePropertyMap();
    int32_t v = 0;
    EXPECT_FALSE(map->ReadProperty(1, &v));
    const int32_t codes[] = {effect->DeclareName("x"), effect->DeclareComponent(component),
                             collection.DeclareEffect("id", effect), component->DeclarePrivateData(1, 8, 0),
                             map->WriteProperty(1, 1)};
    for (int32_t code : codes) EXPECT_EQ(kAAXNoHostInterface, code);
    EXPECT_EQ(kAAXNotSupported, component->ForwardSlot19());
    EXPECT_EQ(kAAXNotSupported, effect->ForwardSlot11());
}

TEST(Description, FactoryAnsweringNullThrowsWithoutLeaking) {
    aaxhost::Host host;
    aaxhost::Object* unknown = host.RegistrationUnknown(aaxhost::FactoryMode::kNullPointer);
    try {
        AAX_VEffectDescriptor descriptor(Unknown(unknown));
        ADD_FAILURE() << "no exception";
    } catch (int32_t code) {
        EXPECT_EQ(kACFNullInterface, code);
    }
    EXPECT_TRUE(host.Balanced());
}

TEST(Description, CopyPropertyMapCopiesTheKnownRange) {
    aaxhost::Host host;
    IACFUnknown* unknown = Unknown(host.RegistrationUnknown(aaxhost::FactoryMode::kOffered));
    AAX_VComponentDescriptor component(unknown);
    AAX_IPropertyMap* source = component.CreatePropertyMap();
    for (uint32_t id : {11u, 56u, 400u}) source->WriteProperty(id, int32_t(id) * 2);
    component.CopyPropertyMap(*source);
    EXPECT_EQ((std::map<uint32_t, int32_t>{{11, 22}, {56, 112}}), host.Find("map2")->properties);
}

TEST(InstanceProxies, ForwardToTheirHostSlots) {
    aaxhost::Host host;
    IACFUnknown* unknown = Unknown(host.InstanceUnknown({aaxhost::id::kController, aaxhost::id::kTransport}));
    {
        AAX_VController controller(unknown);
        float rate = 0;
        EXPECT_EQ(0, controller.ReadSampleRate(&rate));
        EXPECT_EQ(48000.0f, rate);
        EXPECT_EQ(0, controller.ReportLatency(64));
        const uint8_t data[2] = {1, 2};
        EXPECT_EQ(0, controller.SendPacket(9, data, 2));
        EXPECT_EQ(1018, controller.ForwardSlot18());
        int64_t out = 5;
        EXPECT_EQ(kAAXNotSupported, controller.ForwardSlot22(&out));
        EXPECT_EQ(0, out);

        // Only the first transport interface: slots 1 to 10 reach the host, 11 to 14 do not.
        AAX_VTransport transport(unknown);
        double tempo = 0;
        int64_t position = 0;
        EXPECT_EQ(0, transport.ReadTempo(&tempo));
        EXPECT_EQ(0, transport.ReadSamplePosition(&position));
        EXPECT_EQ(120.0, tempo);
        EXPECT_EQ(4096, position);
        EXPECT_EQ(1012, transport.ForwardSlot12());
        EXPECT_EQ(kAAXNotSupported, transport.ForwardSlot13());
    }
    EXPECT_EQ((std::vector<std::string>{"controller.ReadSampleRate()", "controller.ReportLatency(64)",
                                        "controller.SendPacket(9,2,1 2 )", "controller.slot18()"}),
              host.Operations("controller."));
    EXPECT_TRUE(host.Balanced());
}

TEST(InstanceProxies, AbsentInterfacesAnswerFixedCodes) {
    AAX_VController controller(nullptr);
    float rate = 3;
    EXPECT_EQ(kAAXNoHostInterface, controller.ReadSampleRate(&rate));
    EXPECT_EQ(3, rate);
    int64_t out = 5;
    EXPECT_EQ(kAAXNotSupported, controller.ForwardSlot22(&out));
    EXPECT_EQ(0, out);

    AAX_VViewContainer view;
    EXPECT_EQ(nullptr, view.NativeView());
    const float size[2] = {460, 410};
    EXPECT_EQ(0, view.ResizeView(size));
    EXPECT_EQ(kAAXNotSupported, view.ForwardSlot5());

    AAX_VAutomationDelegate automation;
    EXPECT_EQ(kAAXNoHostInterface, automation.RequestTouch("1"));
}

TEST(InstanceProxies, ViewContainerReleasesItsInterface) {
    aaxhost::Host host;
    aaxhost::Object* container = host.Make(aaxhost::Kind::kViewContainer, "view");
    host.Answer(container, aaxhost::id::kViewContainer, container);
    {
        AAX_VViewContainer view;
        ASSERT_EQ(kACFOk, view.InterfaceRef().Query(Unknown(container), kIID_ViewContainer));
        EXPECT_EQ(host.nativeView, view.NativeView());
        const float size[2] = {460, 410};
        EXPECT_EQ(0, view.ResizeView(size));
    }
    EXPECT_EQ(1u, host.Calls("view.ResizeView(460,410)").size());
    EXPECT_TRUE(host.Balanced());
}

}  // namespace
