# SL_SANITIZE applies to every target of the build, so third-party code called
# back from ours (Qt, GoogleTest) sees the same runtime.
if(SL_SANITIZE)
    # -O1 with line tables is what the sanitizers' reports need, and compiles
    # in about 40% less time than -O2 -g (the sanitizer stages of CI build the
    # suite twice more).
    set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
    string(REPLACE ";" "," _sl_sanitizers "${SL_SANITIZE}")
    add_compile_options(-fsanitize=${_sl_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${_sl_sanitizers})
endif()

# SL_FUZZ builds the libFuzzer targets under fuzz/ (clang only). Every target
# gets the fuzzer's coverage instrumentation, so the layers the targets call
# are explored as well; only the fuzz targets link the fuzzer's main.
option(SL_FUZZ "Build the libFuzzer targets (clang, with SL_SANITIZE='address;undefined')" OFF)
if(SL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "SL_FUZZ needs clang (configure with CXX=clang++-14)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
