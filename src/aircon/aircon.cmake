# The air-conditioning item graph and the state pair tracker: no widgets, no Qt.
add_library(hyg_aircon STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TComponent.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FloatCheck.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StateSolve.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TxAirconItems.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TxProcess.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TxByPass.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TxMixBranch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TxCombin.cpp)
hyg_target_defaults(hyg_aircon)
target_include_directories(hyg_aircon PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(hyg_aircon PUBLIC hyg_psychro hyg_aerix)
