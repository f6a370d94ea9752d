#pragma once

#include <string>
#include <string_view>

// One coordinate word of a GSI block, from its word index up to (not
// including) its closing blank: "81..00+0000000001234567". The sixth
// character is the units digit, the seventh the sign, then 8 (GSI-8) or 16
// (GSI-16) digits.
class GsiCoordinate {
public:
    // Appends the value as a fixed-point decimal with the word's own
    // precision: 3 places for millimetres (units 0) and thousandths of a foot
    // (1), 4 for tenths of a millimetre (6) and ten-thousandths of a foot (7),
    // 5 for hundredths of a millimetre (8). Feet stay feet. False, and
    // nothing appended, when the word is not a coordinate word.
    static bool AppendValue(std::string_view word, std::string& out);

    static constexpr std::size_t kSignIndex = 6;
    static constexpr std::size_t kUnitsIndex = 5;
};
