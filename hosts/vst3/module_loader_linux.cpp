// Linux: dlopen with every symbol bound at once, and the required ModuleEntry(handle) and
// ModuleExit().
#include <dlfcn.h>

#include "module_loader.h"

namespace tzhost {

std::string HostPath(const std::string& path) { return path; }

void* LoadModule(const std::string& path, std::string* error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) *error = "cannot load " + path + ": " + dlerror();
    return handle;
}

void* ModuleSymbol(void* handle, const char* name) { return dlsym(handle, name); }

bool EnterModule(void* handle, const std::string& path, std::string* error) {
    auto entry = reinterpret_cast<bool (*)(void*)>(ModuleSymbol(handle, "ModuleEntry"));
    for (const char* name : {"ModuleEntry", "ModuleExit"}) {
        if (!ModuleSymbol(handle, name)) {
            *error = path + " exports no " + name;
            return false;
        }
    }
    if (!entry(handle)) {
        *error = "ModuleEntry refused";
        return false;
    }
    return true;
}

void LeaveModule(void* handle) { reinterpret_cast<bool (*)()>(ModuleSymbol(handle, "ModuleExit"))(); }

void UnloadModule(void* handle) { dlclose(handle); }

}  // namespace tzhost
