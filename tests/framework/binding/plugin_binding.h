#pragma once
// The base of a plug-in class built for the core's tests: the recording test binding.
#include "test_binding.h"

using PluginBinding = TestBinding;
