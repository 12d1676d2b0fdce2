#pragma once
// The base of a plug-in class built on the AAX binding: a product compiled against this
// library's include path derives from IFxAAX.
#include "framework/aax/ifxaax.h"

using PluginBinding = IFxAAX;
