#include "fielddata/GsiJobWriter.h"

#include "fielddata/GsiBlockEdit.h"

#include <algorithm>

namespace {

constexpr int kMinPlaces = 3;
constexpr int kMaxPlaces = 5;
constexpr int kBlockNumbers = 10000;

} // namespace

GsiJobWriter::GsiJobWriter(GsiWidth width) : width_(width) {}

bool GsiJobWriter::AppendPoint(const SurveyPoint& point, std::string& out) {
    const auto at = ExactCoordinates::Of(point, std::clamp(point.places, kMinPlaces, kMaxPlaces));
    return at && AppendPoint(point.name, point.code, *at, out);
}

bool GsiJobWriter::AppendPoint(std::string_view name, std::string_view code,
                               const ExactCoordinates& at, std::string& out) {
    const int firstBlock = block_;
    std::optional<std::string> codeBlock;
    if (code != code_) {
        codeBlock = CodeBlock(code);
        if (!codeBlock) {
            block_ = firstBlock;
            return false;
        }
    }
    const auto pointBlock = PointBlock(name, at);
    if (!pointBlock) {
        block_ = firstBlock;
        return false;
    }
    if (codeBlock) {
        out.append(*codeBlock).append("\r\n");
    }
    out.append(*pointBlock).append("\r\n");
    code_ = code;
    return true;
}

std::optional<std::string> GsiJobWriter::CodeBlock(std::string_view code) {
    return Block({GsiWord::WriteText(NextHead("41"), code, width_)});
}

std::optional<std::string> GsiJobWriter::PointBlock(std::string_view name,
                                                    const ExactCoordinates& at) {
    Words words = {GsiWord::WriteText(NextHead("11"), name, width_), LengthWord("81", at.east),
                   LengthWord("82", at.north)};
    if (at.height) {
        words.push_back(LengthWord("83", *at.height));
    }
    return Block(words);
}

std::optional<std::string> GsiJobWriter::Block(const Words& words) const {
    std::string block = width_ == GsiWidth::Gsi16 ? std::string(1, GsiWord::kBlockMark) : "";
    for (const auto& word : words) {
        if (!word) {
            return std::nullopt;
        }
        block.append(*word).append(" ");
    }
    return block;
}

std::optional<std::string> GsiJobWriter::LengthWord(const char* index,
                                                    const FixedDecimal& value) const {
    return GsiWord::WriteLengthIn(std::string(index) + "..00", value, width_);
}

std::string GsiJobWriter::NextHead(const char* index) {
    block_ = block_ % (kBlockNumbers - 1) + 1;
    return GsiBlockEdit::NumberedHead(index, block_);
}
