# Headless chart renderer for development: draws a page to a PNG.
add_executable(hyg_chartrender ${CMAKE_CURRENT_LIST_DIR}/chartrender.cpp)
hyg_target_defaults(hyg_chartrender)
target_link_libraries(hyg_chartrender PRIVATE hyg_chart hyg_canvas hyg_units_core Qt6::Gui)
target_compile_definitions(hyg_chartrender PRIVATE HYG_SOURCE_DATA="${PROJECT_SOURCE_DIR}/data")
