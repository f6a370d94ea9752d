#pragma once

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>

namespace bench {

// A GSI-16 word with its blank: the six characters of its head (index and
// information, "81..00"), the sign and sixteen digits.
inline std::string GsiWord16(const char* head, std::int64_t value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.6s%c%016" PRId64 " ", head, value < 0 ? '-' : '+',
                  value < 0 ? -value : value);
    return text;
}

} // namespace bench
