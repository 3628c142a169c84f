# Speed of the moist-air property library (run build/bench/AerixBench; CTest only smoke-runs it).
hyg_add_bench(AerixBench SOURCES ${CMAKE_CURRENT_LIST_DIR}/AerixBench.cpp LIBS hyg_aerix)
