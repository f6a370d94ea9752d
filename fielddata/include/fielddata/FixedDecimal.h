#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A signed decimal with a fixed number of places, kept as its digits, so a
// value read from a field file is written back digit for digit.
class FixedDecimal {
public:
    FixedDecimal(std::uint64_t digits, int places, bool negative);

    // An optional sign, digits, optionally "." and more digits: "-1234.567",
    // "12", "+0.5". At most kMaxDigits digits in all; nullopt for anything else.
    static std::optional<FixedDecimal> Parse(std::string_view text);
    // The value rounded to the given places; nullopt when it does not fit.
    static std::optional<FixedDecimal> Round(double value, int places);

    std::uint64_t Digits() const { return digits_; }
    int Places() const { return places_; }
    // Zero has no sign: "-0" reads as zero.
    bool Negative() const { return negative_ && digits_ != 0; }
    double ToDouble() const;
    // The same value with more places ("1.5" as "1.500"); nullopt when
    // places is fewer than Places() or the digits would not fit.
    std::optional<FixedDecimal> WithPlaces(int places) const;
    // The exact sum, with the places of the finer of the two; nullopt when
    // it does not fit.
    std::optional<FixedDecimal> Plus(const FixedDecimal& other) const;
    // Fixed-point text with exactly Places() decimals: "-45.678", "0.000".
    void AppendTo(std::string& out) const;

    // The same text: digits, places and sign ("1.50" is not "1.5").
    bool operator==(const FixedDecimal& other) const {
        return digits_ == other.digits_ && places_ == other.places_ &&
               Negative() == other.Negative();
    }

    static constexpr int kMaxDigits = 18;

private:
    std::uint64_t digits_;
    int places_;
    bool negative_;
};
