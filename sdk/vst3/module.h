// The loaded module's own handle, for code that reads the module's resources or path.
#pragma once

namespace Sdk {

// The HINSTANCE of the DLL (or program) holding this code on Windows; null elsewhere.
void* getModuleHandle();

}  // namespace Sdk
