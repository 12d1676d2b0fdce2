#pragma once
// The base of a plug-in class built on the VST3 binding: a product compiled against this
// library's include path derives from IFxVST3.
#include "framework/vst3/ifxvst3.h"

using PluginBinding = IFxVST3;
