#include "raster/pathopen.h"

#ifdef _WIN32
#include <windows.h>

#include <cwchar>

FILE* PIX_OpenFileUtf8(const char* path, const char* mode) {
    wchar_t wide[2048];
    wchar_t wideMode[8] = {};
    for (int i = 0; i < 7 && mode[i]; ++i) wideMode[i] = static_cast<wchar_t>(mode[i]);
    FILE* file = nullptr;
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, 2048) > 0) file = _wfopen(wide, wideMode);
    return file ? file : std::fopen(path, mode);
}
#else
FILE* PIX_OpenFileUtf8(const char* path, const char* mode) { return std::fopen(path, mode); }
#endif
