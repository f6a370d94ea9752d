#include "fielddata/GsiJobWriter.h"

#include <algorithm>

namespace {

constexpr int kMinPlaces = 3;
constexpr int kMaxPlaces = 5;
constexpr int kBlockNumbers = 10000;

// The units digit of a length with the given places, in millimetres.
char UnitsOf(int places) {
    switch (places) {
    case 4:
        return '6';
    case 5:
        return '8';
    default:
        return '0';
    }
}

} // namespace

GsiJobWriter::GsiJobWriter(GsiWidth width) : width_(width) {}

bool GsiJobWriter::AppendPoint(const SurveyPoint& point, std::string& out) {
    const int firstBlock = block_;
    std::string blocks;
    const bool written =
        (point.code == code_ ||
         AppendBlock({GsiWord::WriteText(NextHead("41"), point.code, width_)}, blocks)) &&
        AppendPointBlock(point, blocks);
    if (!written) {
        block_ = firstBlock;
        return false;
    }
    code_ = point.code;
    out += blocks;
    return true;
}

bool GsiJobWriter::AppendBlock(const Words& words, std::string& out) const {
    std::string block = width_ == GsiWidth::Gsi16 ? std::string(1, GsiWord::kBlockMark) : "";
    for (const auto& word : words) {
        if (!word) {
            return false;
        }
        block.append(*word).append(" ");
    }
    out.append(block).append("\r\n");
    return true;
}

bool GsiJobWriter::AppendPointBlock(const SurveyPoint& point, std::string& out) {
    const int places = std::clamp(point.places, kMinPlaces, kMaxPlaces);
    Words words = {GsiWord::WriteText(NextHead("11"), point.name, width_),
                   LengthWord("81", point.east, places), LengthWord("82", point.north, places)};
    if (point.height) {
        words.push_back(LengthWord("83", *point.height, places));
    }
    return AppendBlock(words, out);
}

std::optional<std::string> GsiJobWriter::LengthWord(const char* index, double value,
                                                    int places) const {
    const auto fixed = FixedDecimal::Round(value, places);
    if (!fixed) {
        return std::nullopt;
    }
    return GsiWord::WriteLength(std::string(index) + "..0" + UnitsOf(places), *fixed, width_);
}

std::string GsiJobWriter::NextHead(const char* index) {
    block_ = block_ % (kBlockNumbers - 1) + 1;
    const std::string number = std::to_string(block_);
    return index + std::string(4 - number.size(), '0') + number;
}
