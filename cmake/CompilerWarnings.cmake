# Warnings for the project's own targets.
function(sl_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                             -Wnon-virtual-dtor -Wold-style-cast
                                             -Wcast-align -Woverloaded-virtual)
endfunction()
