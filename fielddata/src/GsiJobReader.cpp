#include "fielddata/GsiJobReader.h"

#include "fielddata/ExactCoordinates.h"

GsiJobReader::GsiJobReader(PointSink& sink) : FieldLineReader(sink) {}

bool GsiJobReader::ReadLine(std::string_view line, std::size_t number, std::string& /*reason*/) {
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t end = GsiBlock::BlockEnd(line, at);
        ReadBlock(line.substr(at, end - at), number);
        at = end;
    }
    return true;
}

void GsiJobReader::ReadBlock(std::string_view text, std::size_t number) {
    std::string reason;
    if (!block_.Read(text, reason)) {
        Sink().OnSkipped({SkippedBlock::Kind::Unreadable, number, std::move(reason)});
        return;
    }
    TakeHeights();
    using Kind = SkippedBlock::Kind;
    switch (block_.Type()) {
    case GsiBlock::Kind::Empty:
        return;
    case GsiBlock::Kind::Code:
        code_ = block_.Code();
        Sink().OnCode(code_, number);
        return;
    case GsiBlock::Kind::Point:
        SawCoordinates();
        EmitGiven(number);
        return;
    case GsiBlock::Kind::StationSetup:
        SetUp(number);
        return;
    case GsiBlock::Kind::Observation:
        Observe(number);
        return;
    case GsiBlock::Kind::NoDistance:
        Sink().OnSkipped({Kind::NoDistance, number, {}});
        return;
    case GsiBlock::Kind::NoCoordinates:
        Sink().OnSkipped({Kind::NoCoordinates, number, {}});
        return;
    case GsiBlock::Kind::Other:
        Sink().OnSkipped({Kind::Other, number, {}});
        return;
    }
}

// Heights hold until a block gives new ones; a station height alone
// corrects the station's.
void GsiJobReader::TakeHeights() {
    const GsiBlock::Measurements& m = block_.Measured();
    if (m.instrumentHeight) {
        instrumentHeight_ = *m.instrumentHeight;
    }
    if (m.targetHeight) {
        targetHeight_ = *m.targetHeight;
    }
    if (m.stationHeight && station_ && !(m.stationEast && m.stationNorth)) {
        station_->height = m.stationHeight;
    }
}

void GsiJobReader::SetUp(std::size_t number) {
    SawCoordinates();
    const GsiBlock::Measurements& m = block_.Measured();
    station_ = PolarReduction::Station{*m.stationEast, *m.stationNorth, m.stationHeight};
    point_.east = station_->east;
    point_.north = station_->north;
    point_.height = station_->height;
    point_.places = PolarReduction::kPlaces;
    Emit(SurveyPoint::Origin::Station, number);
}

void GsiJobReader::Observe(std::size_t number) {
    const auto polar = PolarReduction::Of(block_.Measured());
    if (station_) {
        PolarReduction::Place(*station_, instrumentHeight_, targetHeight_, *polar, point_);
        Emit(SurveyPoint::Origin::Reduced, number);
    } else if (coordinates_) {
        Sink().OnSkipped({SkippedBlock::Kind::NoStation, number, {}});
    } else {
        waiting_.push_back(
            {std::string(block_.Name()), code_, *polar, instrumentHeight_, targetHeight_, number});
    }
}

// Observations waiting for a set-up have none in a file that holds
// coordinates.
void GsiJobReader::SawCoordinates() {
    coordinates_ = true;
    for (const Waiting& waiting : waiting_) {
        Sink().OnSkipped({SkippedBlock::Kind::NoStation, waiting.line, {}});
    }
    waiting_.clear();
    waiting_.shrink_to_fit();
}

void GsiJobReader::Finish() {
    const PolarReduction::Station zero{0, 0, 0.0};
    for (const Waiting& waiting : waiting_) {
        PolarReduction::Place(zero, waiting.instrumentHeight, waiting.targetHeight, waiting.polar,
                              point_);
        point_.name = waiting.name;
        point_.code = waiting.code;
        point_.line = waiting.line;
        point_.origin = SurveyPoint::Origin::ReducedFromZero;
        Sink().OnPoint(point_);
    }
    waiting_.clear();
}

void GsiJobReader::EmitGiven(std::size_t number) {
    const ExactCoordinates exact{*block_.East(), *block_.North(), block_.Height()};
    exact.Fill(point_);
    point_.name = block_.Name();
    point_.code = code_;
    point_.line = number;
    point_.origin = SurveyPoint::Origin::Given;
    Sink().OnGivenPoint(point_, exact);
}

void GsiJobReader::Emit(SurveyPoint::Origin origin, std::size_t number) {
    point_.name = block_.Name();
    point_.code = origin == SurveyPoint::Origin::Station ? std::string() : code_;
    point_.line = number;
    point_.origin = origin;
    Sink().OnPoint(point_);
}
