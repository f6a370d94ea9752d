#include "fielddata/DatFileReader.h"

#include "fielddata/FixedDecimal.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t kCoordinateFields = 3;

// The text up to the next "," (or the end), and the rest after it.
std::string_view NextField(std::string_view& rest) {
    const std::size_t comma = std::min(rest.find(','), rest.size());
    const std::string_view field = rest.substr(0, comma);
    rest.remove_prefix(std::min(comma + 1, rest.size()));
    return field;
}

} // namespace

DatFileReader::DatFileReader(PointSink& sink) : FieldLineReader(sink) {}

bool DatFileReader::ReadLine(std::string_view line, std::size_t number, std::string& reason) {
    std::string_view rest = WithoutCr(line);
    point_.name = NextField(rest);
    point_.places = 0;
    std::array<std::optional<double>, kCoordinateFields> values;
    for (auto& value : values) {
        if (!ReadField(NextField(rest), value, reason)) {
            reason = "field " + std::to_string(&value - values.data() + 2) + ": " + reason;
            return false;
        }
    }
    point_.code = rest;
    if (!values[0] || !values[1]) {
        Sink().OnSkipped({SkippedBlock::Kind::NoCoordinates, number});
        return true;
    }
    point_.east = *values[0];
    point_.north = *values[1];
    point_.height = values[2];
    point_.line = number;
    Sink().OnPoint(point_);
    return true;
}

bool DatFileReader::ReadField(std::string_view field, std::optional<double>& value,
                              std::string& reason) {
    value.reset();
    if (field.empty()) {
        return true;
    }
    const auto number = FixedDecimal::Parse(field);
    if (!number) {
        reason = Quote(field) + " is not a number";
        return false;
    }
    value = number->ToDouble();
    point_.places = std::max(point_.places, number->Places());
    return true;
}
