if(HYG_BUILD_GUI)
    # The drawing interface the chart paints through; implementations are added to this target.
    add_library(hyg_canvas INTERFACE)
    target_include_directories(hyg_canvas INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hyg_canvas INTERFACE Qt6::Gui)
endif()
