#pragma once

#include <utility>

#include <string_view>
#include <vector>

namespace stationlinkcli {

// The shape of one command line: the command word, how many plain
// arguments follow it, which options (each with a value) and which flags
// (without one) it accepts.
struct CommandSyntax {
    std::string_view name;
    std::string_view usage; // the line shown in the usage text
    std::size_t arguments = 0;
    std::vector<std::string_view> options;
    std::vector<std::string_view> flags;
    // Options that take only these values (checked before any work).
    std::vector<std::pair<std::string_view, std::vector<std::string_view>>> choices;
};

} // namespace stationlinkcli
