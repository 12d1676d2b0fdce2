#pragma once
// The binding a plug-in class derives from in the LV2 build.
#include "framework/lv2/ifxlv2.h"
using PluginBinding = IFxLV2;
