#pragma once
// The binding a plug-in class derives from in the CLAP build.
#include "framework/clap/ifxclap.h"
using PluginBinding = IFxCLAP;
