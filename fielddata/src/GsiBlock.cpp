#include "fielddata/GsiBlock.h"

#include "fielddata/FieldFileError.h"

#include <algorithm>

bool GsiBlock::Read(std::string_view line, std::string& reason) {
    std::vector<Word> words = std::move(words_);
    *this = GsiBlock();
    words_ = std::move(words);
    words_.clear();
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t end = std::min(line.find(' ', at), line.size());
        std::string_view word = line.substr(at, end - at);
        // Only the first word of a GSI-16 block carries the block mark.
        const bool mark = words_.empty() && word.starts_with(GsiWord::kBlockMark);
        if (mark) {
            marked_ = true;
            word.remove_prefix(1);
        }
        if (!word.empty() || mark) {
            if (!ReadWord(word, reason)) {
                return false;
            }
            words_.push_back({at + (mark ? 1 : 0), word.size(), *GsiWord::Index(word)});
        }
        at = end + 1;
    }
    return true;
}

std::size_t GsiBlock::BlockEnd(std::string_view line, std::size_t from) {
    bool first = true;
    bool named = false;
    for (std::size_t at = from; at < line.size();) {
        const std::size_t end = std::min(line.find(' ', at), line.size());
        const std::string_view word = line.substr(at, end - at);
        if (!word.empty()) {
            const auto index = GsiWord::Index(word);
            const bool opens = index == kPointName || index == kCode;
            if (!first && (word.front() == GsiWord::kBlockMark || (opens && named))) {
                return at;
            }
            named = named || opens;
            first = false;
        }
        at = end + 1;
    }
    return line.size();
}

bool GsiBlock::ReadWord(std::string_view word, std::string& reason) {
    if (!GsiWord::IsWellFormed(word)) {
        reason = FieldFileError::Quote(word) + " is not a GSI word";
        return false;
    }
    if (words_.empty()) {
        width_ = static_cast<GsiWidth>(word.size() - GsiWord::kSignIndex - 1);
    }
    const int index = *GsiWord::Index(word);
    switch (index) {
    case kPointName:
        name_ = GsiWord::ReadText(word);
        named_ = true;
        return true;
    case kCode:
        if (words_.empty()) {
            code_ = GsiWord::ReadText(word);
        }
        return true;
    case kEast:
        return ReadLength(word, east_, reason);
    case kNorth:
        return ReadLength(word, north_, reason);
    case kHeight:
        return ReadLength(word, height_, reason);
    default:
        break;
    }
    using Value = std::optional<double> Measurements::*;
    struct Measured {
        int index;
        bool angle;
        Value value;
    };
    static constexpr Measured kMeasured[] = {
        {kHorizontalAngle, true, &Measurements::horizontalAngle},
        {kZenithAngle, true, &Measurements::zenithAngle},
        {kSlopeDistance, false, &Measurements::slopeDistance},
        {kHorizontalDistance, false, &Measurements::horizontalDistance},
        {kHeightDifference, false, &Measurements::heightDifference},
        {kStationEast, false, &Measurements::stationEast},
        {kStationNorth, false, &Measurements::stationNorth},
        {kStationHeight, false, &Measurements::stationHeight},
        {kTargetHeight, false, &Measurements::targetHeight},
        {kInstrumentHeight, false, &Measurements::instrumentHeight},
    };
    for (const Measured& measured : kMeasured) {
        if (measured.index == index) {
            std::optional<double>& value = measured_.*measured.value;
            return measured.angle ? ReadAngle(word, value, reason)
                                  : ReadLength(word, value, reason);
        }
    }
    return true; // remarks, job information, ...
}

bool GsiBlock::ReadLength(std::string_view word, std::optional<FixedDecimal>& value,
                          std::string& reason) {
    value = GsiWord::ReadLength(word);
    if (!value) {
        reason = FieldFileError::Quote(word) + " is not a length in millimetres or feet";
        return false;
    }
    return true;
}

bool GsiBlock::ReadLength(std::string_view word, std::optional<double>& value,
                          std::string& reason) {
    std::optional<FixedDecimal> exact;
    if (!ReadLength(word, exact, reason)) {
        return false;
    }
    value = exact->ToDouble();
    return true;
}

bool GsiBlock::ReadAngle(std::string_view word, std::optional<double>& value, std::string& reason) {
    value = GsiWord::ReadAngle(word);
    if (!value) {
        reason = FieldFileError::Quote(word) + " is not an angle in gon, degrees or mil";
        return false;
    }
    return true;
}

GsiBlock::Kind GsiBlock::Type() const {
    if (words_.empty()) {
        return Kind::Empty;
    }
    if (words_.front().index == kCode) {
        return Kind::Code;
    }
    if (east_ && north_) {
        return Kind::Point;
    }
    const Measurements& m = measured_;
    if (m.stationEast && m.stationNorth) {
        return Kind::StationSetup;
    }
    const bool placing =
        m.horizontalAngle && (m.horizontalDistance || (m.slopeDistance && m.zenithAngle));
    if (placing) {
        return Kind::Observation;
    }
    if (m.horizontalAngle || m.zenithAngle || m.slopeDistance || m.horizontalDistance) {
        return Kind::NoDistance;
    }
    return named_ ? Kind::NoCoordinates : Kind::Other;
}

std::optional<std::size_t> GsiBlock::Find(int index) const {
    for (std::size_t i = words_.size(); i-- > 0;) {
        if (words_[i].index == index) {
            return i;
        }
    }
    return std::nullopt;
}
