#include "routebook/VerticalPoint.h"

#include "routebook/FieldNumbers.h"

#include <vector>

std::optional<VerticalPoint> VerticalPoint::Parse(std::string_view line, std::string& error) {
    const std::vector<std::string_view> fields = FieldNumbers::Split(line);
    if (fields[0] != "PVI") {
        error = "not a vertical intersection point";
        return std::nullopt;
    }
    if (fields.size() != 4) {
        error = "PVI takes 3 numbers";
        return std::nullopt;
    }
    double numbers[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const auto value = FieldNumbers::Parse(fields[i + 1]);
        if (!value) {
            error = "field " + std::to_string(i + 2) + " is not a number";
            return std::nullopt;
        }
        numbers[i] = *value;
    }
    return VerticalPoint{numbers[0], numbers[1], numbers[2]};
}

std::string VerticalPoint::Format() const {
    return "PVI," + FieldNumbers::Format(chainage) + "," + FieldNumbers::Format(height) + "," +
           FieldNumbers::Format(curveLength);
}
