# Tests of the moist-air property library (no Qt).
hyg_add_gtest(AerixTableTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/AerixTableTest.cpp LIBS hyg_aerix)
hyg_add_gtest(AerixRoundTripTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/AerixRoundTripTest.cpp LIBS hyg_aerix)
hyg_add_gtest(AerixStateTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/AerixStateTest.cpp LIBS hyg_aerix)
