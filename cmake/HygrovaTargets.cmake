# Per-target settings shared by every library, program, test and benchmark.

option(HYG_WERROR "Treat compiler warnings as errors" ON)
option(HYG_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)

function(hyg_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(HYG_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(HYG_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
        target_link_options(${target} PUBLIC -fsanitize=address,undefined)
    endif()
endfunction()

# hyg_add_gtest(name SOURCES ... LIBS ... [ENV k=v ...])
function(hyg_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    hyg_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE HYG_TEST_DATA="${HYG_TEST_DATA}"
                                               HYG_SOURCE_DATA="${PROJECT_SOURCE_DIR}/data")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENV}")
endfunction()

# hyg_add_qtest(name SOURCES ... LIBS ...): Qt Test programs, run headless.
function(hyg_add_qtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    hyg_target_defaults(${name})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    target_compile_definitions(${name} PRIVATE HYG_TEST_DATA="${HYG_TEST_DATA}"
                                               HYG_SOURCE_DATA="${PROJECT_SOURCE_DIR}/data")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENV}")
endfunction()

# hyg_add_bench(name SOURCES ... LIBS ...): a Google Benchmark program plus a short smoke run in CTest
# so that benchmarks keep building and running; the figures come from running the program by hand.
function(hyg_add_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    hyg_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
    target_compile_definitions(${name} PRIVATE HYG_TEST_DATA="${HYG_TEST_DATA}"
                                               HYG_SOURCE_DATA="${PROJECT_SOURCE_DIR}/data")
    add_test(NAME ${name}_smoke COMMAND ${name} --benchmark_min_time=0.001)
    set_tests_properties(${name}_smoke PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS bench)
endfunction()
