// Reference counting, interface queries and class names of the helper objects, the class
// factory, the edit controller's host handler and the plug-in view.
#include "sdk/vst3/hostapplication.h"
#include "sdk/vst3/module.h"
#include "sdk/vst3/pluginfactory.h"
#include "sdk/vst3/pluginview.h"
#include "sdk/vst3/singlecomponenteffect.h"
#include "sdk/vst3/strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace Sdk;
using namespace Sdk::Vst;

namespace {

// A host object with a real count; answers IComponentHandler2 only when asked to.
class Handler : public IComponentHandler, public IComponentHandler2 {
public:
    explicit Handler(bool offerHandler2) : offerHandler2(offerHandler2) {}

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        if (tryInterface<FUnknown>(iid, obj, static_cast<IComponentHandler*>(this))) return kResultOk;
        if (tryInterface<IComponentHandler>(iid, obj, this)) return kResultOk;
        if (offerHandler2 && tryInterface<IComponentHandler2>(iid, obj, this)) return kResultOk;
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return ++refs; }
    uint32 PLUGIN_API release() override { return --refs; }

    tresult PLUGIN_API beginEdit(ParamID id) override { return record("begin", id, 0.); }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue v) override { return record("perform", id, v); }
    tresult PLUGIN_API endEdit(ParamID id) override { return record("end", id, 0.); }
    tresult PLUGIN_API restartComponent(int32 flags) override { return record("restart", flags, 0.); }
    tresult PLUGIN_API setDirty(TBool state) override { return record("dirty", state, 0.); }
    tresult PLUGIN_API requestOpenEditor(FIDString) override { return record("open", 0, 0.); }
    tresult PLUGIN_API startGroupEdit() override { return record("startGroup", 0, 0.); }
    tresult PLUGIN_API finishGroupEdit() override { return record("finishGroup", 0, 0.); }

    struct Call {
        std::string what;
        uint32 id;
        double value;
    };
    std::vector<Call> calls;
    uint32 refs = 1;

private:
    tresult record(const char* what, uint32 id, double value) {
        calls.push_back({what, id, value});
        return kResultOk;
    }
    bool offerHandler2;
};

class Host : public IHostApplication {
public:
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        if (tryInterface<FUnknown>(iid, obj, this) || tryInterface<IHostApplication>(iid, obj, this)) return kResultOk;
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return ++refs; }
    uint32 PLUGIN_API release() override { return --refs; }
    tresult PLUGIN_API getName(String128 name) override {
        toString128("Test Host", name);
        return kResultOk;
    }
    tresult PLUGIN_API createInstance(TUID, TUID, void**) override { return kNotImplemented; }

    uint32 refs = 1;
};

int liveEffects = 0;

class Effect : public SingleComponentEffect {
public:
    Effect() { ++liveEffects; }
    ~Effect() override { --liveEffects; }
};

template <class I>
I* query(FUnknown* unknown, tresult expected = kResultOk) {
    void* obj = reinterpret_cast<void*>(1);
    EXPECT_EQ(unknown->queryInterface(I::iid, &obj), expected);
    return static_cast<I*>(obj);
}

}  // namespace

TEST(Effect, SharesOneCountAcrossInterfacesAndDeletesOnLastRelease) {
    auto* effect = new Effect;
    FUnknown* unknown = effect->unknownCast();
    EXPECT_EQ(effect->getRefCount(), 1);

    IComponent* component = query<IComponent>(unknown);
    IAudioProcessor* processor = query<IAudioProcessor>(component);
    IEditController* controller = query<IEditController>(processor);
    IEditController2* controller2 = query<IEditController2>(controller);
    IHostedObject* base = query<IHostedObject>(controller2);
    EXPECT_EQ(effect->getRefCount(), 6);

    // Each answer is the matching base of the one object.
    EXPECT_EQ(component, static_cast<IComponent*>(effect));
    EXPECT_EQ(processor, static_cast<IAudioProcessor*>(effect));
    EXPECT_EQ(controller, static_cast<IEditController*>(effect));
    EXPECT_EQ(controller2, static_cast<IEditController2*>(effect));
    EXPECT_EQ(base, static_cast<IHostedObject*>(static_cast<ComponentBase*>(effect)));
    // FUnknown is the same sub-object whichever interface is asked.
    FUnknown* u1 = query<FUnknown>(component);
    FUnknown* u2 = query<FUnknown>(controller2);
    EXPECT_EQ(u1, unknown);
    EXPECT_EQ(u2, unknown);
    EXPECT_EQ(query<IDependent>(processor), static_cast<IDependent*>(effect));

    for (FUnknown* itf : std::initializer_list<FUnknown*>{component, processor, controller, controller2, base, u1, u2,
                                                          static_cast<IDependent*>(effect)})
        itf->release();
    EXPECT_EQ(effect->getRefCount(), 1);
    EXPECT_EQ(liveEffects, 1);
    EXPECT_EQ(controller->release(), 0u);
    EXPECT_EQ(liveEffects, 0);
}

TEST(Effect, RefusesConnectionPointAndUnknownInterfaces) {
    auto* effect = new Effect;
    // The connection point is refused without touching the out pointer.
    EXPECT_EQ(query<IConnectionPoint>(effect->unknownCast(), kNoInterface), reinterpret_cast<IConnectionPoint*>(1));
    EXPECT_EQ(query<IHostApplication>(effect->unknownCast(), kNoInterface), nullptr);
    EXPECT_EQ(effect->getRefCount(), 1);
    effect->release();
}

TEST(Effect, NamesItsClassChain) {
    auto* effect = new Effect;
    EXPECT_STREQ(effect->isA(), "SingleComponentEffect");
    for (const char* name : {"SingleComponentEffect", "EditController", "ComponentBase", "FObject"})
        EXPECT_TRUE(effect->isTypeOf(name)) << name;
    EXPECT_FALSE(effect->isTypeOf("EditController", false));
    EXPECT_FALSE(effect->isTypeOf("CPluginView"));
    EXPECT_FALSE(effect->isTypeOf(nullptr));
    effect->release();
}

TEST(Effect, KeepsTheHostContextUntilTerminate) {
    Host host;
    auto* effect = new Effect;
    EXPECT_EQ(effect->initialize(&host), kResultOk);
    EXPECT_EQ(host.refs, 2u);
    EXPECT_EQ(effect->getHostContext(), &host);
    EXPECT_EQ(effect->initialize(&host), kResultFalse);
    {
        FUnknownPtr<IHostApplication> app(effect->getHostContext());
        ASSERT_TRUE(app);
        EXPECT_EQ(host.refs, 3u);
        FUnknownPtr<IComponentHandler> none(effect->getHostContext());
        EXPECT_FALSE(none);
    }
    EXPECT_EQ(host.refs, 2u);
    EXPECT_EQ(effect->terminate(), kResultOk);
    EXPECT_EQ(host.refs, 1u);
    EXPECT_EQ(effect->getHostContext(), nullptr);
    // Released without terminate: the context is still given back.
    effect->initialize(&host);
    effect->release();
    EXPECT_EQ(host.refs, 1u);
}

TEST(Effect, ForwardsEditsToTheComponentHandler) {
    auto* effect = new Effect;
    EXPECT_EQ(effect->beginEdit(3), kResultFalse);
    EXPECT_EQ(effect->setDirty(1), kNotImplemented);

    Handler handler(true);
    EXPECT_EQ(effect->setComponentHandler(&handler), kResultOk);
    EXPECT_EQ(handler.refs, 3u);  // the handler and its second interface are both kept
    EXPECT_EQ(effect->setComponentHandler(&handler), kResultOk);
    EXPECT_EQ(handler.refs, 3u);
    effect->beginEdit(3);
    effect->performEdit(3, 0.25);
    effect->endEdit(3);
    effect->setDirty(1);
    effect->startGroupEdit();
    ASSERT_EQ(handler.calls.size(), 5u);
    EXPECT_EQ(handler.calls[1].what, "perform");
    EXPECT_EQ(handler.calls[1].id, 3u);
    EXPECT_EQ(handler.calls[1].value, 0.25);
    EXPECT_EQ(handler.calls[3].what, "dirty");

    Handler plain(false);
    effect->setComponentHandler(&plain);
    EXPECT_EQ(handler.refs, 1u);
    EXPECT_EQ(plain.refs, 2u);
    EXPECT_EQ(effect->finishGroupEdit(), kNotImplemented);
    effect->terminate();
    EXPECT_EQ(plain.refs, 1u);
    EXPECT_EQ(effect->getComponentHandler(), nullptr);
    effect->release();
}

namespace {

int created = 0;

FUnknown* createEffect(void* context) {
    ++created;
    EXPECT_EQ(context, &created);
    return (new Effect)->unknownCast();
}

PClassInfo2 classInfo(const FUID& cid, const char* name) {
    PClassInfo2 info{};
    cid.toTUID(info.cid);
    info.cardinality = PClassInfo::kManyInstances;
    std::strcpy(info.category, kVstAudioEffectClass);
    std::strcpy(info.name, name);
    info.classFlags = kSimpleModeSupported;
    std::strcpy(info.subCategories, "Fx|Distortion");
    std::strcpy(info.version, "1.1.1");
    std::strcpy(info.sdkVersion, kVstVersionString);
    return info;
}

}  // namespace

TEST(Factory, DescribesItsClassesInEveryForm) {
    PFactoryInfo info{};
    std::strcpy(info.vendor, "Maker");
    info.flags = PFactoryInfo::kUnicode;
    auto* factory = new CPluginFactory(info);
    PClassInfo2 registered = classInfo(FUID(1, 2, 3, 4), "Zed \xC3\xA9");
    EXPECT_TRUE(factory->registerClass(&registered, createEffect, &created));
    EXPECT_FALSE(factory->registerClass(&registered, nullptr));
    EXPECT_EQ(factory->countClasses(), 1);
    EXPECT_TRUE(factory->isClassRegistered(FUID(1, 2, 3, 4)));

    PFactoryInfo readInfo{};
    EXPECT_EQ(factory->getFactoryInfo(&readInfo), kResultOk);
    EXPECT_STREQ(readInfo.vendor, "Maker");
    EXPECT_EQ(readInfo.flags, 16);
    EXPECT_EQ(factory->getFactoryInfo(nullptr), kResultOk);

    PClassInfo first{};
    EXPECT_EQ(factory->getClassInfo(0, &first), kResultOk);
    EXPECT_EQ(std::memcmp(&first, &registered, sizeof(PClassInfo)), 0);
    PClassInfo2 second{};
    EXPECT_EQ(factory->getClassInfo2(0, &second), kResultOk);
    EXPECT_EQ(std::memcmp(&second, &registered, sizeof(PClassInfo2)), 0);
    PClassInfoW wide{};
    EXPECT_EQ(factory->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(strcmp16(wide.name, u"Zed \u00E9"), 0);
    EXPECT_EQ(strcmp16(wide.sdkVersion, u"VST 3.5.2"), 0);
    EXPECT_STREQ(wide.subCategories, "Fx|Distortion");
    EXPECT_EQ(wide.classFlags, 2u);

    EXPECT_EQ(factory->getClassInfo(1, &first), kInvalidArgument);
    EXPECT_EQ(factory->getClassInfo2(-1, &second), kInvalidArgument);
    EXPECT_EQ(factory->getClassInfoUnicode(0, nullptr), kInvalidArgument);
    factory->release();
}

TEST(Factory, WideOnlyClassHasNo8BitRecord) {
    auto* factory = new CPluginFactory(PFactoryInfo{});
    PClassInfoW wide{};
    FUID(9, 9, 9, 9).toTUID(wide.cid);
    toString128("Wide", wide.name);
    factory->registerClass(&wide, createEffect, &created);
    PClassInfo2 narrow;
    std::memset(&narrow, 0x55, sizeof(narrow));
    EXPECT_EQ(factory->getClassInfo2(0, &narrow), kResultFalse);
    EXPECT_EQ(narrow.name[0], 0);
    EXPECT_EQ(narrow.cardinality, 0);
    factory->release();
}

TEST(Factory, CreatesInstancesTheCallerOwnsAlone) {
    auto* factory = new CPluginFactory(PFactoryInfo{});
    PClassInfo2 info = classInfo(FUID(1, 2, 3, 4), "Effect");
    factory->registerClass(&info, createEffect, &created);
    created = 0;

    void* obj = nullptr;
    EXPECT_EQ(factory->createInstance(FUID(1, 2, 3, 4), IAudioProcessor::iid, &obj), kResultOk);
    ASSERT_NE(obj, nullptr);
    auto* processor = static_cast<IAudioProcessor*>(obj);
    EXPECT_EQ(static_cast<Effect*>(processor)->getRefCount(), 1);
    EXPECT_EQ(processor->release(), 0u);
    EXPECT_EQ(liveEffects, 0);

    // A refused interface destroys the new object.
    obj = &obj;
    EXPECT_EQ(factory->createInstance(FUID(1, 2, 3, 4), IEditorView::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
    EXPECT_EQ(liveEffects, 0);
    EXPECT_EQ(created, 2);

    obj = &obj;
    EXPECT_EQ(factory->createInstance(FUID(4, 3, 2, 1), IAudioProcessor::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
    EXPECT_EQ(created, 2);
    factory->release();
}

TEST(Factory, AnswersItsInterfacesAndClearsTheModuleSlotWhenDestroyed) {
    auto* factory = new CPluginFactory(PFactoryInfo{});
    gPluginFactory = factory;
    EXPECT_EQ(query<IClassFactory>(factory), static_cast<IClassFactory*>(factory));
    EXPECT_EQ(query<IClassFactory2>(factory), static_cast<IClassFactory2*>(factory));
    EXPECT_EQ(query<IClassFactory3>(factory), static_cast<IClassFactory3*>(factory));
    EXPECT_EQ(query<FUnknown>(factory), static_cast<FUnknown*>(factory));
    EXPECT_EQ(query<IComponent>(factory, kNoInterface), nullptr);
    EXPECT_EQ(factory->addRef(), 6u);
    for (int i = 0; i < 5; ++i) factory->release();
    EXPECT_EQ(gPluginFactory, factory);
    EXPECT_EQ(factory->release(), 0u);
    EXPECT_EQ(gPluginFactory, nullptr);
}

namespace {

class Frame : public IEditorFrame {
public:
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return ++refs; }
    uint32 PLUGIN_API release() override { return --refs; }
    tresult PLUGIN_API resizeView(IEditorView*, ViewRect*) override { return kResultOk; }

    uint32 refs = 1;
};

class HookedView : public CPluginView {
public:
    using CPluginView::CPluginView;
    void attachedToParent() override { ++hooks; }
    void removedFromParent() override { ++hooks; }
    int hooks = 0;
};

}  // namespace

TEST(View, KeepsRectangleParentAndFrame) {
    ViewRect initial{0, 0, 410, 460};
    auto* view = new HookedView(&initial);
    ViewRect size{};
    EXPECT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 410);
    EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kNotImplemented);

    int parent = 0;
    EXPECT_EQ(view->attached(&parent, kPlatformTypeHWND), kResultOk);
    EXPECT_TRUE(view->isAttached());
    EXPECT_EQ(view->getSystemWindow(), &parent);
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_FALSE(view->isAttached());
    EXPECT_EQ(view->hooks, 2);

    ViewRect resized{0, 0, 100, 50};
    EXPECT_EQ(view->onSize(&resized), kResultOk);
    EXPECT_EQ(view->onSize(nullptr), kResultOk);
    EXPECT_EQ(view->getRect().getWidth(), 100);

    Frame frame, other;
    view->setFrame(&frame);
    EXPECT_EQ(frame.refs, 2u);
    view->setFrame(&other);
    EXPECT_EQ(frame.refs, 1u);
    EXPECT_EQ(view->getFrame(), &other);

    EXPECT_EQ(query<IEditorView>(view->unknownCast()), static_cast<IEditorView*>(view));
    view->release();
    EXPECT_TRUE(view->isTypeOf("FObject"));
    EXPECT_STREQ(view->isA(), "CPluginView");
    view->release();
    EXPECT_EQ(other.refs, 1u);
}

TEST(Module, KnowsTheModuleHoldingTheCode) {
#ifdef _WIN32
    EXPECT_EQ(getModuleHandle(), static_cast<void*>(GetModuleHandleW(nullptr)));  // linked into this program
#else
    EXPECT_EQ(getModuleHandle(), nullptr);
#endif
}
