#include "fielddata/DatFileReader.h"

#include "fielddata/ExactCoordinates.h"

DatFileReader::DatFileReader(PointSink& sink) : FieldLineReader(sink) {}

bool DatFileReader::ReadLine(std::string_view line, std::size_t number, std::string& reason) {
    if (line.find_first_not_of(" \t") == std::string_view::npos) {
        return true; // blank lines between points hold nothing
    }
    if (!fields_.Read(line, reason)) {
        return false;
    }
    if (!fields_.IsPoint()) {
        Sink().OnSkipped({SkippedBlock::Kind::NoCoordinates, number, {}});
        return true;
    }
    point_.name = fields_.Name();
    point_.code = fields_.Code();
    const ExactCoordinates exact{*fields_.East(), *fields_.North(), fields_.Height()};
    exact.Fill(point_);
    point_.line = number;
    Sink().OnGivenPoint(point_, exact);
    return true;
}
