// Reference counting and interface queries of the helper objects, the class factory, the edit
// controller's host handler and the plug-in view.
#include "sdk/vst3/hostapplication.h"
#include "sdk/vst3/module.h"
#include "sdk/vst3/pluginfactory.h"
#include "sdk/vst3/pluginview.h"
#include "sdk/vst3/singlecomponenteffect.h"
#include "sdk/vst3/strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace Sdk;
using namespace Sdk::Vst;

namespace {

// A host object with a real count; answers IComponentHandler2 only when asked to.
class Handler : public IComponentHandler, public IComponentHandler2 {
public:
    explicit Handler(bool offer2) : offerHandler2(offer2) { app.owner = this; }

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        if (tryInterface<FUnknown>(iid, obj, static_cast<IComponentHandler*>(this))) return kResultOk;
        if (tryInterface<IComponentHandler>(iid, obj, this)) return kResultOk;
        if (offerHandler2 && tryInterface<IComponentHandler2>(iid, obj, this)) return kResultOk;
        if (tryInterface<IHostApplication>(iid, obj, &app)) return kResultOk;
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

    // The application interface of the same host object, sharing its count.
    struct App : IHostApplication {
        Handler* owner = nullptr;
        tresult PLUGIN_API queryInterface(const TUID queryIid, void** obj) override {
            return owner->queryInterface(queryIid, obj);
        }
        uint32 PLUGIN_API addRef() override { return owner->addRef(); }
        uint32 PLUGIN_API release() override { return owner->release(); }
        tresult PLUGIN_API getName(String128 name) override {
            toString128("Test Host", name);
            return kResultOk;
        }
        tresult PLUGIN_API createInstance(TUID, TUID, void**) override { return kNotImplemented; }
    } app;

    std::vector<std::pair<std::string, double>> calls;
    uint32 refs = 1;

private:
    tresult record(const char* what, uint32, double value) {
        calls.push_back({what, value});
        return kResultOk;
    }
    bool offerHandler2;
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

FUnknown* createEffect(void*) { return (new Effect)->unknownCast(); }

}  // namespace

TEST(Effect, SharesOneCountAcrossInterfacesAndDeletesOnLastRelease) {
    auto* effect = new Effect;
    FUnknown* unknown = effect->unknownCast();
    IComponent* component = query<IComponent>(unknown);
    IAudioProcessor* processor = query<IAudioProcessor>(component);
    IEditController* controller = query<IEditController>(processor);
    IEditController2* controller2 = query<IEditController2>(controller);
    EXPECT_EQ(effect->getRefCount(), 5);
    EXPECT_EQ(controller2, static_cast<IEditController2*>(effect));
    // FUnknown is the same sub-object whichever interface is asked.
    FUnknown* u = query<FUnknown>(controller2);
    EXPECT_EQ(u, unknown);
    // The connection point is refused, the out pointer cleared as for any refusal.
    EXPECT_EQ(query<IConnectionPoint>(unknown, kNoInterface), nullptr);
    EXPECT_EQ(query<IHostApplication>(unknown, kNoInterface), nullptr);

    for (FUnknown* itf : std::initializer_list<FUnknown*>{component, processor, controller, controller2, u})
        itf->release();
    EXPECT_EQ(liveEffects, 1);
    EXPECT_EQ(static_cast<FUnknown*>(controller)->release(), 0u);
    EXPECT_EQ(liveEffects, 0);
}

TEST(Effect, KeepsTheHostContextAndHandlerUntilTerminate) {
    Handler host(true);
    auto* effect = new Effect;
    EXPECT_EQ(effect->beginEdit(3), kResultFalse);  // no handler yet
    EXPECT_EQ(effect->initialize(&host.app), kResultOk);
    EXPECT_EQ(host.refs, 2u);
    EXPECT_EQ(effect->initialize(&host.app), kResultFalse);
    {
        FUnknownPtr<IHostApplication> app(effect->getHostContext());
        EXPECT_TRUE(app);
        EXPECT_EQ(host.refs, 3u);
    }
    EXPECT_EQ(effect->setComponentHandler(&host), kResultOk);
    EXPECT_EQ(effect->setComponentHandler(&host), kResultOk);
    EXPECT_EQ(host.refs, 4u);  // the context, the handler and its second interface
    effect->performEdit(3, 0.25);
    effect->setDirty(1);
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[0], (std::pair<std::string, double>{"perform", 0.25}));
    EXPECT_EQ(host.calls[1].first, "dirty");

    Handler plain(false);
    effect->setComponentHandler(&plain);
    EXPECT_EQ(host.refs, 2u);
    EXPECT_EQ(effect->finishGroupEdit(), kNotImplemented);
    EXPECT_EQ(effect->terminate(), kResultOk);
    EXPECT_EQ(host.refs, 1u);
    EXPECT_EQ(plain.refs, 1u);
    EXPECT_EQ(effect->getHostContext(), nullptr);
    // Released without terminate: the context is still given back.
    effect->initialize(&host.app);
    effect->release();
    EXPECT_EQ(host.refs, 1u);
}

TEST(Factory, DescribesItsClassesAndCreatesInstancesTheCallerOwnsAlone) {
    auto* factory = new CPluginFactory(PFactoryInfo{});
    gPluginFactory = factory;
    PClassInfo2 registered{};
    FUID(1, 2, 3, 4).toTUID(registered.cid);
    std::strcpy(registered.name, "Zed \xC3\xA9");
    std::strcpy(registered.sdkVersion, kVstVersionString);
    EXPECT_TRUE(factory->registerClass(&registered, createEffect));
    EXPECT_FALSE(factory->registerClass(&registered, nullptr));
    EXPECT_EQ(factory->countClasses(), 1);
    PClassInfoW wide{};
    EXPECT_EQ(factory->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(strcmp16(wide.name, u"Zed \u00E9"), 0);
    EXPECT_EQ(strcmp16(wide.sdkVersion, u"VST 3.5.2"), 0);
    EXPECT_EQ(factory->getClassInfo2(-1, &registered), kInvalidArgument);

    // A class registered in wide form only has no 8-bit record.
    PClassInfoW wideOnly{};
    FUID(9, 9, 9, 9).toTUID(wideOnly.cid);
    factory->registerClass(&wideOnly, createEffect);
    PClassInfo2 narrow;
    std::memset(&narrow, 0x55, sizeof(narrow));
    EXPECT_EQ(factory->getClassInfo2(1, &narrow), kResultFalse);
    EXPECT_EQ(narrow.name[0], 0);

    void* obj = nullptr;
    ASSERT_EQ(factory->createInstance(FUID(1, 2, 3, 4), IAudioProcessor::iid, &obj), kResultOk);
    EXPECT_EQ(static_cast<IAudioProcessor*>(obj)->release(), 0u);
    // A refused interface destroys the new object; an unknown class creates none.
    obj = &obj;
    EXPECT_EQ(factory->createInstance(FUID(1, 2, 3, 4), IEditorView::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
    EXPECT_EQ(factory->createInstance(FUID(4, 3, 2, 1), IAudioProcessor::iid, &obj), kNoInterface);
    EXPECT_EQ(liveEffects, 0);

    EXPECT_EQ(query<IClassFactory3>(factory), static_cast<IClassFactory3*>(factory));
    factory->release();
    EXPECT_EQ(gPluginFactory, factory);
    EXPECT_EQ(factory->release(), 0u);  // the module's slot is cleared with the factory
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
}  // namespace

TEST(View, KeepsRectangleParentAndFrame) {
    ViewRect initial{0, 0, 410, 460};
    auto* view = new CPluginView(&initial);
    ViewRect size{};
    EXPECT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 410);
    EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
    int parent = 0;
    EXPECT_EQ(view->attached(&parent, kPlatformTypeHWND), kResultOk);
    EXPECT_EQ(view->getSystemWindow(), &parent);
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_FALSE(view->isAttached());
    ViewRect resized{0, 0, 100, 50};
    EXPECT_EQ(view->onSize(&resized), kResultOk);
    EXPECT_EQ(view->onSize(nullptr), kResultOk);
    EXPECT_EQ(view->getRect().getWidth(), 100);

    Frame frame, other;
    view->setFrame(&frame);
    EXPECT_EQ(frame.refs, 2u);
    view->setFrame(&other);
    EXPECT_EQ(frame.refs, 1u);
    view->release();
    EXPECT_EQ(other.refs, 1u);
}
