#include "sdk/vst3/pluginfactory.h"

#include "sdk/vst3/strings.h"

#include <cstring>

namespace Sdk {

IClassFactory* gPluginFactory = nullptr;
std::mutex gPluginFactoryLock;

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : factoryInfo(info) {}

CPluginFactory::~CPluginFactory() {
    std::lock_guard<std::mutex> guard(gPluginFactoryLock);
    if (gPluginFactory == this) gPluginFactory = nullptr;
}

bool CPluginFactory::registerClass(const PClassInfo* info, FactoryCreateFunc createFunc, void* context) {
    if (!info) return false;
    PClassInfo2 info2{};
    std::memcpy(info2.cid, info->cid, sizeof(TUID));
    info2.cardinality = info->cardinality;
    std::memcpy(info2.category, info->category, sizeof(info2.category));
    std::memcpy(info2.name, info->name, sizeof(info2.name));
    return registerClass(&info2, createFunc, context);
}

bool CPluginFactory::registerClass(const PClassInfo2* info, FactoryCreateFunc createFunc, void* context) {
    if (!info || !createFunc) return false;
    ClassEntry entry{*info, PClassInfoW{}, false, createFunc, context};
    PClassInfoW& w = entry.info16;
    std::memcpy(w.cid, info->cid, sizeof(TUID));
    w.cardinality = info->cardinality;
    std::memcpy(w.category, info->category, sizeof(w.category));
    utf8ToUtf16(info->name, w.name, PClassInfo::kNameSize);
    w.classFlags = info->classFlags;
    std::memcpy(w.subCategories, info->subCategories, sizeof(w.subCategories));
    utf8ToUtf16(info->vendor, w.vendor, PClassInfo2::kVendorSize);
    utf8ToUtf16(info->version, w.version, PClassInfo2::kVersionSize);
    utf8ToUtf16(info->sdkVersion, w.sdkVersion, PClassInfo2::kVersionSize);
    classes.push_back(entry);
    return true;
}

bool CPluginFactory::registerClass(const PClassInfoW* info, FactoryCreateFunc createFunc, void* context) {
    if (!info || !createFunc) return false;
    classes.push_back(ClassEntry{PClassInfo2{}, *info, true, createFunc, context});
    return true;
}

bool CPluginFactory::isClassRegistered(const FUID& cid) const {
    for (const ClassEntry& entry : classes)
        if (iidEqual(entry.info16.cid, cid)) return true;
    return false;
}

const CPluginFactory::ClassEntry* CPluginFactory::findEntry(int32 index) const {
    if (index < 0 || index >= static_cast<int32>(classes.size())) return nullptr;
    return &classes[index];
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID queryIid, void** obj) {
    if (badQuery(queryIid, obj)) return kInvalidArgument;
    if (tryInterface<IClassFactory>(queryIid, obj, this)) return kResultOk;
    if (tryInterface<IClassFactory2>(queryIid, obj, this)) return kResultOk;
    if (tryInterface<IClassFactory3>(queryIid, obj, this)) return kResultOk;
    if (tryInterface<FUnknown>(queryIid, obj, this)) return kResultOk;
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef() { return static_cast<uint32>(++refCount); }

bool CPluginFactory::addRefIfAlive() {
    int32 count = refCount.load();
    while (count > 0)
        if (refCount.compare_exchange_weak(count, count + 1)) return true;
    return false;
}

uint32 PLUGIN_API CPluginFactory::release() {
    int32 count = --refCount;
    if (count == 0) delete this;
    return static_cast<uint32>(count);
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info) {
    if (info) *info = factoryInfo;
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses() { return static_cast<int32>(classes.size()); }

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info) {
    const ClassEntry* entry = findEntry(index);
    if (!entry || !info) return kInvalidArgument;
    if (entry->wideOnly) {
        *info = PClassInfo{};
        return kResultFalse;
    }
    std::memcpy(info->cid, entry->info8.cid, sizeof(TUID));
    info->cardinality = entry->info8.cardinality;
    std::memcpy(info->category, entry->info8.category, sizeof(info->category));
    std::memcpy(info->name, entry->info8.name, sizeof(info->name));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info) {
    const ClassEntry* entry = findEntry(index);
    if (!entry || !info) return kInvalidArgument;
    if (entry->wideOnly) {
        *info = PClassInfo2{};
        return kResultFalse;
    }
    *info = entry->info8;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
    const ClassEntry* entry = findEntry(index);
    if (!entry || !info) return kInvalidArgument;
    *info = entry->info16;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString queryIid, void** obj) {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !queryIid) return kNoInterface;
    for (const ClassEntry& entry : classes) {
        if (!iidEqual(entry.info16.cid, cid)) continue;
        FUnknown* instance = entry.createFunc(entry.context);
        if (!instance) return kNoInterface;
        tresult result = instance->queryInterface(queryIid, obj);
        instance->release();
        if (result != kResultOk) {
            *obj = nullptr;
            return kNoInterface;
        }
        return kResultOk;
    }
    return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown*) { return kNotImplemented; }

}  // namespace Sdk
