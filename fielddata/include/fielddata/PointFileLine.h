#pragma once

#include "fielddata/FixedDecimal.h"

#include <optional>
#include <string>
#include <string_view>

// One line of a point file (".dat") as the point-file conversion writes
// it: name, easting, northing, height and code, separated by ",". Missing
// fields and empty ones are missing values; everything after the fourth
// "," belongs to the code, so a code may hold commas (a name may not).
class PointFileLine {
public:
    static constexpr char kSeparator = ',';

    // line: without its line end. False, with the reason naming the field,
    // when a coordinate field is neither empty nor a decimal number. Name()
    // and Code() are views into line.
    bool Read(std::string_view line, std::string& reason);

    std::string_view Name() const { return name_; }
    std::string_view Code() const { return code_; }
    const std::optional<FixedDecimal>& East() const { return east_; }
    const std::optional<FixedDecimal>& North() const { return north_; }
    const std::optional<FixedDecimal>& Height() const { return height_; }
    // A line with an easting and a northing is a point.
    bool IsPoint() const { return east_ && north_; }

private:
    std::string_view name_;
    std::string_view code_;
    std::optional<FixedDecimal> east_;
    std::optional<FixedDecimal> north_;
    std::optional<FixedDecimal> height_;
};
