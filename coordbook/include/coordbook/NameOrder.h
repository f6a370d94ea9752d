#pragma once

#include <string_view>

// The order of point names a surveyor expects: numbers inside names by
// their value ("P2" before "P10"), everything else byte by byte; of two
// equal numbers the one with fewer leading zeros first.
class NameOrder {
public:
    static bool Less(std::string_view a, std::string_view b);
};
