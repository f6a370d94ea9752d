#pragma once

#include <span>
#include <string_view>

// The demo content compiled into the program (generated at build time from
// tools/x4sim/demo).
struct EmbeddedFile {
    std::string_view path;
    std::string_view bytes;
};

std::span<const EmbeddedFile> DemoFiles();
