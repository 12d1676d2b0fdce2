// IGraphicsWin's dialogs and services where none can be shown: every dialog answers "nothing
// chosen" and every folder is unknown ("").
#include "framework/igraphicswin.h"

int IGraphicsWin::ShowMessageBox(const char*, const char*, int) { return 0; }
void IGraphicsWin::GetHostFolder(GrowString* path) { path->Set(0, "", 0); }
void IGraphicsWin::GetPluginFolder(GrowString* path) { path->Set(0, "", 0); }
void IGraphicsWin::GetDesktopFolder(GrowString* path) { path->Set(0, "", 0); }
void IGraphicsWin::GetAppDataFolder(GrowString* path, bool) { path->Set(0, "", 0); }
void IGraphicsWin::AskForFile(GrowString* fileName, int, GrowString*, const char*) { fileName->Set(0, "", 0); }
bool IGraphicsWin::AskForColour(IArgb*, const char*) { return false; }
bool IGraphicsWin::OpenUrl(const char*, const char*, const char*, const char*) { return false; }
