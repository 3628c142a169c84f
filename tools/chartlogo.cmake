# Generator of data/ChartLogo.gif (developer tool).
find_package(GIF)
if(GIF_FOUND)
    add_executable(hyg_chartlogo ${CMAKE_CURRENT_LIST_DIR}/chartlogo.cpp)
    hyg_target_defaults(hyg_chartlogo)
    target_link_libraries(hyg_chartlogo PRIVATE Qt6::Gui GIF::GIF)
endif()
