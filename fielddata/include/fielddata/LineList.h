#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Lines of a field file named in a message: " (line 4)", " (lines 4, 5,
// 9)", the first few of many and how many more.
class LineList {
public:
    static std::string Text(const std::vector<std::size_t>& lines);

    static constexpr std::size_t kListed = 8;
};
