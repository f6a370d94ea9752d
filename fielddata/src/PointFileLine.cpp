#include "fielddata/PointFileLine.h"

#include "fielddata/FieldFileError.h"

#include <algorithm>
#include <array>

namespace {

// The text up to the next "," (or the end), and the rest after it.
std::string_view NextField(std::string_view& rest) {
    const std::size_t comma = std::min(rest.find(PointFileLine::kSeparator), rest.size());
    const std::string_view field = rest.substr(0, comma);
    rest.remove_prefix(std::min(comma + 1, rest.size()));
    return field;
}

} // namespace

bool PointFileLine::Read(std::string_view line, std::string& reason) {
    *this = PointFileLine();
    std::string_view rest = line;
    name_ = NextField(rest);
    const std::array<std::optional<FixedDecimal>*, 3> values = {&east_, &north_, &height_};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string_view field = NextField(rest);
        if (field.empty()) {
            continue;
        }
        *values[i] = FixedDecimal::Parse(field);
        if (!*values[i]) {
            reason = "field " + std::to_string(i + 2) + ": " + FieldFileError::Quote(field) +
                     " is not a number";
            return false;
        }
    }
    code_ = rest;
    return true;
}
