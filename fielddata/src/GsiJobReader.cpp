#include "fielddata/GsiJobReader.h"

#include "fielddata/GsiWord.h"

#include <algorithm>

namespace {

enum WordIndex {
    kPointName = 11,
    kCode = 41,
    kEast = 81,
    kNorth = 82,
    kHeight = 83,
    kStationEast = 84,
    kStationHeight = 86,
};

} // namespace

GsiJobReader::GsiJobReader(PointSink& sink) : FieldLineReader(sink) {}

bool GsiJobReader::ReadLine(std::string_view line, std::size_t number, std::string& reason) {
    line = WithoutCr(line);
    point_.name.clear();
    point_.height.reset();
    point_.places = 0;
    named_ = codeBlock_ = station_ = false;
    east_.reset();
    north_.reset();
    bool first = true;
    while (!line.empty()) {
        const std::size_t blank = std::min(line.find(' '), line.size());
        std::string_view word = line.substr(0, blank);
        line.remove_prefix(std::min(blank + 1, line.size()));
        if (word.empty()) {
            continue;
        }
        // Only the first word of a GSI-16 block carries the block mark.
        if (first && word.front() == GsiWord::kBlockMark) {
            word.remove_prefix(1);
        }
        if (!ReadWord(word, first, reason)) {
            return false;
        }
        first = false;
    }
    if (!first) {
        EndBlock(number);
    }
    return true;
}

bool GsiJobReader::ReadWord(std::string_view word, bool first, std::string& reason) {
    if (!GsiWord::IsWellFormed(word)) {
        reason = Quote(word) + " is not a GSI word";
        return false;
    }
    const int index = *GsiWord::Index(word);
    std::optional<double> station;
    switch (index) {
    case kPointName:
        point_.name = GsiWord::ReadText(word);
        named_ = true;
        return true;
    case kCode:
        if (first) {
            code_ = GsiWord::ReadText(word);
            codeBlock_ = true;
        }
        return true;
    case kEast:
        return ReadCoordinate(word, east_, reason);
    case kNorth:
        return ReadCoordinate(word, north_, reason);
    case kHeight:
        return ReadCoordinate(word, point_.height, reason);
    default:
        if (index < kStationEast || index > kStationHeight) {
            return true; // angles, distances, remarks
        }
        station_ = true;
        return ReadCoordinate(word, station, reason);
    }
}

bool GsiJobReader::ReadCoordinate(std::string_view word, std::optional<double>& value,
                                  std::string& reason) {
    const auto length = GsiWord::ReadLength(word);
    if (!length) {
        reason = Quote(word) + " is not a length in millimetres or feet";
        return false;
    }
    value = length->ToDouble();
    point_.places = std::max(point_.places, length->Places());
    return true;
}

void GsiJobReader::EndBlock(std::size_t number) {
    if (codeBlock_) {
        return;
    }
    if (east_ && north_) {
        point_.code = code_;
        point_.east = *east_;
        point_.north = *north_;
        point_.line = number;
        Sink().OnPoint(point_);
        return;
    }
    using Kind = SkippedBlock::Kind;
    Sink().OnSkipped({station_ ? Kind::StationSetup
                      : named_ ? Kind::NoCoordinates
                               : Kind::Other,
                      number});
}
