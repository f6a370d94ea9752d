#include "fielddata/DatFileReader.h"

#include "fielddata/ExactCoordinates.h"

DatFileReader::DatFileReader(PointSink& sink) : FieldLineReader(sink) {}

bool DatFileReader::ReadLine(std::string_view line, std::size_t number, std::string& reason) {
    if (!fields_.Read(WithoutCr(line), reason)) {
        return false;
    }
    if (!fields_.IsPoint()) {
        Sink().OnSkipped({SkippedBlock::Kind::NoCoordinates, number});
        return true;
    }
    point_.name = fields_.Name();
    point_.code = fields_.Code();
    ExactCoordinates{*fields_.East(), *fields_.North(), fields_.Height()}.Fill(point_);
    point_.line = number;
    Sink().OnPoint(point_);
    return true;
}
