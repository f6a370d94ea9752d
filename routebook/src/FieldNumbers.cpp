#include "routebook/FieldNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>

std::vector<std::string_view> FieldNumbers::Split(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = line.find(',', begin);
        fields.push_back(
            line.substr(begin, comma == std::string_view::npos ? line.npos : comma - begin));
        if (comma == std::string_view::npos) {
            return fields;
        }
        begin = comma + 1;
    }
}

std::optional<double> FieldNumbers::Parse(std::string_view field) {
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) {
        field.remove_prefix(1);
    }
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) {
        field.remove_suffix(1);
    }
    if (!field.empty() && field.front() == '+') {
        field.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(field.data(), field.data() + field.size(), value, std::chars_format::fixed);
    if (field.empty() || error != std::errc() || end != field.data() + field.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string FieldNumbers::Format(double value, int places) {
    const double scale = std::pow(10.0, places);
    if (std::round(value * scale) == 0) {
        value = 0;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    return text;
}
