#include "platform/ComPortName.h"

#include <algorithm>
#include <cctype>
#include <charconv>

std::optional<int> ComPortName::Number(std::string_view name) {
    if (name.size() <= 3) {
        return std::nullopt;
    }
    const bool comPrefix = std::equal(name.begin(), name.begin() + 3, "COM", [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == b;
    });
    const std::string_view digits = name.substr(3);
    const bool allDigits = std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
    if (!comPrefix || !allDigits) {
        return std::nullopt;
    }
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

std::string ComPortName::Format(int number) {
    return "COM" + std::to_string(number);
}
