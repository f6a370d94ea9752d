#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one stops the run the way a
// sanitizer finding does, so libFuzzer keeps the input that broke it.
inline void FuzzCheck(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "fuzz property broken: %s\n", property);
        std::abort();
    }
}
