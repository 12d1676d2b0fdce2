#pragma once
// The binding a plug-in class derives from in the VST2 build.
#include "framework/vst2/ifxvst.h"
using PluginBinding = IFxVST;
