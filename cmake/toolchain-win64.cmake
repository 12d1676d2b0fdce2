set(TZ_TRIPLE x86_64-w64-mingw32)
set(TZ_DEPS_NAME win64)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
