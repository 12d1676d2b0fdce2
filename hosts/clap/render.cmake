# The render program behind scripts/render --format clap, on the raw-slot host.
add_executable(tz_clap_render render.cpp)
target_link_libraries(tz_clap_render PRIVATE tz_clap_host tz_module_loader)
target_include_directories(tz_clap_render PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/..)

# For scripts/render: line 1 the module, line 2 the host.
if(TARGET TavrelZel4_clap)
    add_dependencies(tz_clap_render TavrelZel4_clap)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/tz_clap_render.paths
         CONTENT "$<TARGET_FILE:TavrelZel4_clap>\n$<TARGET_FILE:tz_clap_render>\n")
endif()
