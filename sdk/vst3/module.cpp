#include "sdk/vst3/module.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace Sdk {

void* getModuleHandle() {
#ifdef _WIN32
    // Found from an address inside this module, so it needs no DllMain and is right in a
    // plug-in DLL and in a test program alike.
    static HMODULE handle = [] {
        HMODULE found = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&getModuleHandle), &found);
        return found;
    }();
    return handle;
#else
    return nullptr;
#endif
}

}  // namespace Sdk
