# Developer tool: prints the start-up values (title, folders, company record) from the maker's layout.
add_executable(hyg_appinfo_tool ${CMAKE_CURRENT_LIST_DIR}/appinfo.cpp)
set_target_properties(hyg_appinfo_tool PROPERTIES OUTPUT_NAME appinfo)
hyg_target_defaults(hyg_appinfo_tool)
target_link_libraries(hyg_appinfo_tool PRIVATE hyg_app_services)
hyg_install_layout(hyg_appinfo_tool NO_INSTALL)

if(HYG_BUILD_TESTS)
    # Under a German locale and with HOME in the build tree (start-up creates the user-data folder).
    set(_hyg_appinfo_home "${CMAKE_CURRENT_BINARY_DIR}/appinfo-home")
    add_test(NAME hyg_appinfo_run
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:hyg_appinfo_tool>
                -P ${CMAKE_CURRENT_LIST_DIR}/appinfo.ctest)
    set_tests_properties(hyg_appinfo_run PROPERTIES ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;LC_ALL=de_DE.UTF-8;HOME=${_hyg_appinfo_home};XDG_CONFIG_HOME=${_hyg_appinfo_home}/.config")
endif()
