if(HYG_BUILD_GUI)
    hyg_add_gtest(canvas_tests
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/QPainterCanvasTest.cpp
        LIBS hyg_canvas Qt6::Gui)
endif()
