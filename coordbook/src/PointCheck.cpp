#include "coordbook/PointCheck.h"

#include "fielddata/FieldFileError.h"
#include "platform/CodePage.h"

#include <algorithm>

namespace {

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

} // namespace

std::optional<std::string> PointCheck::GsiTextProblem(std::string_view text, GsiWidth width) {
    const auto size = static_cast<std::size_t>(width);
    if (text.find(' ') != std::string_view::npos) {
        return "a blank would end the GSI word";
    }
    if (std::any_of(text.begin(), text.end(), IsControl)) {
        return "control characters have no place in a GSI word";
    }
    if (text.size() > size) {
        return "GSI-" + std::to_string(size) + " words hold at most " + std::to_string(size) +
               " characters";
    }
    if (text.starts_with('0')) {
        return "GSI drops leading zeros";
    }
    return std::nullopt;
}

std::optional<std::string> PointCheck::PointFileNameProblem(std::string_view name) {
    if (name.find(',') != std::string_view::npos) {
        return "a \",\" would end the name in a point file";
    }
    return std::nullopt;
}

std::optional<std::string> PointCheck::NameProblem(std::string_view name) {
    if (name.empty()) {
        return "a point needs a name";
    }
    const auto problem = GsiTextProblem(name, GsiWidth::Gsi16);
    return problem ? problem : PointFileNameProblem(name);
}

std::optional<std::string> PointCheck::CodeProblem(std::string_view code) {
    return GsiTextProblem(code, GsiWidth::Gsi16);
}

std::optional<std::string> PointCheck::ToWire(std::u16string_view text, std::string& reason) {
    const CodePage& codePage = CodePage::Wire();
    std::string bytes = codePage.ToAnsi(text);
    if (codePage.ToWide(bytes) != text) {
        reason = "a character has no byte in the code page " +
                 (codePage.IsBuiltIn() ? std::string("Windows-1252") : codePage.Name());
        return std::nullopt;
    }
    return bytes;
}

std::optional<FixedDecimal> PointCheck::Number(std::string_view text, std::string& reason) {
    const auto number = FixedDecimal::Parse(text);
    if (!number) {
        reason = FieldFileError::Quote(text) + " is not a number";
        return std::nullopt;
    }
    if (number->Places() > kMaxPlaces) {
        reason = "coordinates take at most " + std::to_string(kMaxPlaces) + " decimals";
        return std::nullopt;
    }
    return number;
}
