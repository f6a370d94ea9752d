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

bool GsiBlock::ReadWord(std::string_view word, std::string& reason) {
    if (!GsiWord::IsWellFormed(word)) {
        reason = FieldFileError::Quote(word) + " is not a GSI word";
        return false;
    }
    if (words_.empty()) {
        width_ = static_cast<GsiWidth>(word.size() - GsiWord::kSignIndex - 1);
    }
    const int index = *GsiWord::Index(word);
    std::optional<FixedDecimal> station;
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
        if (index < kStationEast || index > kStationHeight) {
            return true; // angles, distances, remarks
        }
        station_ = true;
        return ReadLength(word, station, reason);
    }
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
    return station_ ? Kind::StationSetup : named_ ? Kind::NoCoordinates : Kind::Other;
}

std::optional<std::size_t> GsiBlock::Find(int index) const {
    for (std::size_t i = words_.size(); i-- > 0;) {
        if (words_[i].index == index) {
            return i;
        }
    }
    return std::nullopt;
}
