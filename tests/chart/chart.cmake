if(HYG_BUILD_GUI)
    hyg_add_gtest(chart_tests
        SOURCES
            ${CMAKE_CURRENT_LIST_DIR}/ChartTestSupport.h
            ${CMAKE_CURRENT_LIST_DIR}/ChartRangeTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ChartMappingTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ChartDrawTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ChartTitleTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ChartItemsTest.cpp
        LIBS hyg_chart hyg_canvas hyg_psychro hyg_aerix hyg_appinfo Qt6::Gui)
endif()
