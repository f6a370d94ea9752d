#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The comma-separated fields of one alignment line and the numbers in them.
class FieldNumbers {
public:
    static std::vector<std::string_view> Split(std::string_view line);
    // A decimal number, blanks around it allowed; nullopt for anything else.
    static std::optional<double> Parse(std::string_view field);
    // Fixed-point with the given places; "-0.000" is written "0.000".
    static std::string Format(double value, int places = 3);
};
