if(HYG_BUILD_GUI)
    hyg_add_bench(chart_bench
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/ChartBench.cpp
        LIBS hyg_chart hyg_canvas hyg_psychro hyg_aerix hyg_appinfo Qt6::Gui)
endif()
