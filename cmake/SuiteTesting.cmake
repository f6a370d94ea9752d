include(GoogleTest)

# sl_label_programs(<label> <target>...)
# The programs the tests of a label run, so that a build can make only what
# the labels it tests need: target tests_<label> (sl_add_label_targets).
function(sl_label_programs label)
    set_property(GLOBAL APPEND PROPERTY SL_TEST_LABELS ${label})
    set_property(GLOBAL APPEND PROPERTY SL_LABEL_PROGRAMS_${label} ${ARGN})
endfunction()

# Makes the tests_<label> targets, and tests_all for every label: what the
# tests run and nothing else (no benchmark, no screenshot program). Called
# once every folder is in.
function(sl_add_label_targets)
    get_property(labels GLOBAL PROPERTY SL_TEST_LABELS)
    list(REMOVE_DUPLICATES labels)
    add_custom_target(tests_all)
    foreach(label IN LISTS labels)
        get_property(programs GLOBAL PROPERTY SL_LABEL_PROGRAMS_${label})
        add_custom_target(tests_${label})
        add_dependencies(tests_${label} ${programs})
        add_dependencies(tests_all tests_${label})
    endforeach()
endfunction()

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
    sl_label_programs("${ARG_LABEL}" ${name})
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
    sl_label_programs("${ARG_LABEL}" ${name})
endfunction()
