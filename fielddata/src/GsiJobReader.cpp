#include "fielddata/GsiJobReader.h"

#include "fielddata/ExactCoordinates.h"

GsiJobReader::GsiJobReader(PointSink& sink) : FieldLineReader(sink) {}

bool GsiJobReader::ReadLine(std::string_view line, std::size_t number, std::string& reason) {
    if (!block_.Read(WithoutCr(line), reason)) {
        return false;
    }
    using Kind = SkippedBlock::Kind;
    switch (block_.Type()) {
    case GsiBlock::Kind::Empty:
        return true;
    case GsiBlock::Kind::Code:
        code_ = block_.Code();
        return true;
    case GsiBlock::Kind::Point:
        point_.name = block_.Name();
        point_.code = code_;
        ExactCoordinates{*block_.East(), *block_.North(), block_.Height()}.Fill(point_);
        point_.line = number;
        Sink().OnPoint(point_);
        return true;
    case GsiBlock::Kind::StationSetup:
        Sink().OnSkipped({Kind::StationSetup, number});
        return true;
    case GsiBlock::Kind::NoCoordinates:
        Sink().OnSkipped({Kind::NoCoordinates, number});
        return true;
    case GsiBlock::Kind::Other:
        Sink().OnSkipped({Kind::Other, number});
        return true;
    }
    return true;
}
