# The psychro tests run under a German locale, where number text that leaked through the C
# library's locale would show a decimal comma, and once more under the plain C locale.
hyg_add_gtest(psychro_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/TestLocale.cpp
        ${CMAKE_CURRENT_LIST_DIR}/FormatTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/NumberTextTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MoistAirTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/AirStateTextTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ChartRangeTest.cpp
    LIBS hyg_psychro
    ENV LC_ALL=de_DE.UTF-8)
add_test(NAME psychro_tests_c_locale COMMAND psychro_tests)
set_tests_properties(psychro_tests_c_locale PROPERTIES ENVIRONMENT "LC_ALL=C")
