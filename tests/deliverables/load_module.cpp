// Loads a plug-in module as a host does, by its full path, and looks up its entry exports:
//   load_module MODULE EXPORT...
// Exit status 0 when all are found; otherwise a line names what failed and the Windows error.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: load_module MODULE EXPORT...\n");
        return 2;
    }
    HMODULE module = LoadLibraryA(argv[1]);
    if (!module) {
        std::fprintf(stderr, "%s: LoadLibrary failed with error %lu\n", argv[1], GetLastError());
        return 1;
    }
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        if (!GetProcAddress(module, argv[i])) {
            std::fprintf(stderr, "%s: no export %s (error %lu)\n", argv[1], argv[i], GetLastError());
            status = 1;
        }
    }
    FreeLibrary(module);
    return status;
}
