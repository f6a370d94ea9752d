#include "fielddata/DatFileWriter.h"

bool DatFileWriter::AppendLine(const SurveyPoint& point, std::string& out) {
    const auto at = ExactCoordinates::Of(point, point.places);
    if (!at) {
        return false;
    }
    out.append(Line(point.name, *at, point.code)).append("\r\n");
    return true;
}

std::string DatFileWriter::Line(std::string_view name, const ExactCoordinates& at,
                                std::string_view code) {
    std::string line(name);
    line += ',';
    at.east.AppendTo(line);
    line += ',';
    at.north.AppendTo(line);
    line += ',';
    if (at.height) {
        at.height->AppendTo(line);
    }
    line += ',';
    line.append(code);
    return line;
}
