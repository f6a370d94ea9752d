#include "routebook/HalElement.h"

#include "routebook/DmsAngle.h"
#include "routebook/FieldNumbers.h"

#include <array>
#include <vector>

namespace {

struct KindFields {
    HalElement::Kind kind;
    const char* name;
    std::size_t numbers;
};

constexpr std::array<KindFields, 4> kKinds{{{HalElement::Kind::Start, "START", 4},
                                            {HalElement::Kind::Straight, "STRAIGHT", 1},
                                            {HalElement::Kind::Arc, "ARC", 2},
                                            {HalElement::Kind::Spiral, "SPIRAL", 2}}};

} // namespace

const char* HalElement::KindName(Kind kind) {
    for (const KindFields& k : kKinds) {
        if (k.kind == kind) {
            return k.name;
        }
    }
    return "";
}

std::optional<HalElement::Kind> HalElement::KindFromName(std::string_view name) {
    for (const KindFields& k : kKinds) {
        if (name == k.name) {
            return k.kind;
        }
    }
    return std::nullopt;
}

std::optional<HalElement> HalElement::Parse(std::string_view line, std::string& error) {
    const std::vector<std::string_view> fields = FieldNumbers::Split(line);
    for (const KindFields& k : kKinds) {
        if (fields[0] != k.name) {
            continue;
        }
        if (fields.size() != k.numbers + 1) {
            error = std::string(k.name) + " takes " + std::to_string(k.numbers) + " number" +
                    (k.numbers == 1 ? "" : "s");
            return std::nullopt;
        }
        std::vector<double> numbers;
        for (std::size_t i = 1; i < fields.size(); ++i) {
            const auto value = FieldNumbers::Parse(fields[i]);
            if (!value) {
                error = "field " + std::to_string(i + 1) + " is not a number";
                return std::nullopt;
            }
            numbers.push_back(*value);
        }
        HalElement element;
        element.kind = k.kind;
        if (k.kind == Kind::Start) {
            const auto bearing = DmsAngle::ToRadians(numbers[3]);
            if (!bearing) {
                error = "the bearing is not an angle in DDD.MMSS";
                return std::nullopt;
            }
            element.chainage = numbers[0];
            element.east = numbers[1];
            element.north = numbers[2];
            element.bearing = *bearing;
        } else {
            element.length = numbers[0];
            element.radius = k.numbers > 1 ? numbers[1] : 0;
        }
        return element;
    }
    error = "not an alignment element";
    return std::nullopt;
}

std::string HalElement::Format() const {
    std::string line = KindName(kind);
    if (kind == Kind::Start) {
        return line + "," + FieldNumbers::Format(chainage) + "," + FieldNumbers::Format(east) +
               "," + FieldNumbers::Format(north) + "," + DmsAngle::Format(bearing);
    }
    line += "," + FieldNumbers::Format(length);
    if (kind != Kind::Straight) {
        line += "," + FieldNumbers::Format(radius);
    }
    return line;
}
