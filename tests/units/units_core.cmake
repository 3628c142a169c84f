hyg_add_gtest(units_core_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/TxConvTest.cpp LIBS hyg_units_core)
