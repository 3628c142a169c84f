# Units catalogue and number-entry text helpers: constant tables and pure functions, no Qt.
add_library(hyg_units_core STATIC ${CMAKE_CURRENT_LIST_DIR}/TxConv.cpp)
hyg_target_defaults(hyg_units_core)
target_include_directories(hyg_units_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(hyg_units_core PUBLIC hyg_psychro)
