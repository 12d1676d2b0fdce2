# Fails unless every DLL that MODULES (separated by commas) import is one every Windows
# installation has. Hosts load a plug-in by its full path and Windows does not search the
# plug-in's own folder, so any other DLL makes the load fail with error 126.
cmake_minimum_required(VERSION 3.25)
set(system_dlls
    advapi32 bcrypt comctl32 comdlg32 crypt32 d2d1 d3d11 dwrite dxgi gdi32 gdiplus imm32 kernel32 msimg32 msvcrt
    ntdll ole32 oleaut32 opengl32 rpcrt4 secur32 setupapi shell32 shlwapi user32 userenv uxtheme version winmm
    wininet winspool.drv ws2_32)
string(REPLACE "," ";" MODULES "${MODULES}")
set(failures "")
foreach(module IN LISTS MODULES)
    execute_process(COMMAND ${OBJDUMP} -p ${module} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "objdump failed on ${module}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    if(NOT imports)
        string(APPEND failures "${module} imports no DLL at all: not a module objdump can read?\n")
    endif()
    foreach(line IN LISTS imports)
        string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
        string(TOLOWER "${dll}" name)
        string(REGEX REPLACE "\\.dll$" "" name "${name}")
        if(NOT name IN_LIST system_dlls)
            string(APPEND failures "${module} imports ${dll}, which Windows does not have\n")
        endif()
    endforeach()
endforeach()
if(failures)
    message(FATAL_ERROR "${failures}")
endif()
