# SL_SANITIZE applies to every target of the build, so third-party code called
# back from ours (Qt, GoogleTest) sees the same runtime.
if(SL_SANITIZE)
    string(REPLACE ";" "," _sl_sanitizers "${SL_SANITIZE}")
    add_compile_options(-fsanitize=${_sl_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${_sl_sanitizers})
endif()
