#include "framework/vst3/module_factory.h"

#include <new>

using namespace Sdk;

IClassFactory* AcquireModuleFactory(const PFactoryInfo& factoryInfo, const PClassInfo2& classInfo,
                                    FactoryCreateFunc create) {
    std::lock_guard<std::mutex> guard(gPluginFactoryLock);
    auto* live = static_cast<CPluginFactory*>(gPluginFactory);
    if (live && live->addRefIfAlive()) return live;
    auto* factory = new (std::nothrow) CPluginFactory(factoryInfo);
    if (!factory) return nullptr;
    factory->registerClass(&classInfo, create, nullptr);
    gPluginFactory = factory;
    return factory;
}
