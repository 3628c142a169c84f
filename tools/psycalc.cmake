# psycalc: command-line moist-air property calculator on the property library (no Qt).
add_executable(psycalc ${CMAKE_CURRENT_LIST_DIR}/psycalc.cpp)
hyg_target_defaults(psycalc)
target_link_libraries(psycalc PRIVATE hyg_aerix)

if(HYG_BUILD_TESTS)
    add_test(NAME psycalc_state COMMAND psycalc 101.325 25 17 0)
    set_tests_properties(psycalc_state PROPERTIES
        PASS_REGULAR_EXPRESSION "Wet bulb +17 °C\nEnthalpy +47\\.69[0-9]* kJ/kg dry air\n.*Status +0 \\(valid state\\)")
    add_test(NAME psycalc_rejected_state COMMAND psycalc 101.325 20 25 0)
    set_tests_properties(psycalc_rejected_state PROPERTIES WILL_FAIL TRUE)
    add_test(NAME psycalc_bad_arguments COMMAND psycalc 101,325 25 17 0)
    set_tests_properties(psycalc_bad_arguments PROPERTIES WILL_FAIL TRUE)
endif()
