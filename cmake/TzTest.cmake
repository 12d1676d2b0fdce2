# GoogleTest for every target, built from Debian's sources with our own flags.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Each test program's XML report lands here; scripts/test counts the cases from them. Under Wine
# a Unix path needs the drive that maps the Unix root.
set(TZ_TEST_RESULTS ${CMAKE_BINARY_DIR}/test-results)
if(WIN32)
    set(TZ_TEST_RESULTS_ARG Z:${TZ_TEST_RESULTS})
else()
    set(TZ_TEST_RESULTS_ARG ${TZ_TEST_RESULTS})
endif()

# tz_add_test(name SOURCES ... LIBS ...): one GoogleTest program, registered once with CTest
# (a Wine start per case would be slow), run under Wine on the Windows targets.
function(tz_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${TZ_TEST_RESULTS_ARG}/${name}.xml
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    tz_label_wine(${name})
endfunction()

# Tests that start a Windows program carry the label "wine", so a machine that cannot execute
# 32-bit code can still run the rest of the win32 target's tests (ctest -LE wine).
function(tz_label_wine name)
    if(WIN32)
        set_tests_properties(${name} PROPERTIES LABELS wine)
    endif()
endfunction()
