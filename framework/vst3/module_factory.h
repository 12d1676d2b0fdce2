#pragma once
// The module's one class factory, shared by every caller of GetPluginFactory while any of them
// holds it, and built anew after the last release.
#include "sdk/vst3/pluginfactory.h"

// Hands the caller one reference to the live factory, or builds one with the single class (info
// and create function owned by the caller, living as long as the module). A factory whose last
// release is under way is never handed out. Null when no factory could be built.
// [any thread, takes the module's factory lock]
Sdk::IClassFactory* AcquireModuleFactory(const Sdk::PFactoryInfo& factoryInfo, const Sdk::PClassInfo2& classInfo,
                                         Sdk::FactoryCreateFunc create);
