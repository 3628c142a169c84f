# Moist-air property library: real-gas formulation, state solvers and the Aerix43 entry points. No Qt.
add_library(hyg_aerix STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Aerix43.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AerixCore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RealGasMoistAir.cpp)
target_include_directories(hyg_aerix PUBLIC ${PROJECT_SOURCE_DIR}/src)
hyg_target_defaults(hyg_aerix)
# The library never reads errno: let sqrt and friends compile to plain instructions.
target_compile_options(hyg_aerix PRIVATE -fno-math-errno)
