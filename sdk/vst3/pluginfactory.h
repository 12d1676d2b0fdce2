// CPluginFactory: the module's class factory, answering IClassFactory, 2 and 3.
#pragma once

#include "sdk/vst3/pluginbase.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace Sdk {

// Creates one object of a registered class with one reference for the caller.
using FactoryCreateFunc = FUnknown* (*)(void* context);

class CPluginFactory : public IClassFactory3 {
public:
    explicit CPluginFactory(const PFactoryInfo& info);
    CPluginFactory(const CPluginFactory&) = delete;
    CPluginFactory& operator=(const CPluginFactory&) = delete;
    // Clears gPluginFactory when it points here, under gPluginFactoryLock.
    virtual ~CPluginFactory();

    // Each form is also offered in the others (8-bit texts read as UTF-8 for the wide record);
    // a class registered only in the wide form gives no 8-bit record. False for a null
    // record or function.
    bool registerClass(const PClassInfo* info, FactoryCreateFunc createFunc, void* context = nullptr);
    bool registerClass(const PClassInfo2* info, FactoryCreateFunc createFunc, void* context = nullptr);
    bool registerClass(const PClassInfoW* info, FactoryCreateFunc createFunc, void* context = nullptr);
    bool isClassRegistered(const FUID& cid) const;

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override;
    // The last release deletes the factory.
    uint32 PLUGIN_API release() override;
    // A reference unless the last release has already begun (the count reached 0).
    bool addRefIfAlive();

    // A null record is accepted and left untouched.
    tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override;
    int32 PLUGIN_API countClasses() override;
    tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) override;
    tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) override;
    tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) override;
    // Creates the class and queries the interface; the caller then holds the only reference.
    // An unknown class, a failed creation or an unanswered interface give kNoInterface and null.
    tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) override;
    tresult PLUGIN_API setHostContext(FUnknown* context) override;  // kNotImplemented

private:
    struct ClassEntry {
        PClassInfo2 info8;
        PClassInfoW info16;
        bool wideOnly;
        FactoryCreateFunc createFunc;
        void* context;
    };
    const ClassEntry* findEntry(int32 index) const;

    std::atomic<int32> refCount{1};
    PFactoryInfo factoryInfo;
    std::vector<ClassEntry> classes;
};

// The module's factory while it lives; the module entry keeps it here and hands it out. Read and
// written only under gPluginFactoryLock, which the factory's destructor also takes.
extern IClassFactory* gPluginFactory;
extern std::mutex gPluginFactoryLock;

}  // namespace Sdk
