if(HYG_BUILD_GUI)
    # Start-up (number format, folders, company record) and the Help menu's commands.
    add_library(hyg_app_services STATIC
        ${CMAKE_CURRENT_LIST_DIR}/HelpCommands.cpp
        ${CMAKE_CURRENT_LIST_DIR}/Startup.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TxQuickAbout.cpp)
    hyg_target_defaults(hyg_app_services)
    set_target_properties(hyg_app_services PROPERTIES AUTOMOC ON)
    target_include_directories(hyg_app_services PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hyg_app_services PUBLIC hyg_services hyg_appinfo Qt6::Widgets)
    # The program-files folder of this system: where the install puts Korvant/<program>/.
    target_compile_definitions(hyg_app_services PRIVATE HYG_PROGRAM_FILES_DIR="${CMAKE_INSTALL_PREFIX}")
endif()

# hyg_install_layout(target) (the Korvant folder layout for a program, in the build tree and when
# installed) is defined in src/platform/services.cmake, which is read before this folder.
