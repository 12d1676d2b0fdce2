# Shared part of the two mingw-w64 cross toolchains; TZ_TRIPLE and TZ_DEPS_NAME are set by the caller.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TZ_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TZ_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TZ_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TZ_TRIPLE} ${CMAKE_CURRENT_LIST_DIR}/../build/deps/${TZ_DEPS_NAME})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Everything but system DLLs is linked in, so binaries start under Wine and in any host.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
# -static does not help against an import library: FindZLIB would pick libz.dll.a, whose
# modules import zlib1.dll, which no Windows system has. Name the static archive (both
# variables, so a build folder configured before keeps no import library in its cache).
set(ZLIB_LIBRARY /usr/${TZ_TRIPLE}/lib/libz.a)
set(ZLIB_LIBRARY_RELEASE /usr/${TZ_TRIPLE}/lib/libz.a)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
