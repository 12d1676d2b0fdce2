# The recording binding for building the plug-in class in tests, and the class built on it
# (tz_plugin_test): the reference of the framework's tests and of the hosts' end-to-end tests.
include_guard(GLOBAL)
add_library(ifx_test_binding INTERFACE)
target_include_directories(ifx_test_binding INTERFACE ${CMAKE_CURRENT_LIST_DIR}/binding ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ifx_test_binding INTERFACE ifx_gui)
tz_plugin_library(tz_plugin_test ifx_test_binding)
