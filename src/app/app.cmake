if(HYG_BUILD_GUI)
    # The main window and everything the program runs but its entry point, so that the tests link
    # exactly what ships.
    add_library(hyg_app STATIC
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaApplication.h
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaApplication.cpp
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaColorDialog.h
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaColorDialog.cpp
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaDefaults.h
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaDefaults.cpp
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaFileDialogs.h
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaFileDialogs.cpp
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaIcons.h
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaIcons.cpp
        ${CMAKE_CURRENT_LIST_DIR}/THygrovaDlg.h
        ${CMAKE_CURRENT_LIST_DIR}/THygrovaDlg.cpp
        ${CMAKE_CURRENT_LIST_DIR}/THygrovaDlgLayout.cpp
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaSettings.cpp
        ${CMAKE_CURRENT_LIST_DIR}/HygrovaDataFile.cpp)
    hyg_target_defaults(hyg_app)
    set_target_properties(hyg_app PROPERTIES AUTOMOC ON)
    target_include_directories(hyg_app PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hyg_app PUBLIC hyg_app_services hyg_chart hyg_preview hyg_units_widgets hyg_services
                                         hyg_psychro hyg_appinfo Qt6::Widgets)

    add_executable(Hygrova ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
    set_target_properties(Hygrova PROPERTIES OUTPUT_NAME Hygrova)
    hyg_target_defaults(Hygrova)
    target_link_libraries(Hygrova PRIVATE hyg_app)
    hyg_install_layout(Hygrova)
endif()
