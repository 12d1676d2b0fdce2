# tz_linux_module(<target> <version script> <folder> [SUFFIX <suffix>]): a Linux plug-in module as
# hosts load it, PREFIX-less TavrelZel4.so (TavrelZel4<suffix> when given) in <folder>. Only the
# entries the version script names leave it (the module's own entry file is compiled with default
# visibility, everything else hidden); the C++
# runtime and the static libraries stay inside, hidden too; every symbol resolves at link time;
# the relocations are read-only after loading (full RELRO, bound at load) and none patches code.
# Unused sections are dropped, which also keeps runtime parts that want a newer C library out.
function(tz_linux_module target map folder)
    cmake_parse_arguments(M "" "SUFFIX" "" ${ARGN})
    if(NOT M_SUFFIX)
        set(M_SUFFIX .so)
    endif()
    target_link_options(${target} PRIVATE
        -static-libstdc++ -static-libgcc
        -Wl,--version-script=${map} -Wl,--exclude-libs,ALL
        -Wl,--no-undefined -Wl,--as-needed -Wl,--gc-sections
        -Wl,-z,relro,-z,now -Wl,-z,noexecstack -Wl,-z,text)
    set_target_properties(${target} PROPERTIES
        PREFIX ""
        OUTPUT_NAME TavrelZel4
        SUFFIX ${M_SUFFIX}
        CXX_VISIBILITY_PRESET default
        VISIBILITY_INLINES_HIDDEN OFF
        SKIP_BUILD_RPATH ON
        LINK_DEPENDS ${map}
        LIBRARY_OUTPUT_DIRECTORY ${folder})
endfunction()
