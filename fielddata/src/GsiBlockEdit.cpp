#include "fielddata/GsiBlockEdit.h"

#include "fielddata/FieldFileError.h"
#include "fielddata/GsiBlock.h"

#include <algorithm>
#include <charconv>

std::string GsiBlockEdit::Applied(std::string text, std::vector<Splice> splices) {
    std::sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) {
        return a.at > b.at || (a.at == b.at && a.size > b.size);
    });
    for (const Splice& splice : splices) {
        text.replace(splice.at, splice.size, splice.text);
    }
    return text;
}

std::optional<std::string> GsiBlockEdit::InWidth(std::string_view text, GsiWidth width,
                                                 std::string& reason) {
    GsiBlock block;
    if (!block.Read(text, reason)) {
        return std::nullopt;
    }
    const auto size = static_cast<std::size_t>(width);
    std::vector<Splice> splices;
    for (const GsiBlock::Word& word : block.Words()) {
        const std::size_t dataAt = word.offset + GsiWord::kSignIndex + 1;
        const std::size_t dataSize = word.size - GsiWord::kSignIndex - 1;
        if (dataSize < size) {
            splices.push_back({dataAt, 0, std::string(size - dataSize, '0')});
            continue;
        }
        const std::string_view cut = text.substr(dataAt, dataSize - size);
        if (cut.find_first_not_of('0') != std::string_view::npos) {
            reason = FieldFileError::Quote(text.substr(word.offset, word.size)) +
                     " holds more than GSI-" + std::to_string(size) + " can";
            return std::nullopt;
        }
        splices.push_back({dataAt, cut.size(), ""});
    }
    const bool marked = width == GsiWidth::Gsi16;
    if (!block.Words().empty() && block.Marked() != marked) {
        const std::size_t first = block.Words().front().offset;
        splices.push_back(marked ? Splice{first, 0, "*"} : Splice{first - 1, 1, ""});
    }
    return Applied(std::string(text), std::move(splices));
}

int GsiBlockEdit::BlockNumber(std::string_view text) {
    GsiBlock block;
    std::string reason;
    if (!block.Read(text, reason) || block.Words().empty()) {
        return 0;
    }
    const std::string_view number =
        text.substr(block.Words().front().offset + kNumberAt, kNumberSize);
    int value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    return result.ec == std::errc() && result.ptr == number.data() + number.size() ? value : 0;
}

std::string GsiBlockEdit::NumberedHead(std::string_view index, int number) {
    const std::string digits = std::to_string(number % 10000);
    return std::string(index) + std::string(kNumberSize - digits.size(), '0') + digits;
}

std::optional<std::string> GsiBlockEdit::JobHeader(std::string_view name, std::string_view date,
                                                   GsiWidth width) {
    const std::string mark = width == GsiWidth::Gsi16 ? "*" : "";
    const auto nameWord = GsiWord::WriteText("130000", name, width);
    const auto dateWord = GsiWord::WriteText("19....", date, width);
    if (!nameWord || !dateWord) {
        return std::nullopt;
    }
    return mark + *nameWord + " \r\n" + mark + *dateWord + " \r\n";
}
