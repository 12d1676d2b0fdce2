#pragma once
// The product's plug-in class on the LV2 binding, as the plug-ins' module and the UI's make it.
#include "framework/lv2/ifxlv2.h"

// A new instance; null when none could be made.
// [any thread, takes the module's creation lock]
IFxLV2* CreateLV2Plugin();
