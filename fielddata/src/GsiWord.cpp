#include "fielddata/GsiWord.h"

#include <algorithm>
#include <cstdint>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsDataWidth(std::size_t size) {
    return size == static_cast<std::size_t>(GsiWidth::Gsi8) ||
           size == static_cast<std::size_t>(GsiWidth::Gsi16);
}

std::optional<std::string> Compose(std::string_view head, char sign, std::string_view data,
                                   GsiWidth width) {
    const auto size = static_cast<std::size_t>(width);
    if (head.size() != GsiWord::kHeadSize || data.size() > size) {
        return std::nullopt;
    }
    std::string word(head);
    word += sign;
    word.append(size - data.size(), '0');
    word.append(data);
    return word;
}

// The units digits of lengths by kind, coarsest first.
constexpr std::string_view kMetricUnits = "068";
constexpr std::string_view kFeetUnits = "17";

} // namespace

std::optional<int> GsiWord::Index(std::string_view word) {
    if (!word.empty() && word.front() == kBlockMark) {
        word.remove_prefix(1);
    }
    if (word.size() < 2 || !IsDigit(word[0]) || !IsDigit(word[1])) {
        return std::nullopt;
    }
    return (word[0] - '0') * 10 + (word[1] - '0');
}

bool GsiWord::IsWellFormed(std::string_view word) {
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    return word.size() > kSignIndex && Index(word) && word[0] != kBlockMark &&
           (word[kSignIndex] == '+' || word[kSignIndex] == '-') &&
           IsDataWidth(word.size() - kSignIndex - 1) &&
           std::none_of(word.begin(), word.end(), control);
}

int GsiWord::PlacesOfUnits(char units) {
    switch (units) {
    case '0': // millimetre
    case '1': // 1/1000 foot
        return 3;
    case '6': // 1/10 millimetre
    case '7': // 1/10000 foot
        return 4;
    case '8': // 1/100 millimetre
        return 5;
    default:
        return 0;
    }
}

std::optional<FixedDecimal> GsiWord::ReadLength(std::string_view word) {
    if (word.size() <= kSignIndex) {
        return std::nullopt;
    }
    const int places = PlacesOfUnits(word[kUnitsIndex]);
    const char sign = word[kSignIndex];
    const std::string_view data = word.substr(kSignIndex + 1);
    if (places == 0 || (sign != '+' && sign != '-') || !IsDataWidth(data.size()) ||
        !std::all_of(data.begin(), data.end(), IsDigit)) {
        return std::nullopt;
    }
    // Eight or sixteen digits always fit.
    return FixedDecimal(FixedDecimal::Parse(data)->Digits(), places, sign == '-');
}

bool GsiWord::AppendValue(std::string_view word, std::string& out) {
    const auto value = ReadLength(word);
    if (value) {
        value->AppendTo(out);
    }
    return value.has_value();
}

std::optional<double> GsiWord::ReadAngle(std::string_view word) {
    if (word.size() <= kSignIndex) {
        return std::nullopt;
    }
    const char sign = word[kSignIndex];
    const std::string_view data = word.substr(kSignIndex + 1);
    if ((sign != '+' && sign != '-') || !IsDataWidth(data.size()) ||
        !std::all_of(data.begin(), data.end(), IsDigit)) {
        return std::nullopt;
    }
    std::uint64_t digits = 0;
    for (const char c : data) {
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    }
    constexpr double kPi = 3.14159265358979323846;
    double radians = 0;
    switch (word[kUnitsIndex]) {
    case '2':
        radians = static_cast<double>(digits) / 1e5 * kPi / 200;
        break;
    case '3':
        radians = static_cast<double>(digits) / 1e5 * kPi / 180;
        break;
    case '4': {
        const std::uint64_t tenths = digits % 1000;
        const std::uint64_t minutes = digits / 1000 % 100;
        if (tenths >= 600 || minutes >= 60) {
            return std::nullopt;
        }
        const double degrees = static_cast<double>(digits / 100000) +
                               static_cast<double>(minutes) / 60 +
                               static_cast<double>(tenths) / 36000;
        radians = degrees * kPi / 180;
        break;
    }
    case '5':
        radians = static_cast<double>(digits) / 1e4 * kPi / 3200;
        break;
    default:
        return std::nullopt;
    }
    return sign == '-' ? -radians : radians;
}

std::string_view GsiWord::ReadText(std::string_view word) {
    const std::size_t plus = word.find('+');
    if (plus == std::string_view::npos) {
        return {};
    }
    const std::size_t first = word.find_first_not_of('0', plus + 1);
    return first == std::string_view::npos ? std::string_view{} : word.substr(first);
}

std::optional<std::string> GsiWord::WriteText(std::string_view head, std::string_view text,
                                              GsiWidth width) {
    if (head.find('+') != std::string_view::npos) {
        return std::nullopt;
    }
    return Compose(head, '+', text, width);
}

std::optional<std::string> GsiWord::WriteLength(std::string_view head, const FixedDecimal& value,
                                                GsiWidth width) {
    if (head.size() != kHeadSize || PlacesOfUnits(head[kUnitsIndex]) == 0 ||
        PlacesOfUnits(head[kUnitsIndex]) != value.Places()) {
        return std::nullopt;
    }
    return Compose(head, value.Negative() ? '-' : '+', std::to_string(value.Digits()), width);
}

std::optional<std::string> GsiWord::WriteLengthIn(std::string_view head, const FixedDecimal& value,
                                                  GsiWidth width) {
    if (head.size() != kHeadSize) {
        return std::nullopt;
    }
    const char units = head[kUnitsIndex];
    const std::string_view kind = kFeetUnits.find(units) != std::string_view::npos ? kFeetUnits
                                  : kMetricUnits.find(units) != std::string_view::npos
                                      ? kMetricUnits
                                      : std::string_view{};
    for (const char candidate : kind) {
        const auto scaled = value.WithPlaces(PlacesOfUnits(candidate));
        if (scaled) {
            std::string newHead(head);
            newHead[kUnitsIndex] = candidate;
            return WriteLength(newHead, *scaled, width);
        }
    }
    return std::nullopt;
}
