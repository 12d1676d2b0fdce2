#pragma once
// The binding class TavrelZel4 derives from: the deliverable being built chooses it.
#if defined(TZ_BINDING_VST3)
#include "framework/vst3/ifxvst3.h"
using PluginBinding = IFxVST3;
#elif defined(TZ_BINDING_VST2)
#include "framework/vst2/ifxvst.h"
using PluginBinding = IFxVST;
#elif defined(TZ_BINDING_TEST)
#include "test_binding.h"
using PluginBinding = TestBinding;
#else
#error "define the binding of this deliverable (TZ_BINDING_VST3, TZ_BINDING_VST2 or TZ_BINDING_TEST)"
#endif
