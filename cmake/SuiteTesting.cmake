include(GoogleTest)

# sl_add_gtest(<name> SOURCES ... LIBS ... [LABEL <label>])
# A GoogleTest program, one CTest entry per test case, all with one label
# (the layer), so that a run can pick layers with ctest -L.
function(sl_add_gtest name)
    cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    sl_set_warnings(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABEL}"
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# sl_add_qtest(<name> SOURCES ... LIBS ... [LABEL <label>])
# A Qt Test program run offscreen as one CTest entry.
function(sl_add_qtest name)
    cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    sl_set_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABEL}" TIMEOUT 300
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
