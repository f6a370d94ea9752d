#include "fielddata/DatFileWriter.h"

#include "fielddata/FixedDecimal.h"

#include <array>

bool DatFileWriter::AppendLine(const SurveyPoint& point, std::string& out) {
    const std::array<std::optional<double>, 3> values = {point.east, point.north, point.height};
    std::string line = point.name;
    for (const auto& value : values) {
        line += ',';
        if (!value) {
            continue;
        }
        const auto fixed = FixedDecimal::Round(*value, point.places);
        if (!fixed) {
            return false;
        }
        fixed->AppendTo(line);
    }
    out.append(line).append(",").append(point.code).append("\r\n");
    return true;
}
