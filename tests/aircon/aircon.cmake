hyg_add_gtest(hyg_aircon_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/ComponentTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TxCombinTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/PsyPointTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ProcessTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ByPassTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MixBranchTest.cpp
    LIBS hyg_aircon)
