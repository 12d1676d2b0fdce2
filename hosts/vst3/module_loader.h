#pragma once
// The platform's side of loading a VST3 module: the shared library and its entry and exit
// functions. GetPluginFactory itself is looked up by the caller.
#include <string>

namespace tzhost {

// Loads the library; null, with *error set, when it cannot be loaded.
void* LoadModule(const std::string& path, std::string* error);
// An exported function or object; null when the module exports no such name.
void* ModuleSymbol(void* handle, const char* name);
// Runs the module's entry function; false, with *error set, when it is missing where the
// platform requires one or it refuses.
bool EnterModule(void* handle, const std::string& path, std::string* error);
// Runs the module's exit function (after a successful EnterModule).
void LeaveModule(void* handle);
void UnloadModule(void* handle);

// A file path as the host program opens it (on Windows under Wine, a Unix path through Z:).
std::string HostPath(const std::string& path);

#ifdef _WIN32
// A Unix path as Wine sees it (Z: maps the root); other paths are returned unchanged.
std::string WindowsPath(const std::string& path);
#endif

}  // namespace tzhost
