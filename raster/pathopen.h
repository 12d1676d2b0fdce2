#pragma once
// Opens a file named by a UTF-8 path: on Windows through its UTF-16 form first, its 8-bit form second.
#include <cstdio>

FILE* PIX_OpenFileUtf8(const char* path, const char* mode);
