// The module's factory: its records, the class id bytes, reference counting and instance creation.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/vst3/module_entry.h"
#include "sdk/vst3/component.h"
#include "sdk/vst3/pluginfactory.h"

using namespace Sdk;

TEST(Vst3Factory, DescribesOneClass) {
    ASSERT_TRUE(InitDll());
    IClassFactory* factory = GetPluginFactory();
    ASSERT_NE(factory, nullptr);
    PFactoryInfo info;
    std::memset(&info, 0x55, sizeof info);
    EXPECT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Tavrel");
    EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);
    EXPECT_EQ(info.url[sizeof info.url - 1], 0);  // NUL-padded to the full width
    EXPECT_EQ(factory->countClasses(), 1);

    void* obj = nullptr;
    ASSERT_EQ(factory->queryInterface(IClassFactory2::iid, &obj), kResultOk);
    auto* factory2 = static_cast<IClassFactory2*>(obj);
    PClassInfo2 ci;
    ASSERT_EQ(factory2->getClassInfo2(0, &ci), kResultOk);
    EXPECT_EQ(ci.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(ci.category, "Audio Module Class");
    EXPECT_STREQ(ci.name, "TavrelZel4");
    EXPECT_EQ(ci.classFlags, 2u);
    EXPECT_STREQ(ci.subCategories, "Fx|Distortion");
    EXPECT_EQ(ci.vendor[0], 0);
    EXPECT_STREQ(ci.version, "1.1.1");
    EXPECT_STREQ(ci.sdkVersion, "VST 3.5.2");
    EXPECT_EQ(factory2->getClassInfo2(1, &ci), kInvalidArgument);
#ifdef _WIN32
    const unsigned char expected[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                        'T',  'v',  'R',  'l',  'Z',  'e',  'l',  '4'};
    EXPECT_EQ(std::memcmp(ci.cid, expected, 16), 0);
#endif
    factory2->release();
    factory->release();
    EXPECT_TRUE(ExitDll());
}

TEST(Vst3Factory, SharedWhileAliveAndRebuiltAfterLastRelease) {
    IClassFactory* first = GetPluginFactory();
    IClassFactory* second = GetPluginFactory();
    EXPECT_EQ(first, second);
    EXPECT_EQ(second->countClasses(), 1);  // no second registration
    EXPECT_EQ(second->release(), 1u);
    EXPECT_EQ(first->release(), 0u);
    // The slot no longer refers to the freed factory: a later call works on a fresh one.
    IClassFactory* again = GetPluginFactory();
    EXPECT_EQ(again->countClasses(), 1);
    again->release();
}

TEST(Vst3Factory, CreatesOnlyTheKnownClass) {
    IClassFactory* factory = GetPluginFactory();
    void* obj = reinterpret_cast<void*>(1);
    const FUID unknown(1, 2, 3, 4);
    EXPECT_EQ(factory->createInstance(unknown, Vst::IComponent::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
    EXPECT_EQ(factory->createInstance(kTavrelZel4ClassId, IClassFactory::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);

    ASSERT_EQ(factory->createInstance(kTavrelZel4ClassId, Vst::IComponent::iid, &obj), kResultOk);
    auto* component = static_cast<Vst::IComponent*>(obj);
    TUID controller;
    EXPECT_EQ(component->getControllerClassId(controller), kNotImplemented);
    EXPECT_EQ(component->release(), 0u);  // the host held the only reference
    factory->release();
}
