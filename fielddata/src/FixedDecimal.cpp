#include "fielddata/FixedDecimal.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

std::uint64_t PowerOfTen(int exponent) {
    std::uint64_t power = 1;
    for (int i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

void AppendNumber(std::string& out, std::uint64_t value, int minDigits) {
    std::array<char, 24> text{};
    auto* end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    const auto length = static_cast<int>(end - text.data());
    out.append(static_cast<std::size_t>(minDigits > length ? minDigits - length : 0), '0');
    out.append(text.data(), end);
}

} // namespace

FixedDecimal::FixedDecimal(std::uint64_t digits, int places, bool negative)
    : digits_(digits), places_(places), negative_(negative) {}

std::optional<FixedDecimal> FixedDecimal::Parse(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint64_t digits = 0;
    int count = 0;
    int places = 0;
    bool point = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9' || ++count > kMaxDigits) {
            return std::nullopt;
        }
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
        places += point ? 1 : 0;
    }
    if (count == 0) {
        return std::nullopt;
    }
    return FixedDecimal(digits, places, negative);
}

std::optional<FixedDecimal> FixedDecimal::Round(double value, int places) {
    const double scaled = std::round(std::fabs(value) * static_cast<double>(PowerOfTen(places)));
    // Beyond 2^53 a double no longer holds every integer.
    if (!(scaled < 9007199254740992.0)) {
        return std::nullopt;
    }
    return FixedDecimal(static_cast<std::uint64_t>(scaled), places, value < 0);
}

double FixedDecimal::ToDouble() const {
    const double magnitude =
        static_cast<double>(digits_) / static_cast<double>(PowerOfTen(places_));
    return Negative() ? -magnitude : magnitude;
}

// Integer arithmetic keeps every digit exact.
void FixedDecimal::AppendTo(std::string& out) const {
    const std::uint64_t scale = PowerOfTen(places_);
    if (Negative()) {
        out += '-';
    }
    AppendNumber(out, digits_ / scale, 1);
    if (places_ > 0) {
        out += '.';
        AppendNumber(out, digits_ % scale, places_);
    }
}
