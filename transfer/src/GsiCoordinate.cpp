#include "transfer/GsiCoordinate.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace {

constexpr std::size_t kGsi8Digits = 8;
constexpr std::size_t kGsi16Digits = 16;

// Decimal places of the value's last digit, or 0 for a units digit that is
// not a length.
int DecimalPlaces(char units) {
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

bool ReadDigits(std::string_view digits, std::uint64_t& value) {
    if (digits.size() != kGsi8Digits && digits.size() != kGsi16Digits) {
        return false;
    }
    value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

void AppendNumber(std::string& out, std::uint64_t value, int minDigits) {
    std::array<char, 24> text{};
    auto* end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    const auto length = static_cast<int>(end - text.data());
    out.append(static_cast<std::size_t>(minDigits > length ? minDigits - length : 0), '0');
    out.append(text.data(), end);
}

} // namespace

bool GsiCoordinate::AppendValue(std::string_view word, std::string& out) {
    if (word.size() <= kSignIndex) {
        return false;
    }
    const int places = DecimalPlaces(word[kUnitsIndex]);
    const char sign = word[kSignIndex];
    std::uint64_t value = 0;
    if (places == 0 || (sign != '+' && sign != '-') ||
        !ReadDigits(word.substr(kSignIndex + 1), value)) {
        return false;
    }
    std::uint64_t scale = 1;
    for (int i = 0; i < places; ++i) {
        scale *= 10;
    }
    // Integer arithmetic keeps every 16-digit value exact; "-0" is zero.
    if (sign == '-' && value != 0) {
        out += '-';
    }
    AppendNumber(out, value / scale, 1);
    out += '.';
    AppendNumber(out, value % scale, places);
    return true;
}
