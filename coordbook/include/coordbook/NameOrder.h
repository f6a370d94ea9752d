#pragma once

#include <array>
#include <string>
#include <string_view>

// The order of point names a surveyor expects: numbers inside names by
// their value ("P2" before "P10") and before other characters, everything
// else byte by byte; of two equal numbers the one with fewer leading
// zeros first.
class NameOrder {
public:
    // The first bytes of a name's key, for sorting many names without
    // reaching for the names themselves: compared byte by byte they give
    // the order, unless both are cut short (last byte kCut), when only the
    // names can tell.
    using ShortKey = std::array<unsigned char, 16>;
    static constexpr unsigned char kCut = 0xFF;

    static bool Less(std::string_view a, std::string_view b);
    // A key whose byte order is the name order: a number becomes a mark,
    // its count of digits, its digits without leading zeros and the count
    // of those zeros.
    static std::string Key(std::string_view name);
    static ShortKey Short(std::string_view name);
};
