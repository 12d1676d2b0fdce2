// Windows: LoadLibrary, and the optional InitDll and ExitDll.
#include <windows.h>

#include <algorithm>

#include "module_loader.h"

namespace tzhost {

namespace {
using EntryProc = bool (*)();
EntryProc Entry(void* handle, const char* name) { return reinterpret_cast<EntryProc>(ModuleSymbol(handle, name)); }
}  // namespace

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

std::string HostPath(const std::string& path) { return WindowsPath(path); }

void* LoadModule(const std::string& path, std::string* error) {
    HMODULE h = LoadLibraryA(WindowsPath(path).c_str());
    if (!h) *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return h;
}

void* ModuleSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

bool EnterModule(void* handle, const std::string&, std::string* error) {
    if (EntryProc init = Entry(handle, "InitDll"); init && !init()) {
        *error = "InitDll refused";
        return false;
    }
    return true;
}

void LeaveModule(void* handle) {
    if (EntryProc exitDll = Entry(handle, "ExitDll")) exitDll();
}

void UnloadModule(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }

}  // namespace tzhost
