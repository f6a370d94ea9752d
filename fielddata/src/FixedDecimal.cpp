#include "fielddata/FixedDecimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

// The most digits a value may carry: kMaxDigits nines.
constexpr std::uint64_t kLargest = 999999999999999999ULL;

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

std::optional<FixedDecimal> FixedDecimal::WithPlaces(int places) const {
    if (places < places_ || places > kMaxDigits) {
        return std::nullopt;
    }
    const std::uint64_t scale = PowerOfTen(places - places_);
    if (digits_ > kLargest / scale) {
        return std::nullopt;
    }
    return FixedDecimal(digits_ * scale, places, negative_);
}

std::optional<FixedDecimal> FixedDecimal::Plus(const FixedDecimal& other) const {
    const int places = std::max(places_, other.places_);
    const auto a = WithPlaces(places);
    const auto b = other.WithPlaces(places);
    if (!a || !b) {
        return std::nullopt;
    }
    if (a->Negative() == b->Negative()) {
        const std::uint64_t sum = a->digits_ + b->digits_;
        return sum > kLargest ? std::nullopt
                              : std::optional(FixedDecimal(sum, places, a->Negative()));
    }
    // Opposite signs: the larger magnitude gives the sign.
    const bool aLarger = a->digits_ >= b->digits_;
    const std::uint64_t difference = aLarger ? a->digits_ - b->digits_ : b->digits_ - a->digits_;
    return FixedDecimal(difference, places, aLarger ? a->Negative() : b->Negative());
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
