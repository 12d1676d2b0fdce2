#pragma once
// The LV2 UI of a plug-in built on IFxLV2: the plug-in's editor embedded in the host's X11 window.
// Each UI makes a plug-in instance of its own (no audio runs on it) to build the editor, shows
// the host's control values on it and sends the user's edits back as control port values.
//
// Threads: every UI call (instantiate, port_event, idle, cleanup) runs on the host's UI thread,
// which also drives the editor's loop through the idle interface: the UI starts no thread.
#include <lv2/ui/ui.h>

class IFxLV2;

// Makes the plug-in instance whose editor a UI shows; null when none could be made.
using IFxLV2Factory = IFxLV2* (*)();

// The module's one UI descriptor: its URI is uri, its instances' plug-ins come from factory.
// [main thread]
const LV2UI_Descriptor* IFxLV2UIDescriptor(const char* uri, IFxLV2Factory factory);
