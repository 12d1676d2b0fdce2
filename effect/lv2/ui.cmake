# The LV2 UI: the UI side of the binding, and the module TavrelZel4.lv2/TavrelZel4_ui.so (the
# product's X11 editor with its images built in), exporting exactly lv2ui_descriptor.
add_library(ifx_lv2_ui STATIC ${PROJECT_SOURCE_DIR}/framework/lv2/ifxlv2_ui.cpp)
target_link_libraries(ifx_lv2_ui PUBLIC ifx_lv2)

file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/TavrelZel4_ui.map
     CONTENT "{\n    global:\n        lv2ui_descriptor;\n    local:\n        *;\n};\n")
add_library(TavrelZel4_lv2_ui MODULE ${CMAKE_CURRENT_LIST_DIR}/ui_entry.cpp)
tz_editor_images(TavrelZel4_lv2_ui)
target_link_libraries(TavrelZel4_lv2_ui PRIVATE ifx_lv2_ui tz_lv2_factory)
tz_linux_module(TavrelZel4_lv2_ui ${CMAKE_CURRENT_BINARY_DIR}/TavrelZel4_ui.map ${TZ_LV2_BUNDLE})
set_target_properties(TavrelZel4_lv2_ui PROPERTIES OUTPUT_NAME TavrelZel4_ui)
