set(TZ_TRIPLE i686-w64-mingw32)
set(TZ_DEPS_NAME win32)
set(CMAKE_SYSTEM_PROCESSOR i686)
# SSE2 arithmetic, so results match the 64-bit builds to the last bit.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
