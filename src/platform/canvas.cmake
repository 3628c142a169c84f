if(HYG_BUILD_GUI)
    # The drawing interface the chart paints through, with its QPainter and recording implementations.
    add_library(hyg_canvas STATIC
        ${CMAKE_CURRENT_LIST_DIR}/TCanvas.h
        ${CMAKE_CURRENT_LIST_DIR}/QPainterCanvas.h
        ${CMAKE_CURRENT_LIST_DIR}/QPainterCanvas.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RecordingCanvas.h
        ${CMAKE_CURRENT_LIST_DIR}/RecordingCanvas.cpp)
    hyg_target_defaults(hyg_canvas)
    target_include_directories(hyg_canvas PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hyg_canvas PUBLIC Qt6::Gui)
endif()
