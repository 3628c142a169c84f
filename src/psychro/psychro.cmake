# Own moist-air formulas, the air-state text entry and the locale-independent number text helpers.
add_library(hyg_psychro STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NumberText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MoistAir.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AirStateText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChartRange.cpp)
hyg_target_defaults(hyg_psychro)
target_include_directories(hyg_psychro PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(hyg_psychro PUBLIC hyg_aerix)
