if(HYG_BUILD_GUI)
    # The psychrometric chart object; draws only through TCanvas (Qt Gui for the logo picture).
    add_library(hyg_chart STATIC
        ${CMAKE_CURRENT_LIST_DIR}/THygrova.h
        ${CMAKE_CURRENT_LIST_DIR}/THygrova.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ChartMath.h
        ${CMAKE_CURRENT_LIST_DIR}/ChartGuard.h
        ${CMAKE_CURRENT_LIST_DIR}/ChartLibrary.h
        ${CMAKE_CURRENT_LIST_DIR}/ChartLibrary.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ChartLines.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ChartScales.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ChartTitle.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ChartProtractor.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ChartItems.cpp)
    hyg_target_defaults(hyg_chart)
    target_include_directories(hyg_chart PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hyg_chart PUBLIC hyg_canvas hyg_psychro hyg_aerix hyg_units_core hyg_appinfo Qt6::Gui)
endif()
